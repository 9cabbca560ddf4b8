#include "tools/assets/AmbientArt.h"

#include "tools/assets/ArcArt.h"
#include "tools/assets/SpriteKit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// The pixel values come from the drawing kit's exactly rounded arithmetic,
// so the pictures come out the same everywhere.
using namespace art;

namespace {

constexpr double Pi = 3.14159265358979323846;

double Sin(double x) { return Sine(x / (2 * Pi)); }
double Cos(double x) { return Sine(x / (2 * Pi) + 0.25); }

Colour Times(Colour a, Colour b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

// ---- A sunlit forest -------------------------------------------------------

// The light comes from the upper right through the canopy.
constexpr double ForestFloor = 0.74;

struct Trunk {
    double u, width, lean;
};

// The trunks of one depth layer: one in each cell of `spacing`, jittered.
std::vector<Trunk> TrunkRow(double aspect, double spacing, double width, uint32_t seed)
{
    std::vector<Trunk> row;
    for (int i = -1; i * spacing < aspect + spacing; ++i) {
        const double u = (i + 0.2 + 0.6 * Random(i, 0, seed)) * spacing;
        row.push_back({u, width * (0.7 + 0.6 * Random(i, 1, seed)), (Random(i, 2, seed) - 0.5) * 0.03});
    }
    return row;
}

// How far inside a trunk (u, v) lies, in trunk half widths (above 0 inside),
// and the position across it from -1 to 1.
bool InTrunk(const Trunk& t, double u, double v, double& across)
{
    // Trunks widen a little towards their foot.
    const double half = t.width * (0.8 + 0.25 * v);
    const double centre = t.u + t.lean * (ForestFloor - v);
    across = (u - centre) / half;
    return std::fabs(across) < 1;
}

} // namespace

Image DrawSunlitForest(int width, int height)
{
    const double aspect = double(width) / height;
    const double sunU = aspect * 0.86, sunV = -0.05;
    // Four layers of trunks, far (hazy) to near (dark), each standing on the
    // ground a little lower than the one behind.
    struct Row {
        std::vector<Trunk> trunks;
        double haze;
        double floor;
    };
    std::vector<Row> rows;
    const double spacings[] = {0.07, 0.12, 0.21, 0.38};
    const double widths[] = {0.006, 0.011, 0.02, 0.042};
    const double hazes[] = {0.75, 0.55, 0.30, 0.06};
    const double floors[] = {0.67, 0.70, 0.76, 0.88};
    for (int k = 0; k < 4; ++k)
        rows.push_back({TrunkRow(aspect, spacings[k], widths[k], 300u + static_cast<uint32_t>(k)), hazes[k], floors[k]});
    const Colour hazeColour{0.86, 0.88, 0.70}, sunColour{1.0, 0.92, 0.70};
    return Render(width, height, [&](int, double u, double v) {
        const double toSun = std::sqrt((u - sunU) * (u - sunU) + (v - sunV) * (v - sunV));
        const double sunlight = Glow(toSun, 0.6);
        // Behind everything: a green haze, bright and warm towards the sun,
        // dim away from it.
        Colour c = Mix(Colour{0.20, 0.30, 0.20}, hazeColour, 0.2 + 0.8 * sunlight);
        // The forest floor from the far haze to the near moss and ferns,
        // with a pool of light where the sun reaches through.
        if (v > ForestFloor - 0.08) {
            const double near = SmoothStep(ForestFloor - 0.08, 1.0, v);
            const double fern = Fbm(u * 30, v * 60, 341, 4);
            const double pool = Glow(std::fabs(u - aspect * (0.50 + 0.5 * (v - ForestFloor))), 0.10) *
                                SmoothStep(ForestFloor - 0.05, 1.0, v);
            Colour floor = Mix(Colour{0.05, 0.09, 0.03}, Colour{0.28, 0.36, 0.11}, fern * 0.85);
            floor = floor + Times(sunColour, Colour{0.40, 0.36, 0.18}) * pool;
            c = Mix(c, floor, SmoothStep(0.0, 0.25, near) * (1 - 0.5 * (1 - near) * (1 - near)));
        }
        for (const Row& row : rows) {
            for (const Trunk& t : row.trunks) {
                double across = 0;
                // The foot flares into roots and sinks into the moss and the
                // ground haze instead of ending on a straight edge.
                const double foot = SmoothStep(row.floor - 0.06, row.floor + 0.02, v);
                const double flare = 1 + 0.9 * foot * foot;
                if (v < row.floor + 0.02 && InTrunk(Trunk{t.u, t.width * flare, t.lean}, u, v, across)) {
                    // Bark: lit on the side facing the sun, ridged lengthwise.
                    const double bark = 0.7 + 0.4 * Fbm(across * 3 + t.u * 40, v * 40, 311, 3);
                    const double side = Clamp01(0.35 + 0.65 * across);
                    const Colour wood = Colour{0.20, 0.14, 0.09} * (bark * (0.35 + 0.9 * side * (0.4 + sunlight)));
                    const double haze = row.haze + (1 - row.haze) * 0.45 * foot;
                    const Colour trunk = Mix(wood, Mix(Colour{0.2, 0.3, 0.2}, hazeColour, 0.3 + 0.7 * sunlight), haze);
                    // Roots thin out into the ground: the edge of the flare
                    // and the last of the foot fade into what lies behind.
                    const double sink = SmoothStep(row.floor + 0.02, row.floor - 0.01, v + 0.02 * Fbm(u * 90, 351, 2));
                    const double edge = 1 - foot * SmoothStep(0.55, 1.0, std::fabs(across));
                    c = Mix(c, trunk, sink * edge);
                }
            }
        }
        // The canopy: leaves close over the top, broken by bright gaps
        // towards the sun.
        const double leaves = Fbm(u * 7, v * 9, 321, 5) + 0.9 * SmoothStep(0.02, 0.3, v) - 0.2 * sunlight;
        if (leaves < 0.72) {
            const double depth = SmoothStep(0.72, 0.4, leaves);
            const Colour foliage = Mix(Colour{0.24, 0.34, 0.10}, Colour{0.04, 0.08, 0.03}, depth);
            const double lit = Fbm(u * 25, v * 25, 331, 3) * sunlight;
            c = Mix(c, foliage + Colour{0.55, 0.6, 0.2} * (0.7 * lit), SmoothStep(0.72, 0.66, leaves));
        }
        // Morning haze thickens towards the sun.
        return Mix(c, sunColour, 0.3 * sunlight * sunlight);
    });
}

// ---- Stormy fields ---------------------------------------------------------

namespace {

constexpr double FieldsHorizon = 0.64;

struct Limb {
    Point a, b;
    double r0, r1;
};

// A limb from (x, y) at angle (radians, counter-clockwise as seen) and, while
// depth lasts, two shorter and thinner limbs from its end.
void GrowLimb(std::vector<Limb>& out, double x, double y, double angle, double length, double radius, int depth,
              uint32_t seed)
{
    const Point end{x + length * Cos(angle), y - length * Sin(angle)};
    out.push_back({{x, y}, end, radius, radius * 0.7});
    if (depth == 0)
        return;
    const uint32_t s = seed * 31u + static_cast<uint32_t>(depth);
    const double spread = 0.35 + 0.4 * Random(depth, 0, s);
    const double bend = 0.3 * (Random(depth, 1, s) - 0.5);
    GrowLimb(out, end.x, end.y, angle + spread + bend, length * (0.62 + 0.2 * Random(depth, 2, s)), radius * 0.7,
             depth - 1, s + 1);
    GrowLimb(out, end.x, end.y, angle - spread * 0.8 + bend, length * (0.62 + 0.2 * Random(depth, 3, s)),
             radius * 0.7, depth - 1, s + 2);
}

bool InLimbs(const std::vector<Limb>& limbs, Point p)
{
    for (const Limb& limb : limbs) {
        const double pad = limb.r0;
        if (p.x < std::min(limb.a.x, limb.b.x) - pad || p.x > std::max(limb.a.x, limb.b.x) + pad ||
            p.y < std::min(limb.a.y, limb.b.y) - pad || p.y > std::max(limb.a.y, limb.b.y) + pad)
            continue;
        const double dx = limb.b.x - limb.a.x, dy = limb.b.y - limb.a.y;
        const double t = Clamp01(((p.x - limb.a.x) * dx + (p.y - limb.a.y) * dy) / (dx * dx + dy * dy));
        if (SegmentDistance(p, limb.a, limb.b) < Mix(limb.r0, limb.r1, t))
            return true;
    }
    return false;
}

} // namespace

Image DrawStormFields(int width, int height)
{
    const double aspect = double(width) / height;
    const auto hills = [&](double u) { return FieldsHorizon - 0.05 * Fbm(u * 2.5, 401, 4) + 0.02; };
    const auto knoll = [&](double u) {
        const double d = (u - aspect * 0.78) / 0.35;
        return FieldsHorizon + 0.06 - 0.07 * Clamp01(1 - d * d);
    };
    std::vector<Limb> tree;
    const double treeU = aspect * 0.78;
    GrowLimb(tree, treeU, knoll(treeU) + 0.005, Pi / 2 + 0.05, 0.095, 0.011, 7, 413);
    const double houseU = aspect * 0.2, houseV = hills(aspect * 0.2) + 0.012;
    return Render(width, height, [&](int, double u, double v) {
        // Low, heavy clouds, lit faintly from below by the town beyond the
        // hills.
        const double clouds = Fbm(u * 2.2 + 0.3 * Fbm(u * 4, v * 4, 421, 3), v * 5.5, 431, 6);
        const double billow = SmoothStep(0.35, 0.75, clouds);
        Colour sky = Mix(Colour{0.04, 0.05, 0.08}, Colour{0.16, 0.18, 0.24}, billow);
        sky = sky + Colour{0.10, 0.08, 0.10} * (SmoothStep(0.25, FieldsHorizon, v) * (0.4 + 0.6 * billow));
        // Veils of rain hang from the clouds.
        sky = sky + Colour{0.05, 0.06, 0.08} * (SmoothStep(0.5, 0.8, Fbm(u * 14 + v * 2, v * 1.2, 441, 3)) *
                                                  SmoothStep(0.2, 0.6, v));
        const double hill = hills(u);
        const double ground = std::min(hill, knoll(u));
        if (v < ground) {
            // The farmhouse on the hills, one window lit.
            if (std::fabs(u - houseU) < 0.045 && v > houseV - 0.04 - (0.045 - std::fabs(u - houseU)) * 0.6) {
                if (std::fabs(u - houseU - 0.015) < 0.008 && std::fabs(v - houseV + 0.018) < 0.008)
                    return Colour{1.0, 0.72, 0.36};
                return Colour{0.02, 0.02, 0.03};
            }
            if (InLimbs(tree, {u, v}))
                return Colour{0.015, 0.015, 0.02};
            return sky + Colour{0.9, 0.6, 0.3} * (0.6 * Glow(std::sqrt(Power(u - houseU, 2) + Power(v - houseV + 0.015, 2)), 0.02));
        }
        if (std::fabs(u - houseU) < 0.045 && v < houseV + 0.005)
            return Colour{0.02, 0.02, 0.03};
        if (InLimbs(tree, {u, v}))
            return Colour{0.015, 0.015, 0.02};
        // Fields: far hills almost black, near furrows running towards the
        // horizon, wet and catching a little of the sky.
        const double depth = (v - ground) / (1 - ground);
        const double furrows = Fraction((u - aspect * 0.5) / (v - FieldsHorizon + 0.08) * 0.25 + 0.5);
        const double ridge = 0.5 + 0.5 * SmoothStep(0.2, 0.5, std::fabs(furrows - 0.5)) * SmoothStep(0.0, 0.4, depth);
        const double grass = Fbm(u * 40, v * 80, 451, 3);
        Colour field = Mix(Colour{0.03, 0.035, 0.04}, Colour{0.09, 0.11, 0.07}, SmoothStep(0.0, 0.6, depth));
        return field * (ridge * (0.75 + 0.5 * grass));
    });
}

// ---- A meadow at dusk ------------------------------------------------------

namespace {

constexpr double MeadowHorizon = 0.60;

} // namespace

Image DrawDuskMeadow(int width, int height)
{
    const double aspect = double(width) / height;
    const double sunU = aspect * 0.28, sunV = MeadowHorizon - 0.085;
    const Stop sky[] = {{0.0, {0.10, 0.10, 0.28}},
                        {0.30, {0.36, 0.22, 0.42}},
                        {0.48, {0.86, 0.42, 0.32}},
                        {MeadowHorizon, {1.0, 0.72, 0.38}}};
    // The far woods: rounded crowns, one per cell, some cells left open.
    const auto treeLine = [&](double u) {
        constexpr double Cell = 0.018;
        const int32_t cell = static_cast<int32_t>(std::floor(u / Cell));
        double top = MeadowHorizon - 0.005;
        for (int32_t c = cell - 2; c <= cell + 2; ++c) {
            if (Random(c, 0, 501) < 0.25 * Fbm(c * 0.2, 502, 2) + 0.12)
                continue;
            const double cu = (c + 0.5 + 0.4 * (Random(c, 2, 501) - 0.5)) * Cell, r = Cell * (0.7 + 0.8 * Random(c, 1, 501));
            const double cv = MeadowHorizon - 0.01 - 0.045 * Fbm(c * 0.12, 503, 3) * (0.4 + 0.6 * Random(c, 3, 501));
            const double dx = u - cu;
            if (std::fabs(dx) < r)
                top = std::min(top, cv - std::sqrt(r * r - dx * dx) * 1.5);
        }
        return top;
    };
    const auto meadow = [&](double u) { return MeadowHorizon + 0.02 + 0.05 * Fbm(u * 1.5, 511, 3); };
    return Render(width, height, [&](int, double u, double v) {
        const double toSun = std::sqrt((u - sunU) * (u - sunU) + (v - sunV) * (v - sunV));
        if (v < meadow(u)) {
            Colour c = Gradient(sky, v);
            // Thin clouds lit from below.
            const double streak = SmoothStep(0.55, 0.75, Fbm(u * 1.5, v * 14, 521, 5)) * SmoothStep(0.1, 0.45, v);
            c = Mix(c, Colour{1.0, 0.62, 0.45}, 0.45 * streak);
            c = c + Colour{1.0, 0.75, 0.4} * (0.45 * Glow(toSun, 0.09));
            if (toSun < 0.035)
                c = Mix(c, Colour{1.0, 0.95, 0.8}, Coverage((0.035 - toSun) * height));
            // The far woods, bluish in the haze.
            // Leafy edges: the crowns' outline frays a little.
            if (v > treeLine(u) + 0.004 * (Fbm(u * 300, v * 300, 561, 2) - 0.5))
                c = Mix(Colour{0.16, 0.11, 0.19}, Colour{0.42, 0.26, 0.30}, 0.5 * SmoothStep(MeadowHorizon - 0.03, MeadowHorizon + 0.03, v));
            return c;
        }
        // The meadow: warm light across the far slope, darker in front, with
        // drifts of wild flowers in the middle distance.
        const double depth = (v - meadow(u)) / (1 - meadow(u));
        const double texture = Fbm(u * 24, v * 70, 531, 4);
        Colour grass = Mix(Colour{0.31, 0.28, 0.13}, Colour{0.05, 0.09, 0.04}, SmoothStep(0.0, 0.7, depth));
        grass = grass * (0.72 + 0.45 * texture);
        grass = grass + Colour{0.5, 0.3, 0.1} * (0.35 * Glow(std::fabs(u - sunU), 0.4) * (1 - depth));
        const double drift = SmoothStep(0.62, 0.8, Fbm(u * 5, v * 16, 541, 4)) * SmoothStep(0.7, 0.1, depth);
        const Colour bloom = Mix(Colour{0.55, 0.30, 0.55}, Colour{0.85, 0.70, 0.30}, Fbm(u * 3, v * 3, 551, 2));
        grass = Mix(grass, bloom * (0.7 + 0.4 * texture), 0.65 * drift);
        return grass;
    });
}

const AmbientLayout& Ambient()
{
    static const AmbientLayout layout{MeadowHorizon, FieldsHorizon};
    return layout;
}

// ---- Sprites ---------------------------------------------------------------

Image DrawGodRay()
{
    constexpr int Width = 64, Height = 256;
    return RenderPaint(Width, Height, 2, Colour{1.0, 0.93, 0.76}, [](double x, double y) {
        const double across = std::fabs(x / Width * 2 - 1);
        const double along = y / Height;
        // Soft edges, a faint grain of dust drifting in the beam.
        const double profile = Power(1 - across * across, 3);
        const double ends = SmoothStep(0.0, 0.3, along) * SmoothStep(1.0, 0.55, along);
        const double dust = 0.8 + 0.2 * Fbm(x / 6, y / 40, 601, 3);
        return Paint{{1.0, 0.93, 0.76}, profile * ends * dust};
    });
}

Image DrawSparkle()
{
    constexpr int Side = 64;
    return RenderPaint(Side, Side, 3, Colour{1, 1, 1}, [](double x, double y) {
        const double dx = x / Side * 2 - 1, dy = y / Side * 2 - 1;
        const double r = std::sqrt(dx * dx + dy * dy);
        const double core = Glow(r, 0.12) * SmoothStep(1.0, 0.5, r);
        // Four thin rays, fading out along their length.
        const double rays = (Glow(std::fabs(dy), 0.025) * Power(Clamp01(1 - std::fabs(dx)), 2) +
                             Glow(std::fabs(dx), 0.025) * Power(Clamp01(1 - std::fabs(dy)), 2)) *
                            0.8;
        const double alpha = Clamp01(core + rays);
        return Paint{Mix(Colour{0.85, 0.92, 1.0}, Colour{1, 1, 1}, core), alpha};
    });
}

Image DrawFogPatch()
{
    constexpr int Width = 256, Height = 128;
    return RenderPaint(Width, Height, 1, Colour{0.86, 0.88, 0.90}, [](double x, double y) {
        const double dx = x / Width * 2 - 1, dy = y / Height * 2 - 1;
        const double r2 = dx * dx + dy * dy;
        if (r2 >= 1)
            return Paint{{0.86, 0.88, 0.90}, 0};
        const double cloud = Fbm(x / 40, y / 28, 611, 5);
        const double body = SmoothStep(0.3, 0.8, cloud + 0.35 * (1 - r2));
        return Paint{{0.86, 0.88, 0.90}, body * Power(1 - r2, 2) * 0.85};
    });
}

Image DrawLightningBolt()
{
    constexpr int Width = 256, Height = 512;
    std::vector<std::vector<Point>> bolts;
    bolts.push_back(JaggedPath({132, 0}, {104, 508}, 7, 0.16, 701));
    // Branches fork off the upper part of the main channel.
    const double forks[][3] = {{22, 0.55, 150}, {40, -0.45, 110}, {70, 0.35, 90}, {95, -0.6, 60}};
    for (int k = 0; k < 4; ++k) {
        const Point from = bolts.front()[static_cast<std::size_t>(forks[k][0])];
        const double angle = forks[k][1];
        const double length = forks[k][2];
        bolts.push_back(JaggedPath(from, {from.x + length * Sin(angle), from.y + length * Cos(angle)}, 5, 0.2,
                                   711 + static_cast<uint32_t>(k)));
    }
    return RenderPaint(Width, Height, 2, Colour{0.9, 0.9, 1}, [&](double x, double y) {
        double core = 0, halo = 0;
        for (std::size_t b = 0; b < bolts.size(); ++b) {
            const double d = PathDistance({x, y}, bolts[b]);
            const double weight = b == 0 ? 1.0 : 0.7;
            const double radius = b == 0 ? 1.6 : 0.9;
            core = std::max(core, weight * (1 - SmoothStep(radius, radius + 1.5, d)));
            halo = std::max(halo, weight * 0.45 * Glow(d, b == 0 ? 9.0 : 5.0));
        }
        // The strike fades towards the bottom, where it leaves the clouds'
        // light behind.
        // It comes out of the clouds at the top and fades towards the bottom,
        // where it leaves the clouds' light behind.
        const double alpha = (1 - (1 - core) * (1 - halo * SmoothStep(Height, Height * 0.8, y))) * SmoothStep(0.0, 24.0, y);
        return Paint{Mix(Colour{0.62, 0.58, 1.0}, Colour{1, 1, 1}, core / std::max(alpha, 1e-9)), alpha};
    });
}

Image DrawCloudFlash()
{
    constexpr int Side = 256;
    return RenderPaint(Side, Side, 1, Colour{0.8, 0.85, 1.0}, [](double x, double y) {
        const double dx = x / Side * 2 - 1, dy = y / Side * 2 - 1;
        const double r2 = dx * dx + dy * dy;
        if (r2 >= 1)
            return Paint{{0.8, 0.85, 1.0}, 0};
        // The lit underside of the clouds: brighter where they billow.
        const double billow = 0.45 + 0.55 * Fbm(x / 30, y / 22, 721, 5);
        return Paint{{0.8, 0.85, 1.0}, Glow(std::sqrt(r2), 0.35) * (1 - r2) * billow};
    });
}

Image DrawGrassTuft()
{
    constexpr int Width = 64, Height = 192;
    struct Blade {
        double foot, tipX, tipY, width;
        double tone;
    };
    std::vector<Blade> blades;
    for (int i = 0; i < 6; ++i) {
        const double foot = Width / 2.0 + (Random(i, 0, 801) - 0.5) * 16;
        const double lean = (Random(i, 1, 801) - 0.5) * 40;
        blades.push_back({foot, foot + lean, 8 + 70 * Random(i, 2, 801), 2.2 + 1.6 * Random(i, 3, 801),
                          Random(i, 4, 801)});
    }
    return RenderPaint(Width, Height, 3, Colour{0.2, 0.3, 0.1}, [&](double x, double y) {
        Paint paint{{0.2, 0.3, 0.1}, 0};
        for (const Blade& b : blades) {
            if (y < b.tipY)
                continue;
            // A blade bends more towards its tip: x runs along a parabola.
            const double t = (Height - y) / (Height - b.tipY);
            const double centre = b.foot + (b.tipX - b.foot) * t * t;
            const double half = b.width * (1 - t);
            const double inside = half - std::fabs(x - centre);
            if (inside <= -0.5)
                continue;
            const Colour base = Mix(Colour{0.08, 0.16, 0.05}, Colour{0.12, 0.22, 0.06}, b.tone);
            const Colour tip = Mix(Colour{0.42, 0.50, 0.16}, Colour{0.62, 0.55, 0.22}, b.tone);
            paint = Over(paint, Paint{Mix(base, tip, t), Clamp01(inside + 0.5)});
        }
        return paint;
    });
}

Image DrawFlower(FlowerKind kind)
{
    constexpr int Width = 96, Height = 192;
    const double bloomX = 50, bloomY = 40;
    const uint32_t seed = 900u + static_cast<uint32_t>(kind) * 10u;
    return RenderPaint(Width, Height, 3, Colour{0.2, 0.35, 0.1}, [&](double x, double y) {
        Paint paint{{0.2, 0.35, 0.1}, 0};
        // The stem, curving gently from the foot to the bloom.
        const double t = Clamp01((Height - y) / (Height - bloomY));
        const double stemX = Width / 2.0 + (bloomX - Width / 2.0) * t * t + 3 * Sin(t * Pi);
        const double stem = 1.8 - std::fabs(x - stemX);
        if (y > bloomY && stem > -0.5)
            paint = Over(paint, Paint{Mix(Colour{0.16, 0.30, 0.08}, Colour{0.28, 0.45, 0.12}, t), Clamp01(stem + 0.5)});
        // Two leaves on the stem.
        for (int side : {-1, 1}) {
            const double leafY = side < 0 ? 130.0 : 108.0;
            const double along = (x - stemX) * side;
            if (along > 0 && along < 26) {
                const double s = along / 26;
                const double mid = leafY - 10 * s;
                const double half = 5 * Sin(s * Pi);
                if (std::fabs(y - mid) < half + 0.5)
                    paint = Over(paint, Paint{Colour{0.18, 0.38, 0.10} * (0.8 + 0.3 * s), Clamp01(half + 0.5 - std::fabs(y - mid))});
            }
        }
        const double dx = x - bloomX, dy = y - bloomY;
        const double r = std::sqrt(dx * dx + dy * dy);
        // The angle around the bloom in turns, from dx and dy alone.
        double turn = std::fabs(dx) + std::fabs(dy) > 0 ? dy / (std::fabs(dx) + std::fabs(dy)) : 0;
        turn = dx < 0 ? 2 - turn : turn;
        turn = turn / 4 + 0.25;
        switch (kind) {
        case FlowerKind::Poppy: {
            // Four round, crinkled petals, the two behind first, each darker
            // towards the heart and lit along its rim; a dark heart ringed by
            // stamens.
            for (int k : {0, 2, 1, 3}) {
                const double a = k / 4.0 + 0.125;
                const double px = bloomX + 10 * Sine(a + 0.25), py = bloomY + 8 * Sine(a);
                const double pr = std::sqrt((x - px) * (x - px) + (y - py) * (y - py));
                const double radius = (k % 2 ? 14.5 : 13.5) + 1.2 * Fbm(x / 4, y / 4, seed + static_cast<uint32_t>(k), 2);
                if (pr < radius + 0.5) {
                    const double crinkle = 0.9 + 0.15 * Fbm(dx / 3, dy / 9, seed + 5, 3);
                    const double rim = SmoothStep(radius - 4, radius - 0.5, pr);
                    const double shade = (0.55 + 0.35 * SmoothStep(3, 14, r) + 0.2 * rim) * (k % 2 ? 1.0 : 0.85);
                    paint = Over(paint, Paint{Colour{0.86, 0.13, 0.07} * (shade * crinkle) + Colour{0.10, 0.05, 0.0} * rim,
                                              Clamp01(radius + 0.5 - pr)});
                }
            }
            const double stamens = 7.5 + 1.2 * std::fabs(Sine(turn * 9));
            if (r < stamens + 0.5)
                paint = Over(paint, Paint{Colour{0.10, 0.07, 0.10}, 0.85 * Clamp01(stamens + 0.5 - r)});
            if (r < 4.5)
                paint = Over(paint, Paint{Colour{0.16, 0.14, 0.10} * (0.8 + 0.3 * (1 - r / 4.5)), Clamp01(4.5 - r)});
            break;
        }
        case FlowerKind::Daisy: {
            // Many slim white petals round a yellow centre.
            const double ray = std::fabs(Fraction(turn * 18) - 0.5) * 2;
            const double petals = 20 * (0.55 + 0.45 * SmoothStep(1.0, 0.35, ray));
            if (r < petals + 0.5 && r > 4)
                paint = Over(paint, Paint{Colour{0.97, 0.96, 0.92} * (0.8 + 0.2 * r / 20), Clamp01(petals + 0.5 - r)});
            if (r < 7.5)
                paint = Over(paint, Paint{Colour{0.98, 0.75, 0.15} * (0.8 + 0.2 * Fbm(dx, dy, seed, 2)), Clamp01(7.5 - r)});
            break;
        }
        case FlowerKind::Cornflower: {
            // A ragged blue crown of fringed florets.
            const double fringe = 17 + 5 * std::fabs(Sine(turn * 7)) + 2 * Fbm(turn * 40, 0, seed, 2);
            if (r < fringe + 0.5) {
                const double shade = 0.7 + 0.3 * r / fringe;
                paint = Over(paint, Paint{Colour{0.25, 0.38, 0.92} * shade, Clamp01(fringe + 0.5 - r)});
            }
            if (r < 5.5)
                paint = Over(paint, Paint{Colour{0.22, 0.12, 0.45}, Clamp01(5.5 - r)});
            break;
        }
        }
        return paint;
    });
}

const std::vector<DemoPicture>& AmbientScenes()
{
    static const std::vector<DemoPicture> scenes{
        {L"sunlit-forest.jpg", 1024, 576, DemoFormat::Jpeg, DrawSunlitForest},
        {L"storm-fields.jpg", 1024, 576, DemoFormat::Jpeg, DrawStormFields},
        {L"dusk-meadow.jpg", 1024, 576, DemoFormat::Jpeg, DrawDuskMeadow},
        {L"workshop.jpg", 1024, 576, DemoFormat::Jpeg, DrawWorkshop},
    };
    return scenes;
}
