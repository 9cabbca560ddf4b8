// The scenes of the 3D objects' demo slides: a flower garden at golden hour
// for the butterflies, and a clock tower at dusk whose dial the clock fills.
#include "tools/assets/ModelArt.h"

#include "tools/assets/ArtKit.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace art;

namespace {

double Square(double x) { return x * x; }

// A picture painted in layers, each over what is there.
class Canvas {
public:
    Canvas(int width, int height)
        : width(width), height(height), px(1.0 / height), pixels(static_cast<std::size_t>(width) * height)
    {
    }

    template <class Shader>
    void Fill(Shader shade)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[Index(x, y)] = shade((x + 0.5) * px, (y + 0.5) * px);
    }

    // Paints over the box [u0, u1] × [v0, v1] (picture heights): shade
    // returns the colour and sets the coverage.
    template <class Shader>
    void Paint(double u0, double v0, double u1, double v1, Shader shade)
    {
        const int x0 = std::max(0, static_cast<int>(std::floor(u0 / px)));
        const int x1 = std::min(width - 1, static_cast<int>(std::ceil(u1 / px)));
        const int y0 = std::max(0, static_cast<int>(std::floor(v0 / px)));
        const int y1 = std::min(height - 1, static_cast<int>(std::ceil(v1 / px)));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                double cover = 0.0;
                Colour& c = pixels[Index(x, y)];
                const Colour paint = shade((x + 0.5) * px, (y + 0.5) * px, cover);
                if (cover > 0.0)
                    c = Mix(c, paint, Clamp01(cover));
            }
    }

    Image Take() const
    {
        Image image(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                PutPixel(image, x, y, pixels[Index(x, y)]);
        return image;
    }

    const int width;
    const int height;
    const double px;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width + x; }

    std::vector<Colour> pixels;
};

// ---- The garden ----

constexpr double GardenHorizon = 0.47;
constexpr double SunU = 1.50, SunV = 0.36;

Colour GardenSky(double u, double v)
{
    const Stop sky[] = {{0.0, {0.36, 0.50, 0.78}}, {0.25, {0.72, 0.70, 0.78}}, {0.40, {0.98, 0.78, 0.55}},
                        {0.50, {1.0, 0.86, 0.62}}};
    Colour c = Gradient(sky, v);
    const double sunD = std::sqrt(Square(u - SunU) + Square(v - SunV));
    c = c + Colour{0.50, 0.35, 0.15} * Glow(sunD, 0.10);
    c = Mix(c, Colour{1.0, 0.97, 0.85}, Coverage((0.035 - sunD) * 576.0));
    // Long soft clouds, lit pink from below.
    const double cloud = SmoothStep(0.55, 0.8, Fbm(u * 2.5, v * 9.0, 0x7A1, 4)) * SmoothStep(0.38, 0.12, v);
    return Mix(c, Colour{0.98, 0.75, 0.72}, 0.6 * cloud);
}

struct Flower {
    double u, v;   // the head's centre on the picture
    double radius; // the head's radius
    double stemU;  // where the stem meets the bed
    double stemV;
    int kind;
    Colour colour;
};

const Colour FlowerColours[] = {
    {0.96, 0.46, 0.66}, {0.86, 0.20, 0.45}, {0.97, 0.95, 0.90}, {0.99, 0.84, 0.22},
    {0.90, 0.16, 0.12}, {0.99, 0.56, 0.14}, {0.62, 0.42, 0.88}, {0.99, 0.70, 0.76},
};

// Flowers over the bed, from the back rows to the front, in perspective:
// ground rows closer together and flowers smaller toward the horizon.
std::vector<Flower> PlantFlowers(double width)
{
    std::vector<Flower> flowers;
    const double bedTop = 0.62;
    for (int row = 0; row < 60; ++row) {
        // Depth: rows evenly spaced on the ground.
        const double t = row / 59.0;
        const double v = bedTop + (1.06 - bedTop) * t * t;
        const double scale = (v - GardenHorizon) / (1.0 - GardenHorizon);
        const double spacing = 0.05 * scale;
        const int count = static_cast<int>(width / spacing) + 2;
        for (int i = 0; i < count; ++i) {
            const double jitter = Random(i, row, 0x7B1);
            if (Random(i, row, 0x7B2) < 0.18)
                continue;
            Flower f;
            f.stemU = (i + jitter - 0.5) * spacing;
            f.stemV = v + 0.012 * scale * Random(i, row, 0x7B3);
            const double stem = (0.05 + 0.07 * Random(i, row, 0x7B4)) * scale;
            f.u = f.stemU + 0.2 * stem * (Random(i, row, 0x7B5) - 0.5);
            f.v = f.stemV - stem;
            f.radius = (0.010 + 0.010 * Random(i, row, 0x7B6)) * scale;
            // Beds of one flower drift along the garden, mixed at their edges.
            const double patch = Noise(f.stemU * 3.0, v * 6.0, 0x7B7) * 1.2 + 0.3 * Random(i, row, 0x7B8);
            const int colourIndex = static_cast<int>(patch * 8.0) % 8;
            f.colour = FlowerColours[colourIndex];
            f.kind = colourIndex == 6 ? 2 : (colourIndex == 4 ? 1 : 0);
            if (f.kind == 2)
                f.radius *= 0.7;
            flowers.push_back(f);
        }
    }
    return flowers;
}

// Coverage and colour of a flower head at (u, v): petals round a centre
// (daisies and cosmos), a cup (poppies) or a spike (lavender).
double FlowerHead(const Flower& f, double u, double v, double px, Colour& out)
{
    const double du = (u - f.u) / f.radius;
    const double dv = (v - f.v) / (f.radius * 0.72);
    const double r = std::sqrt(du * du + dv * dv);
    const double edge = px / f.radius;
    // The low sun lights the right of each flower.
    const double light = 0.78 + 0.32 * Clamp01(0.5 + 0.6 * du);
    if (f.kind == 2) {
        const double spike = std::sqrt(Square(du * 1.6) + Square((v - f.v) / (f.radius * 2.8)));
        const double buds = 0.75 + 0.25 * Sine((v - f.v) / f.radius * 1.3);
        out = f.colour * (light * buds);
        return Coverage((1.0 - spike) / edge);
    }
    if (f.kind == 1) {
        out = Mix(f.colour * light, Colour{0.10, 0.05, 0.05}, Coverage((0.28 - r) / edge));
        return Coverage((1.0 - r) / edge);
    }
    double petals = 0.0;
    for (int k = 0; k < 6; ++k) {
        const double a = k / 6.0 + f.u * 7.0;
        const double pu = Sine(a + 0.25), pv = Sine(a);
        const double along = du * pu + dv * pv - 0.55;
        const double across = -du * pv + dv * pu;
        petals = std::max(petals, Coverage((1.0 - std::sqrt(Square(along / 0.48) + Square(across / 0.26))) / edge));
    }
    const double centre = Coverage((0.30 - r) / edge);
    out = Mix(f.colour * light, Colour{0.85, 0.62, 0.12} * light, centre);
    return std::max(petals, centre);
}

// ---- The clock tower ----

constexpr double TowerU = 0.95;
constexpr double TowerHalf = 0.34;
constexpr double DialU = TowerU, DialV = 0.47, DialRadius = 0.262;
constexpr double RingOuter = 0.292;
constexpr double CorniceTop = 0.155, CorniceBottom = 0.19;
constexpr double RoofApexV = -0.28;

Colour DuskSky(double u, double v)
{
    const Stop sky[] = {{0.0, {0.035, 0.05, 0.14}}, {0.35, {0.10, 0.12, 0.28}}, {0.62, {0.36, 0.26, 0.38}},
                        {0.82, {0.80, 0.46, 0.30}}};
    Colour c = Gradient(sky, v);
    const double stars = SmoothStep(0.45, 0.15, v);
    const double cell = 0.018;
    const int32_t ix = static_cast<int32_t>(std::floor(u / cell)), iy = static_cast<int32_t>(std::floor(v / cell));
    if (Random(ix, iy, 0x7C1) < 0.16) {
        const double su = (ix + 0.2 + 0.6 * Random(ix, iy, 0x7C2)) * cell;
        const double sv = (iy + 0.2 + 0.6 * Random(ix, iy, 0x7C3)) * cell;
        const double d = std::sqrt(Square(u - su) + Square(v - sv)) / 0.0025;
        c = c + Colour{0.9, 0.9, 1.0} * (stars * Clamp01(1.0 - d) * (0.3 + 0.7 * Random(ix, iy, 0x7C4)));
    }
    // A thin crescent moon with its glow.
    const double moon = std::sqrt(Square(u - 0.26) + Square(v - 0.17));
    const double shadow = std::sqrt(Square(u - 0.275) + Square(v - 0.16));
    c = c + Colour{0.16, 0.16, 0.20} * Glow(moon, 0.07);
    const double lit = Coverage((0.034 - moon) * 576.0) * Clamp01((shadow - 0.030) * 576.0);
    return Mix(c, Colour{1.0, 0.96, 0.84}, lit);
}

// The town's roofs on both sides of the tower, with lit windows.
double TownCover(double u, double v, double px, Colour& out)
{
    const double cell = 0.11;
    const int32_t i = static_cast<int32_t>(std::floor(u / cell));
    const double left = i * cell;
    const double eaves = 0.80 + 0.07 * Random(i, 0, 0x7D1);
    const double apex = eaves - 0.05 - 0.05 * Random(i, 1, 0x7D1);
    const double mid = left + cell * 0.5;
    const double roof = apex + (eaves - apex) * std::fabs(u - mid) / (cell * 0.5);
    const double cover = Coverage((v - roof) / px);
    Colour wall = Colour{0.05, 0.045, 0.06};
    // Windows in a grid on the walls, some of them lit.
    const double wu = (u - left) / cell, wv = (v - eaves) / 0.045;
    const int32_t row = static_cast<int32_t>(std::floor(wv));
    const int32_t column = static_cast<int32_t>(std::floor(wu * 3.0));
    if (v > eaves + 0.01 && Random(i * 7 + column, row, 0x7D2) < 0.45) {
        const double fu = Fraction(wu * 3.0), fv = Fraction(wv);
        const double window = Coverage((0.28 - std::fabs(fu - 0.5)) * cell / 3.0 / px) *
                              Coverage((0.3 - std::fabs(fv - 0.5)) * 0.045 / px);
        wall = Mix(wall, Colour{0.95, 0.68, 0.30} * (0.7 + 0.3 * Random(i, row, 0x7D3)), window);
    }
    const bool isRoof = v < eaves;
    out = isRoof ? Colour{0.07, 0.06, 0.09} : wall;
    return cover;
}

Colour TowerStone(double u, double v)
{
    // Ashlar: courses of blocks, every other course offset by half a block.
    const double course = 0.036, block = 0.095;
    const double row = std::floor(v / course);
    const double offset = Fraction(row * 0.5) * block;
    const double column = std::floor((u + offset) / block);
    const int32_t r = static_cast<int32_t>(row), k = static_cast<int32_t>(column);
    const double fu = (u + offset) / block - column, fv = v / course - row;
    const double mortar = std::max(SmoothStep(0.06, 0.0, std::min(fu, 1 - fu) * block / course),
                                   SmoothStep(0.08, 0.0, std::min(fv, 1 - fv)));
    const double grain = Fbm(u * 60.0, v * 60.0, 0x7E1, 3);
    Colour stone = Mix(Colour{0.36, 0.34, 0.38}, Colour{0.46, 0.42, 0.40}, Random(k, r, 0x7E2));
    stone = stone * (0.85 + 0.3 * grain);
    return Mix(stone, Colour{0.16, 0.15, 0.17}, 0.8 * mortar);
}

} // namespace

Image DrawButterflyGarden(int width, int height)
{
    Canvas canvas(width, height);
    const double px = canvas.px;
    const double sceneWidth = static_cast<double>(width) / height;

    canvas.Fill([&](double u, double v) {
        Colour c = GardenSky(u, v);
        // Hazy woods far off, lit from the sun's side.
        const double woods = GardenHorizon - 0.03 - 0.07 * Fbm(u * 3.0, 0x7F1, 4) - 0.025 * Fbm(u * 22.0, 0x7F2, 3);
        const Colour haze = Mix(Colour{0.52, 0.52, 0.66}, Colour{0.92, 0.70, 0.55}, Glow(u - SunU, 0.45));
        c = Mix(c, haze, Coverage((v - woods) / px));
        // Nearer trees and the hedge behind the lawn.
        const double trees = 0.50 - 0.10 * Square(Fbm(u * 4.0 + 3.0, 0x7F3, 4)) - 0.02 * Fbm(u * 40.0, 0x7F4, 2);
        const double leaf = Fbm(u * 50.0, v * 50.0, 0x7F5, 3);
        const Colour green = Mix(Colour{0.10, 0.17, 0.09}, Colour{0.30, 0.36, 0.16}, leaf);
        c = Mix(c, green * (0.8 + 0.6 * Glow(u - SunU, 0.6)), Coverage((v - trees) / px));
        // The lawn, brightening toward the front.
        const double lawnTop = 0.555;
        if (v > lawnTop - px) {
            const double grass = Fbm(u * 90.0, v * 200.0, 0x7F6, 2);
            Colour lawn = Mix(Colour{0.30, 0.42, 0.14}, Colour{0.46, 0.56, 0.20}, SmoothStep(lawnTop, 1.0, v));
            lawn = lawn * (0.85 + 0.3 * grass);
            c = Mix(c, lawn, Coverage((v - lawnTop) / px));
        }
        // The flower bed's foliage.
        const double bedTop = 0.615 + 0.01 * Fbm(u * 30.0, 0x7F7, 2);
        if (v > bedTop - px) {
            const double foliage = Fbm(u * 70.0, v * 90.0, 0x7F8, 3);
            const Colour bed = Mix(Colour{0.06, 0.13, 0.05}, Colour{0.22, 0.36, 0.12}, foliage);
            c = Mix(c, bed, Coverage((v - bedTop) / px));
        }
        return c;
    });

    for (const Flower& f : PlantFlowers(sceneWidth)) {
        const double stemHalf = std::max(0.0009, f.radius * 0.08);
        canvas.Paint(std::min(f.u, f.stemU) - stemHalf - px, f.v, std::max(f.u, f.stemU) + stemHalf + px, f.stemV,
                     [&](double u, double v, double& cover) {
                         const double t = Clamp01((v - f.v) / (f.stemV - f.v));
                         const double centre = f.u + (f.stemU - f.u) * t;
                         cover = Coverage((stemHalf - std::fabs(u - centre)) / px);
                         return Colour{0.16, 0.30, 0.10};
                     });
        const double reach = f.radius * (f.kind == 2 ? 2.9 : 1.1);
        canvas.Paint(f.u - reach, f.v - reach, f.u + reach, f.v + reach, [&](double u, double v, double& cover) {
            Colour c;
            cover = FlowerHead(f, u, v, px, c);
            return c;
        });
    }
    return canvas.Take();
}

TowerDial ClockTowerDial() { return {DialU, DialV, DialRadius}; }

Image DrawClockTower(int width, int height)
{
    Canvas canvas(width, height);
    const double px = canvas.px;
    canvas.Fill([&](double u, double v) {
        Colour c = DuskSky(u, v);
        Colour town;
        const double townCover = TownCover(u, v, px, town);
        c = Mix(c, town, townCover);

        const double side = std::fabs(u - TowerU);
        // The roof: slate courses rising to an apex above the picture.
        const double roofHalf = (TowerHalf + 0.04) * Clamp01((v - RoofApexV) / (CorniceTop - RoofApexV));
        if (v < CorniceTop + px) {
            const double courses = 0.75 + 0.25 * SmoothStep(0.0, 0.3, Fraction(v / 0.02));
            Colour slate = Colour{0.10, 0.11, 0.15} * courses;
            slate = slate + Colour{0.10, 0.10, 0.14} * SmoothStep(0.0, roofHalf, u - TowerU + roofHalf) * 0.3;
            c = Mix(c, slate, Coverage((roofHalf - side) / px) * Coverage((CorniceTop - v) / px + 1.0));
        }
        if (side < TowerHalf + 0.03 + px && v > CorniceTop - px) {
            Colour stone = TowerStone(u, v);
            // The cornice juts out a little and carries a row of dentils.
            const bool cornice = v < CorniceBottom;
            double half = TowerHalf;
            if (cornice) {
                half = TowerHalf + 0.03;
                const double dentil = SmoothStep(0.5, 0.6, Fraction(u / 0.025)) * SmoothStep(0.175, 0.18, v);
                stone = Mix(Colour{0.50, 0.47, 0.46}, Colour{0.22, 0.20, 0.22}, dentil);
            }
            // Dusk light from the left, the dial's warm glow on the stone.
            const double dialD = std::sqrt(Square(u - DialU) + Square(v - DialV));
            Colour lit = stone * (0.55 + 0.25 * SmoothStep(TowerHalf, -TowerHalf, u - TowerU));
            lit = lit + Colour{0.55, 0.36, 0.14} * (0.9 * Glow(dialD - DialRadius, 0.06));
            lit = lit * (1.0 - 0.35 * SmoothStep(TowerHalf - 0.05, TowerHalf, side));
            // A tall lit window below the dial.
            const double windowU = std::fabs(u - TowerU) / 0.045;
            const double arch = v - 0.83 + 0.045 * std::sqrt(Clamp01(1.0 - windowU * windowU));
            if (windowU < 1.2 && v > 0.76) {
                const double opening = Coverage((1.0 - windowU) * 0.045 / px) * Coverage(arch / px);
                const double bars = Coverage((0.003 - std::fabs(u - TowerU)) / px);
                lit = Mix(lit, Mix(Colour{0.95, 0.66, 0.28}, Colour{0.2, 0.12, 0.06}, bars), opening);
            }
            // The carved ring the dial sits in, its stones set radially.
            if (dialD < RingOuter + px) {
                Colour ring = Colour{0.52, 0.49, 0.47} * (0.9 + 0.2 * Fbm(u * 80.0, v * 80.0, 0x7E3, 2));
                ring = ring + Colour{0.45, 0.30, 0.12} * 0.6;
                double joint = 1.0;
                for (int k = 0; k < 16; ++k) {
                    const double a = k / 16.0;
                    const double ju = Sine(a), jv = -Sine(a + 0.25);
                    const double along = (u - DialU) * ju + (v - DialV) * jv;
                    if (along > 0.0)
                        joint = std::min(joint, std::fabs(-(u - DialU) * jv + (v - DialV) * ju));
                }
                ring = Mix(ring, Colour{0.20, 0.16, 0.13}, Coverage((0.0018 - joint) / px));
                lit = Mix(lit, ring, Coverage((RingOuter - dialD) / px));
                lit = Mix(lit, Colour{0.10, 0.07, 0.05}, Coverage((DialRadius + 0.004 - dialD) / px));
            }
            c = Mix(c, lit, Coverage((half - side) / px));
        }
        return c;
    });
    return canvas.Take();
}
