#include "tools/assets/ModelMeshes.h"

#include "tools/assets/ArtKit.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

struct Vec {
    double x, y, z;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k, a.z * k}; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec Normalised(Vec a)
{
    const double length = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return length > 0.0 ? a * (1.0 / length) : a;
}

// Cosine and sine of a whole turn's fraction, the same on every runtime.
double Cos(double turns) { return art::Sine(turns + 0.25); }
double Sin(double turns) { return art::Sine(turns); }

int Add(MeshData& mesh, Vec p, double u, double v)
{
    mesh.vertices.push_back({p.x, p.y, p.z, u, v});
    return static_cast<int>(mesh.vertices.size()) - 1;
}

// A tube along a path of rings. ring(k, j) is the j-th of `around` points
// of ring k, running counter-clockwise about the path's direction of travel;
// the tube is wound to be seen from outside. Returns the index of ring 0,
// seam included (around + 1 vertices per ring).
struct Ring {
    Vec centre;
    Vec side;  // the first unit axis across the path
    Vec other; // the second: side × other points along the path
    double radius;
    double v;
};

int AddRings(MeshData& mesh, const std::vector<Ring>& rings, int around, double u0, double u1)
{
    const int first = static_cast<int>(mesh.vertices.size());
    for (const Ring& ring : rings)
        for (int j = 0; j <= around; ++j) {
            const double t = static_cast<double>(j) / around;
            const Vec p = ring.centre + ring.side * (ring.radius * Cos(t)) + ring.other * (ring.radius * Sin(t));
            Add(mesh, p, u0 + (u1 - u0) * t, ring.v);
        }
    const int stride = around + 1;
    for (std::size_t k = 0; k + 1 < rings.size(); ++k)
        for (int j = 0; j < around; ++j) {
            const int a = first + static_cast<int>(k) * stride + j;
            const int b = a + 1;
            const int d = a + stride;
            const int c = d + 1;
            // a → b runs around the ring, a → d along the path: (a, d, c) and
            // (a, c, b) turn their cross products inward.
            mesh.triangles.push_back({a, d, c});
            mesh.triangles.push_back({a, c, b});
        }
    return first;
}

// A pole closing the ring that starts at index `ring`: at the path's end
// (atEnd) or its start.
void ClosePole(MeshData& mesh, int ring, int around, Vec pole, double u, double v, bool atEnd)
{
    const int p = Add(mesh, pole, u, v);
    for (int j = 0; j < around; ++j) {
        const int a = ring + j;
        if (atEnd)
            mesh.triangles.push_back({p, a + 1, a});
        else
            mesh.triangles.push_back({p, a, a + 1});
    }
}

// An ellipsoid of revolution about z: its radius at z (0 outside it).
double Ellipsoid(double z, double centre, double halfLength, double radius)
{
    const double t = (z - centre) / halfLength;
    return t * t < 1.0 ? radius * std::sqrt(1.0 - t * t) : 0.0;
}

constexpr double TailZ = -48.0;
constexpr double HeadZ = 40.0;

double BodyRadius(double z)
{
    const double head = Ellipsoid(z, 33.5, 6.5, 6.2);
    const double thorax = Ellipsoid(z, 18.0, 11.5, 8.0);
    const double abdomen = Ellipsoid(z, -15.5, 32.5, 6.0);
    return std::max({head, thorax, abdomen});
}

// One antenna from inside the head, forward, outward (side = ±1) and up
// toward -y, ending in a club.
void AddAntenna(MeshData& mesh, double side)
{
    constexpr int Around = 6;
    constexpr int Steps = 12;
    const Vec base{1.8 * side, -3.5, 35.0};
    const Vec bend{5.5 * side, -13.0, 50.0};
    const Vec tip{13.0 * side, -19.0, 66.0};
    const auto at = [&](double t) {
        const double s = 1.0 - t;
        return base * (s * s) + bend * (2.0 * s * t) + tip * (t * t);
    };
    std::vector<Ring> rings;
    for (int k = 0; k <= Steps; ++k) {
        const double t = static_cast<double>(k) / Steps;
        const Vec along = Normalised(at(std::min(1.0, t + 0.01)) - at(std::max(0.0, t - 0.01)));
        // Any axis across the path; the second completes a frame in which
        // side × other points along it.
        const Vec across = Normalised(Cross(along, Vec{1.0, 0.0, 0.0}));
        const Vec other = Cross(along, across);
        const double club = art::SmoothStep(0.72, 0.95, t);
        const double radius = 0.9 + 1.5 * club - 1.2 * art::SmoothStep(0.96, 1.0, t);
        rings.push_back({at(t), across, other, radius, 0.02});
    }
    const int first = AddRings(mesh, rings, Around, 0.875, 0.875);
    ClosePole(mesh, first + Steps * (Around + 1), Around, at(1.0) + Normalised(at(1.0) - at(0.98)) * 0.8, 0.875, 0.02,
              true);
}

// A grid over [x0, x1] × [z0, z1] lifted by height(x, z), u along x and v
// from z1 (0) to z0 (1), wound like the plate so that its -y side is the
// front.
MeshData Sheet(double x0, double x1, double z0, double z1, int columns, int rows,
               const std::function<double(double, double)>& height)
{
    MeshData mesh;
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= columns; ++c) {
            const double u = static_cast<double>(c) / columns;
            const double v = static_cast<double>(r) / rows;
            const double x = x0 + (x1 - x0) * u;
            const double z = z1 - (z1 - z0) * v;
            Add(mesh, {x, height(x, z), z}, u, v);
        }
    const int stride = columns + 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int a = r * stride + c;
            const int b = a + 1;
            const int d = a + stride;
            const int e = d + 1;
            mesh.triangles.push_back({a, b, d});
            mesh.triangles.push_back({b, e, d});
        }
    return mesh;
}

} // namespace

MeshData ButterflyBodyMesh()
{
    constexpr int Around = 16;
    constexpr int Rings = 44;
    MeshData mesh;
    std::vector<Ring> rings;
    // Rings closer together toward both ends, where the profile turns fast.
    for (int k = 1; k < Rings; ++k) {
        const double t = (1.0 - Cos(0.5 * k / Rings)) * 0.5;
        const double z = TailZ + (HeadZ - TailZ) * t;
        rings.push_back({{0.0, 0.0, z}, {1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, BodyRadius(z), (HeadZ - z) / (HeadZ - TailZ)});
    }
    const int first = AddRings(mesh, rings, Around, 0.0, 1.0);
    ClosePole(mesh, first, Around, {0.0, 0.0, TailZ}, 0.5, 1.0, false);
    ClosePole(mesh, first + (Rings - 2) * (Around + 1), Around, {0.0, 0.0, HeadZ}, 0.5, 0.0, true);
    AddAntenna(mesh, 1.0);
    AddAntenna(mesh, -1.0);
    return mesh;
}

MeshData ButterflyWingMesh()
{
    return Sheet(0.0, 60.0, -40.0, 40.0, 1, 1, [](double, double) { return 0.0; });
}

MeshData ClockPlateMesh()
{
    return Sheet(-50.0, 50.0, -50.0, 50.0, 1, 1, [](double, double) { return 0.0; });
}

MeshData LeafMesh()
{
    return Sheet(-50.0, 50.0, -24.0, 24.0, 8, 4, [](double x, double z) {
        // Folded up along the midrib and arched from stem to tip.
        const double t = x / 50.0;
        return -0.32 * std::fabs(z) + 9.0 * (1.0 - t * t);
    });
}

MeshData PetalMesh()
{
    return Sheet(-30.0, 30.0, -22.0, 22.0, 6, 6, [](double x, double z) {
        // A shallow cup, deepest a little toward the base.
        const double dx = (x + 6.0) / 30.0;
        const double dz = z / 22.0;
        return 7.0 * (dx * dx + dz * dz);
    });
}

const std::vector<ProgramMesh>& ProgramMeshes()
{
    static const std::vector<ProgramMesh> meshes = {
        {68, "butterfly-body.x", ButterflyBodyMesh},
        {69, "butterfly-wing.x", ButterflyWingMesh},
        {70, "clock-plate.x", ClockPlateMesh},
    };
    return meshes;
}

Bytes EncodeProgramMesh(const ProgramMesh& mesh)
{
    std::string name = mesh.fileName;
    name = name.substr(0, name.find('.'));
    std::replace(name.begin(), name.end(), '-', '_');
    return EncodeXFile(mesh.make(), name);
}
