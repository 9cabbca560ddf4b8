#include "tools/assets/WaterArt.h"

#include "tools/assets/ArtKit.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace art;

Colour operator*(Colour a, Colour b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

// --- Mountains over a lake -------------------------------------------------

struct Ridge {
    double base, height, frequency;
    uint32_t seed;
    Colour shadow, lit;
    double snowLine; // peaks above this height (from the top) carry snow
};

const Stop DuskSky[] = {{0.00, {0.020, 0.030, 0.100}},
                        {0.22, {0.070, 0.075, 0.220}},
                        {0.40, {0.290, 0.170, 0.330}},
                        {0.52, {0.720, 0.360, 0.330}},
                        {0.60, {0.980, 0.620, 0.360}},
                        {0.63, {1.000, 0.820, 0.560}}};

// The scene above the waterline at (u, v), in picture heights; x in pixels
// for the ridge tables.
struct LakeScene {
    double px;
    double moonU, moonV, moonR;
    std::vector<double> ridges[3];
    std::vector<double> shore;
    Ridge ranges[3];

    Colour At(int x, double u, double v) const
    {
        Colour c = Gradient(DuskSky, v);

        const double dx = u - moonU, dy = v - moonV;
        const double d = std::sqrt(dx * dx + dy * dy);
        c = c + Colour{0.40, 0.36, 0.34} * (0.6 * Glow(d, 0.05) + 0.2 * Glow(d, 0.2));
        if (d < moonR + 2 * px) {
            const double grain = Fbm(dx * 40, dy * 40, 61, 3);
            const Colour moon = Colour{1.0, 0.95, 0.84} * (0.9 + 0.1 * grain);
            c = Mix(c, moon, Coverage((moonR - d) / px));
        }

        // Faint stars high in the darkest sky.
        const double cell = 0.012;
        const int32_t sx = static_cast<int32_t>(std::floor(u / cell)), sy = static_cast<int32_t>(std::floor(v / cell));
        if (Random(sx, sy, 71) < 0.1) {
            const double cxs = (sx + 0.2 + 0.6 * Random(sx, sy, 72)) * cell;
            const double cys = (sy + 0.2 + 0.6 * Random(sx, sy, 73)) * cell;
            const double r2 = ((u - cxs) * (u - cxs) + (v - cys) * (v - cys)) / (1.2 * px * 1.2 * px);
            if (r2 < 1)
                c = c + Colour{0.8, 0.85, 1.0} * ((1 - r2) * (0.3 + 0.7 * Random(sx, sy, 74)) * SmoothStep(0.35, 0.05, v));
        }

        for (int i = 0; i < 3; ++i) {
            const double ridge = ridges[i][static_cast<std::size_t>(x)];
            const double cover = Coverage((v - ridge) / px);
            if (cover <= 0)
                continue;
            const Ridge& r = ranges[i];
            const double below = v - ridge;
            // Rock faces lit from the left by the last of the day: the
            // slopes of a height field of gullies and ribs.
            const double gu = u * r.frequency * 9, gv = v * r.frequency * 5;
            const double e = 0.08;
            const double slope = Fbm(gu - e, gv, r.seed + 5, 5) - Fbm(gu + e, gv, r.seed + 5, 5);
            const double light = Clamp01(0.5 + slope * 6.0) * (1 - SmoothStep(0.0, 0.2, below));
            Colour rock = Mix(r.shadow, r.lit, light);
            const double snow = SmoothStep(r.snowLine + 0.015, r.snowLine - 0.02, v) *
                                SmoothStep(0.42, 0.58, Fbm(gu * 1.5, gv * 3, r.seed + 9, 4) + 0.25 * slope * 6.0);
            rock = Mix(rock, Mix(Colour{0.42, 0.42, 0.62}, Colour{1.0, 0.80, 0.74}, Clamp01(0.2 + light)), snow);
            // Haze thickens with distance.
            rock = Mix(rock, Gradient(DuskSky, ridge + 0.06), 0.35 - 0.15 * i);
            c = Mix(c, rock, cover);
        }

        const double shoreTop = shore[static_cast<std::size_t>(x)];
        c = Mix(c, Colour{0.025, 0.035, 0.05}, Coverage((v - shoreTop) / px));
        return c;
    }
};

// --- The lily pond -----------------------------------------------------------

struct Pad {
    double u, v, r;
    double notchX, notchY; // the unit direction of the cut
    bool flower;
};

struct Koi {
    double u, v, dirX, dirY, length;
    bool white;
};

// Directions of a flower's eight petals.
const double PetalDirs[8][2] = {{1, 0},      {0.7071, 0.7071},  {0, 1},  {-0.7071, 0.7071},
                                {-1, 0},     {-0.7071, -0.7071}, {0, -1}, {0.7071, -0.7071}};

Colour PondBottom(double u, double v)
{
    // Pebbles in jittered cells on sand.
    const double cell = 0.045;
    const double gx = std::floor(u / cell), gy = std::floor(v / cell);
    Colour c = Colour{0.46, 0.39, 0.26} * (0.8 + 0.4 * Fbm(u * 60, v * 60, 81, 3));
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            const int32_t ix = static_cast<int32_t>(gx) + ox, iy = static_cast<int32_t>(gy) + oy;
            if (Random(ix, iy, 82) < 0.25)
                continue;
            const double pu = (ix + 0.5 + 0.5 * (Random(ix, iy, 83) - 0.5)) * cell;
            const double pv = (iy + 0.5 + 0.5 * (Random(ix, iy, 84) - 0.5)) * cell;
            const double ru = cell * (0.32 + 0.25 * Random(ix, iy, 85));
            const double rv = ru * (0.6 + 0.4 * Random(ix, iy, 86));
            const double du = (u - pu) / ru, dv = (v - pv) / rv;
            const double d2 = du * du + dv * dv;
            if (d2 < 1) {
                const double shade = 1.0 - 0.35 * (du + dv) * 0.5 - 0.3 * d2;
                const Colour stone = Mix(Colour{0.36, 0.34, 0.32}, Colour{0.62, 0.52, 0.42}, Random(ix, iy, 87));
                c = Mix(c, stone * shade, SmoothStep(1.0, 0.85, d2));
            }
        }
    }
    return c;
}

} // namespace

Image DrawMountainLake(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const double waterline = MountainLakeWaterline;
    LakeScene scene;
    scene.px = px;
    scene.moonU = aspect * 0.3;
    scene.moonV = 0.30;
    scene.moonR = 0.03;
    scene.ranges[0] = {0.55, 0.30, 2.0, 11, {0.16, 0.12, 0.26}, {0.62, 0.40, 0.46}, 0.42};
    scene.ranges[1] = {0.60, 0.16, 2.9, 12, {0.07, 0.06, 0.13}, {0.36, 0.22, 0.28}, 0.47};
    scene.ranges[2] = {0.615, 0.06, 4.1, 13, {0.03, 0.035, 0.06}, {0.12, 0.08, 0.11}, 0.0};
    for (int i = 0; i < 3; ++i) {
        scene.ridges[i].resize(static_cast<std::size_t>(width));
        const Ridge& r = scene.ranges[i];
        for (int x = 0; x < width; ++x) {
            const double u = (x + 0.5) * px;
            const double n = Fbm(u * r.frequency + i * 5.3, 0.5 + i, r.seed, 6);
            // Stretched noise gives peaks and saddles rather than hills.
            const double peak = Clamp01((n - 0.28) * 2.4);
            scene.ridges[i][static_cast<std::size_t>(x)] = r.base - r.height * peak;
        }
    }
    // Firs along the shore: a row of narrow teeth of varied height.
    scene.shore.resize(static_cast<std::size_t>(width));
    const double firSpacing = 0.011;
    for (int x = 0; x < width; ++x) {
        const double u = (x + 0.5) * px;
        const double slot = std::floor(u / firSpacing);
        const int32_t i = static_cast<int32_t>(slot);
        const double centre = (slot + 0.5 + 0.3 * (Random(i, 0, 91) - 0.5)) * firSpacing;
        const double tall = 0.012 + 0.03 * Random(i, 0, 92) * (0.4 + 0.6 * Fbm(u * 3, 0.2, 93, 3));
        const double across = std::fabs(u - centre) / (0.5 * firSpacing);
        scene.shore[static_cast<std::size_t>(x)] = waterline - 0.006 - tall * Clamp01(1 - across);
    }

    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const double v = (y + 0.5) * px;
        for (int x = 0; x < width; ++x) {
            const double u = (x + 0.5) * px;
            Colour c;
            if (v < waterline) {
                c = scene.At(x, u, v);
            } else {
                // Still water: the scene mirrored, darker and bluer, with a
                // few calm streaks.
                const double mirrored = 2 * waterline - v;
                const double streak = Fbm(u * 3, v * 120, 95, 3);
                c = scene.At(x, u, std::max(mirrored, 0.0)) * Colour{0.55, 0.62, 0.75};
                c = c * (0.9 + 0.2 * streak);
            }
            PutPixel(image, x, y, c);
        }
    }
    return image;
}

Image DrawLilyPond(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const Pad pads[] = {
        {0.18 * aspect, 0.22, 0.085, 0.8, 0.6, true},   {0.30 * aspect, 0.15, 0.055, -0.6, 0.8, false},
        {0.12 * aspect, 0.42, 0.060, 0.0, -1.0, false}, {0.74 * aspect, 0.70, 0.095, -0.8, -0.6, true},
        {0.86 * aspect, 0.55, 0.060, 0.6, -0.8, false}, {0.62 * aspect, 0.84, 0.050, 1.0, 0.0, false},
        {0.88 * aspect, 0.86, 0.070, -0.6, 0.8, false}, {0.45 * aspect, 0.10, 0.040, 0.8, -0.6, false},
    };
    const Koi fish[] = {
        {0.42 * aspect, 0.52, 0.8, -0.6, 0.15, false},
        {0.58 * aspect, 0.36, -0.6, 0.8, 0.13, true},
        {0.28 * aspect, 0.74, 0.96, 0.28, 0.12, false},
    };

    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const double v = (y + 0.5) * px;
        for (int x = 0; x < width; ++x) {
            const double u = (x + 0.5) * px;
            Colour c = PondBottom(u, v);
            // The water over the bottom: green, deeper in the middle.
            const double depth = 0.55 + 0.25 * Fbm(u * 1.5, v * 1.5, 111, 3);
            c = Mix(c, Colour{0.04, 0.20, 0.20}, depth);

            for (const Koi& k : fish) {
                // Along the fish and across it, in fish lengths.
                const double along = ((u - k.u) * k.dirX + (v - k.v) * k.dirY) / k.length;
                const double across = (-(u - k.u) * k.dirY + (v - k.v) * k.dirX) / k.length;
                const double body = along * along / 0.25 + across * across / 0.02;
                const double tail = along < -0.45 && along > -0.75 ? std::fabs(across) - (-0.45 - along) * 0.5 : 1;
                if (body < 1 || tail < 0) {
                    const double patch = Fbm(along * 6 + k.u * 10, across * 6, 101, 3);
                    Colour skin = k.white ? Mix(Colour{0.95, 0.93, 0.88}, Colour{0.95, 0.35, 0.08}, SmoothStep(0.55, 0.6, patch))
                                          : Mix(Colour{0.98, 0.45, 0.08}, Colour{0.98, 0.92, 0.85}, SmoothStep(0.6, 0.65, patch));
                    skin = skin * (1.0 - 0.4 * std::fabs(across) / 0.14);
                    c = Mix(c, Mix(skin, Colour{0.04, 0.20, 0.20}, 0.25), body < 1 ? SmoothStep(1.0, 0.8, body) : 0.8);
                }
            }

            // The fish swim just under the surface; the sun's caustics ripple
            // over them and the bottom alike.
            const double ridge = 1 - std::fabs(2 * Fbm(u * 9, v * 9, 112, 4) - 1);
            const double caustic = ridge * ridge * ridge * ridge * ridge * ridge * ridge * ridge;
            c = c + Colour{0.25, 0.35, 0.30} * (caustic * 0.35);

            for (const Pad& p : pads) {
                // The pad's shadow on the water, down and to the right.
                const double su = u - p.u - 0.012, sv = v - p.v - 0.016;
                const double sd = std::sqrt(su * su + sv * sv);
                c = c * (1 - 0.35 * SmoothStep(p.r * 1.05, p.r * 0.9, sd));
            }
            for (const Pad& p : pads) {
                const double du = u - p.u, dv = v - p.v;
                const double d = std::sqrt(du * du + dv * dv);
                if (d > p.r + 2 * px)
                    continue;
                // The notch: a thin wedge from the centre to the rim.
                const double toward = d > 0 ? (du * p.notchX + dv * p.notchY) / d : 0;
                if (toward > 0.995 && d > 0.05 * p.r)
                    continue;
                const double rim = d / p.r;
                const double veins = 0.9 + 0.1 * Fbm(du * 300, dv * 300, 121, 2);
                Colour leaf = Mix(Colour{0.22, 0.42, 0.12}, Colour{0.14, 0.30, 0.08}, rim * rim) * veins;
                leaf = leaf + Colour{0.25, 0.28, 0.12} * SmoothStep(0.85, 1.0, rim) * 0.5;
                c = Mix(c, leaf, Coverage((p.r - d) / px));

                if (p.flower) {
                    const double fu = p.u + 0.3 * p.r * p.notchY, fv = p.v - 0.3 * p.r * p.notchX;
                    const double eu = u - fu, ev = v - fv;
                    const double petalLength = 0.032, petalWidth = 0.011;
                    for (const auto& dir : PetalDirs) {
                        const double a = (eu * dir[0] + ev * dir[1]) - petalLength * 0.6;
                        const double b = -eu * dir[1] + ev * dir[0];
                        const double e = a * a / (petalLength * petalLength * 0.36) + b * b / (petalWidth * petalWidth);
                        if (e < 1) {
                            const Colour petal = Mix(Colour{0.98, 0.62, 0.78}, Colour{1.0, 0.9, 0.95}, Clamp01(1 - e));
                            c = Mix(c, petal, SmoothStep(1.0, 0.8, e));
                        }
                    }
                    const double centre = std::sqrt(eu * eu + ev * ev);
                    c = Mix(c, Colour{1.0, 0.82, 0.2}, SmoothStep(0.011, 0.008, centre));
                }
            }
            PutPixel(image, x, y, c);
        }
    }
    return image;
}

const std::vector<DemoPicture>& WaterPictures()
{
    static const std::vector<DemoPicture> pictures = {
        {L"mountain-lake.jpg", 1280, 800, DemoFormat::Jpeg, DrawMountainLake},
        {L"lily-pond.jpg", 1024, 768, DemoFormat::Jpeg, DrawLilyPond},
    };
    return pictures;
}
