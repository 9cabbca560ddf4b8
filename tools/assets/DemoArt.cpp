#include "tools/assets/DemoArt.h"

#include "tools/assets/ArtKit.h"
#include "tools/encoders/JpegWriter.h"

#include <algorithm>
#include <cmath>

// The pixel values come only from exactly rounded arithmetic (+, -, *, /,
// sqrt), floor and comparisons: no library transcendental and no library
// generator, whose results may differ between runtimes, so the pictures come
// out the same everywhere.
using namespace art;

namespace {

constexpr int JpegQuality = 92;


// Stars on a grid of square cells, at most one per cell and kept far enough
// inside it that a pixel only ever looks at its own cell.
struct StarLayer {
    double cell;       // cell size in pixels
    double density;    // share of cells holding a star
    double minRadius;  // core radius range in pixels
    double maxRadius;
    double brightness; // brightest core
    bool halo;         // a faint glow three radii wide around the core
    uint32_t seed;
};

Colour Stars(const StarLayer& layer, double px, double py, double densityScale = 1.0)
{
    const double cx = std::floor(px / layer.cell), cy = std::floor(py / layer.cell);
    const int32_t ix = static_cast<int32_t>(cx), iy = static_cast<int32_t>(cy);
    if (Random(ix, iy, layer.seed) >= layer.density * densityScale)
        return {0, 0, 0};
    const double sx = (cx + 0.3 + 0.4 * Random(ix, iy, layer.seed + 1)) * layer.cell;
    const double sy = (cy + 0.3 + 0.4 * Random(ix, iy, layer.seed + 2)) * layer.cell;
    const double size = Random(ix, iy, layer.seed + 3);
    const double radius = Mix(layer.minRadius, layer.maxRadius, size * size);
    const double power = layer.brightness * (0.25 + 0.75 * Random(ix, iy, layer.seed + 4));
    const double dx = px - sx, dy = py - sy;
    const double d2 = (dx * dx + dy * dy) / (radius * radius);
    double light = d2 < 1 ? (1 - d2) * (1 - d2) : 0;
    if (layer.halo && d2 < 9) {
        const double h = 1 - d2 / 9;
        light += 0.18 * h * h * h;
    }
    const Colour tint = Mix(Colour{0.72, 0.82, 1.0}, Colour{1.0, 0.88, 0.72}, Random(ix, iy, layer.seed + 5));
    return tint * (light * power);
}

// --- Moonlit hills -------------------------------------------------------

struct HillLayer {
    double base, height, frequency;
    uint32_t seed;
    Colour colour;
};

} // namespace

Image DrawMoonlitHills(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const double moonU = aspect * 0.72, moonV = 0.22, moonR = 0.052;
    const Stop sky[] = {{0.0, {0.012, 0.020, 0.065}}, {0.45, {0.045, 0.075, 0.165}}, {0.8, {0.13, 0.19, 0.31}}};
    const HillLayer hills[] = {{0.60, 0.14, 1.7, 11, {0.14, 0.19, 0.30}},
                               {0.68, 0.15, 2.4, 12, {0.085, 0.12, 0.20}},
                               {0.78, 0.17, 2.9, 13, {0.045, 0.065, 0.115}},
                               {0.93, 0.20, 1.9, 14, {0.024, 0.034, 0.064}}};
    const StarLayer dust{5.0, 0.22, 0.45, 0.8, 0.35, false, 101};
    const StarLayer bright{26.0, 0.30, 0.7, 1.7, 1.0, true, 102};

    std::vector<double> ridges(4 * static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        for (int i = 0; i < 4; ++i) {
            const double u = (x + 0.5) * px;
            const HillLayer& h = hills[i];
            const double n = Fbm(u * h.frequency + i * 3.1, h.seed, 5);
            ridges[static_cast<std::size_t>(i) * width + x] = h.base - h.height * n * n * 1.6;
        }

    return Render(width, height, [&](int x, double u, double v) {
        Colour c = Gradient(sky, v);
        const double dx = u - moonU, dy = v - moonV;
        const double d = std::sqrt(dx * dx + dy * dy);
        const double glow = 0.75 * Glow(d, 0.07) + 0.25 * Glow(d, 0.30);
        c = c + Colour{0.30, 0.34, 0.44} * glow;

        // Thin high clouds, silvered near the moon.
        const double band = SmoothStep(0.05, 0.2, v) * SmoothStep(0.55, 0.35, v);
        const double cloud = SmoothStep(0.56, 0.80, Fbm(u * 2.0, v * 8.0, 21, 5)) * band * 0.7;
        c = Mix(c, Mix(Colour{0.07, 0.09, 0.15}, Colour{0.62, 0.66, 0.76}, Clamp01(0.15 + glow)), cloud);

        const double starsSeen = (1 - cloud) * Clamp01(1 - 1.6 * glow) * SmoothStep(0.72, 0.4, v);
        if (starsSeen > 0)
            c = c + (Stars(dust, x, v * height) + Stars(bright, x, v * height)) * starsSeen;

        if (d < moonR + 2 * px) {
            const double maria = SmoothStep(0.48, 0.68, Fbm(dx * 16, dy * 16, 31, 4));
            const double grain = Fbm(dx * 70, dy * 70, 32, 3);
            const double limb = 1 - 0.18 * (d / moonR) * (d / moonR);
            const Colour moon = Colour{1.0, 0.97, 0.89} * ((1 - 0.2 * maria) * (0.92 + 0.08 * grain) * limb);
            c = Mix(c, moon, Coverage((moonR - d) / px));
        }

        for (int i = 0; i < 4; ++i) {
            const double ridge = ridges[static_cast<std::size_t>(i) * width + x];
            const double cover = Coverage((v - ridge) / px);
            if (cover > 0) {
                const double below = v - ridge;
                // The moon catches the top of each ridge; lower down the
                // slopes fall into shadow.
                const double rim = Clamp01(1 - below / (4 * px)) * (0.22 - 0.04 * i);
                Colour hill = hills[i].colour * (1 - 0.45 * SmoothStep(0, 0.35, below));
                hill = hill + Colour{0.30, 0.34, 0.46} * rim;
                c = Mix(c, hill, cover);
            }
            if (i < 3) {
                // Mist settles in the valley in front of this ridge.
                const double level = hills[i].base - 0.02;
                const double mist = SmoothStep(level - 0.06, level + 0.08, v) *
                                    (0.55 + 0.45 * Fbm(u * 3.0 + i, v * 11.0, 41 + i, 3)) * (0.42 - 0.08 * i);
                c = Mix(c, Colour{0.26, 0.31, 0.43}, mist);
            }
        }
        return c;
    });
}

// --- Aurora over a lake --------------------------------------------------

namespace {

struct Curtain {
    double base, sway, frequency, strength, reach;
    uint32_t seed;
};

class AuroraScene {
public:
    explicit AuroraScene(int height) : px(1.0 / height), pixels(height) {}

    static constexpr double Horizon = 0.64;

    // The sky, the aurora and the far mountains at (u, v) above the horizon.
    Colour Above(double u, double v) const
    {
        Colour c = Gradient(sky, v);
        Colour aurora{0, 0, 0};
        for (const Curtain& k : curtains) {
            const double lower = k.base + k.sway * (Fbm(u * k.frequency, k.seed, 4) - 0.5);
            const double rise = lower - v;
            if (rise < -0.03)
                continue;
            // A sharp lower hem that fades quickly upwards, split into rays
            // that lean a little with height.
            const double hem = SmoothStep(-0.008, 0.006, rise);
            const double up = Clamp01(rise) / k.reach;
            const double fade = 1.0 / (1.0 + up * up);
            const double ray = Fbm((u + 0.12 * rise) * 48.0, k.seed + 7, 3);
            const double folds = 0.25 + 0.75 * SmoothStep(0.2, 0.7, Fbm(u * 2.2 + 4.0, k.seed + 11, 3));
            const double power = hem * fade * (0.2 + 1.6 * ray * ray) * folds * k.strength;
            const double height = Clamp01(rise / 0.3);
            Colour colour = Mix(Colour{0.12, 1.0, 0.50}, Colour{0.55, 0.28, 0.95}, SmoothStep(0.15, 0.9, height));
            colour = Mix(colour, Colour{1.0, 0.35, 0.65}, 0.6 * Clamp01(1 - (rise + 0.008) / 0.008));
            aurora = aurora + colour * power;
        }
        c = c + aurora;
        // Light scattered from the aurora brightens the sky near the horizon.
        c = c + Colour{0.01, 0.05, 0.035} * SmoothStep(0.3, Horizon, v);
        c = c + Stars(dust, u * pixels, v * pixels) + Stars(bright, u * pixels, v * pixels);

        const double peaks = Fbm(u * 2.2, 61, 5);
        const double ridge = Horizon - 0.012 - 0.13 * peaks * peaks * peaks * 2.2;
        const double cover = Coverage((v - ridge) / px);
        if (cover > 0) {
            const Colour rock = Mix(Colour{0.03, 0.07, 0.07}, Colour{0.008, 0.012, 0.022}, SmoothStep(0, 0.04, v - ridge));
            c = Mix(c, rock, cover);
        }
        return c;
    }

private:
    double px;
    double pixels;
    const Stop sky[3] = {{0.0, {0.008, 0.012, 0.040}}, {0.4, {0.018, 0.032, 0.080}}, {0.64, {0.040, 0.075, 0.120}}};
    const Curtain curtains[2] = {{0.47, 0.20, 1.1, 1.0, 0.2, 71}, {0.24, 0.16, 1.7, 0.45, 0.12, 81}};
    const StarLayer dust{5.0, 0.20, 0.45, 0.8, 0.32, false, 201};
    const StarLayer bright{24.0, 0.28, 0.7, 1.6, 0.9, true, 202};
};

} // namespace

Image DrawAuroraLake(int width, int height)
{
    const AuroraScene scene(height);
    const double px = 1.0 / height, horizon = AuroraScene::Horizon;
    return Render(width, height, [&](int, double u, double v) {
        if (v < horizon)
            return scene.Above(u, v);
        // The lake mirrors the scene, broken by ripples that grow nearer.
        const double depth = v - horizon;
        const double ripple = Fbm(u * 14.0, v * 160.0 / (0.4 + depth * 6), 91, 3) - 0.5;
        const double mirrored = std::max(0.0, horizon - depth - ripple * 0.004 * (0.2 + depth * 5));
        Colour c = scene.Above(u + ripple * 0.012 * (0.2 + depth * 4), mirrored) * (0.62 - 0.3 * SmoothStep(0, 0.36, depth));
        c = c + Colour{0.004, 0.008, 0.016};
        // A dark stony shore along the bottom.
        const double shore = 0.93 + 0.05 * Fbm(u * 3.5, 95, 4);
        const double onShore = Coverage((v - shore) / px);
        if (onShore > 0)
            c = Mix(c, Colour{0.012, 0.018, 0.022} * (1 + 0.5 * Fbm(u * 90, v * 90, 97, 2)), onShore);
        return c;
    });
}

// --- Misty forest at dusk ------------------------------------------------

namespace {

struct TreeLayer {
    double ground; // where the trees stand
    double cell;   // spacing of the trees
    double tall;   // typical tree height
    double shade;  // 0 melts into the haze, 1 a full silhouette
    double mist;   // mist in front of the layer
    double gaps;   // share of empty places
};

struct Tree {
    double centre, top, tall, tiers, phase;
    uint32_t seed;
};

// One row of conifers, one place per cell, standing on a rolling ground line.
class TreeRow {
public:
    TreeRow(const TreeLayer& row, uint32_t rowSeed, int width, int height) : layer(row), seed(rowSeed)
    {
        const double px = 1.0 / height;
        ground.resize(static_cast<std::size_t>(width));
        for (int x = 0; x < width; ++x)
            ground[static_cast<std::size_t>(x)] = GroundAt((x + 0.5) * px);
        const int32_t cells = static_cast<int32_t>(width * px / layer.cell) + 1;
        for (int32_t c = -Reach; c <= cells + Reach; ++c) {
            Tree t{};
            t.seed = seed + static_cast<uint32_t>(c) * 7919u;
            if (Random(c, 0, seed) >= layer.gaps) {
                t.centre = (c + 0.5 + 0.7 * (Random(c, 1, seed) - 0.5)) * layer.cell;
                t.tall = layer.tall * (0.65 + 0.6 * Random(c, 2, seed));
                t.top = GroundAt(t.centre) - t.tall;
                t.tiers = 7 + 5 * Random(c, 3, seed);
                t.phase = Random(c, 4, seed);
            }
            trees.push_back(t);
        }
    }

    double Cover(int x, double u, double v, double px) const
    {
        double cover = Coverage((v - ground[static_cast<std::size_t>(x)]) / px);
        const int32_t cell = static_cast<int32_t>(std::floor(u / layer.cell));
        for (int32_t c = cell - Reach; c <= cell + Reach && cover < 1; ++c) {
            const std::size_t index = static_cast<std::size_t>(c + Reach);
            if (index >= trees.size() || trees[index].tall <= 0)
                continue;
            const Tree& tree = trees[index];
            if (v < tree.top - px)
                continue;
            const double t = (v - tree.top) / tree.tall;
            // Tiers of branches: each tier widens downwards and the next
            // starts narrower again; the branch tips are ragged.
            const double tier = Fraction(t * tree.tiers + tree.phase);
            const double ragged = 0.88 + 0.24 * Noise(t * tree.tiers * 4.0, tree.seed);
            const double halfWidth = std::max(0.0, t) * tree.tall * 0.22 * (0.6 + 0.4 * tier) * ragged;
            const double trunk = t > 0.8 ? tree.tall * 0.025 : 0.0;
            const double side = std::max(halfWidth, trunk) - std::abs(u - tree.centre);
            cover = std::max(cover, std::min(Coverage(side / px), Coverage((v - tree.top) / px)));
        }
        return cover;
    }

    const TreeLayer& layer;

private:
    // Cells on either side whose tree may reach into a pixel's cell.
    static constexpr int32_t Reach = 2;

    double GroundAt(double u) const { return layer.ground - 0.03 * Fbm(u * 1.4, seed, 3); }

    uint32_t seed;
    std::vector<double> ground;
    std::vector<Tree> trees;
};

} // namespace

Image DrawMistyForest(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const double sunU = aspect * 0.63, sunV = 0.58, sunR = 0.035;
    const Stop sky[] = {{0.0, {0.12, 0.11, 0.28}},
                        {0.30, {0.36, 0.25, 0.44}},
                        {0.55, {0.84, 0.52, 0.46}},
                        {0.75, {1.0, 0.74, 0.52}}};
    const TreeLayer layers[] = {{0.62, 0.028, 0.09, 0.20, 0.30, 0.10}, {0.67, 0.040, 0.14, 0.34, 0.30, 0.12},
                                {0.73, 0.058, 0.20, 0.50, 0.28, 0.15}, {0.81, 0.085, 0.28, 0.68, 0.25, 0.25},
                                {0.92, 0.125, 0.42, 0.85, 0.18, 0.35}, {1.06, 0.190, 0.62, 1.00, 0.00, 0.55}};
    std::vector<TreeRow> rows;
    rows.reserve(6);
    for (int i = 0; i < 6; ++i)
        rows.emplace_back(layers[i], 311 + static_cast<uint32_t>(i) * 17, width, height);

    return Render(width, height, [&](int x, double u, double v) {
        Colour c = Gradient(sky, v);
        const double dx = u - sunU, dy = v - sunV;
        const double d = std::sqrt(dx * dx + dy * dy);
        const double glow = Glow(d, 0.06) * 0.6 + Glow(d, 0.25) * 0.35;
        c = c + Colour{0.55, 0.36, 0.18} * glow;
        c = Mix(c, Colour{1.0, 0.93, 0.78}, Coverage((sunR - d) / px));

        const double band = SmoothStep(0.05, 0.15, v) * SmoothStep(0.48, 0.3, v);
        const double cloud = SmoothStep(0.55, 0.8, Fbm(u * 1.6, v * 10.0, 301, 5)) * band;
        c = Mix(c, Mix(Colour{0.42, 0.30, 0.46}, Colour{1.0, 0.66, 0.60}, SmoothStep(0.1, 0.45, v)), cloud * 0.55);

        const Colour haze = Mix(Colour{0.62, 0.48, 0.62}, Colour{0.98, 0.72, 0.58}, SmoothStep(0.45, 0.8, v));
        const Colour mistColour = Mix(Colour{0.78, 0.64, 0.72}, Colour{0.95, 0.76, 0.66}, Clamp01(glow));
        for (int i = 0; i < 6; ++i) {
            const TreeLayer& layer = rows[i].layer;
            const double cover = rows[i].Cover(x, u, v, px);
            if (cover > 0) {
                const Colour tree = Mix(haze + Colour{0.3, 0.2, 0.1} * glow * (1 - layer.shade),
                                        Colour{0.035, 0.025, 0.05}, layer.shade);
                c = Mix(c, tree, cover);
            }
            if (layer.mist > 0) {
                const double rise = SmoothStep(layer.ground - 0.14, layer.ground + 0.03, v);
                const double wisps = 0.45 + 0.55 * Fbm(u * 3.5 + i * 1.7, v * 13.0, 331 + i, 3);
                c = Mix(c, mistColour, std::min(0.85, rise * wisps * layer.mist * 2.2));
            }
        }
        return c;
    });
}

// --- A desert under the galaxy -------------------------------------------

namespace {

struct Dune {
    double base, height, frequency;
    uint32_t seed;
    Colour lit, dark;
};

double DuneRidge(const Dune& dune, double u)
{
    // Folded noise gives the sharp crests of wind-blown dunes.
    const double n = 1 - std::abs(2 * Fbm(u * dune.frequency, dune.seed, 4) - 1);
    return dune.base - dune.height * n * n * (1.5 - 0.5 * n);
}

} // namespace

Image DrawDesertGalaxy(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const double horizon = 0.77;
    const Stop sky[] = {{0.0, {0.008, 0.010, 0.032}}, {0.5, {0.026, 0.030, 0.070}}, {0.77, {0.11, 0.09, 0.12}}};
    // The galactic band runs from low on the left up over the right.
    const double ax = aspect * 0.28, ay = 1.05, bx = aspect * 0.86, by = -0.15;
    const double lx = bx - ax, ly = by - ay, length = std::sqrt(lx * lx + ly * ly);
    const double tx = lx / length, ty = ly / length;
    const Dune dunes[] = {{0.765, 0.04, 2.4, 501, {0.26, 0.20, 0.19}, {0.12, 0.095, 0.10}},
                          {0.85, 0.08, 1.6, 502, {0.22, 0.16, 0.15}, {0.075, 0.06, 0.065}},
                          {0.98, 0.14, 1.1, 503, {0.16, 0.12, 0.11}, {0.04, 0.032, 0.04}}};
    const StarLayer dust{4.0, 0.16, 0.4, 0.75, 0.34, false, 401};
    const StarLayer bright{22.0, 0.26, 0.7, 1.6, 1.0, true, 402};

    std::vector<double> ridge(3 * static_cast<std::size_t>(width)), slope(ridge.size());
    for (int x = 0; x < width; ++x)
        for (int i = 0; i < 3; ++i) {
            const double u = (x + 0.5) * px;
            const std::size_t k = static_cast<std::size_t>(i) * width + x;
            ridge[k] = DuneRidge(dunes[i], u);
            slope[k] = (DuneRidge(dunes[i], u + px) - DuneRidge(dunes[i], u - px)) / (2 * px);
        }

    return Render(width, height, [&](int x, double u, double v) {
        Colour c = Gradient(sky, v);
        // A warm glow of a far town below the horizon.
        c = c + Colour{0.30, 0.15, 0.07} * (Glow(horizon - v, 0.05) * Glow(u - aspect * 0.78, 0.5));

        const double rx = u - ax, ry = v - ay;
        const double along = rx * tx + ry * ty, across = -rx * ty + ry * tx;
        const double bandWidth = 0.17 * (0.8 + 0.4 * Fbm(along * 1.5, 411, 3));
        const double spread = across / bandWidth;
        const double band = 1.0 / ((1 + spread * spread) * (1 + spread * spread));
        const double cloud = Fbm(along * 3.0, across * 9.0, 421, 6);
        const double core = Glow(along - 0.55, 0.28);
        const double lane = SmoothStep(0.5, 0.72, Fbm(along * 5.0, across * 16.0, 431, 5)) *
                            Clamp01(1 - std::abs(across - 0.015 + 0.03 * (Fbm(along * 2, 441, 3) - 0.5)) / (bandWidth * 0.7));
        const double light = band * (0.3 + 0.9 * cloud * cloud) * (1 - 0.8 * lane) * (0.55 + 0.6 * core);
        c = c + Mix(Colour{0.42, 0.48, 0.72}, Colour{1.0, 0.80, 0.60}, core * 0.85) * (light * 1.0);
        const double starsSeen = SmoothStep(horizon, horizon - 0.12, v) * (1 - 0.6 * lane * band);
        c = c + (Stars(dust, x, v * height, 1 + 3.0 * band) + Stars(bright, x, v * height)) * starsSeen;

        for (int i = 0; i < 3; ++i) {
            const std::size_t k = static_cast<std::size_t>(i) * width + x;
            const double cover = Coverage((v - ridge[k]) / px);
            if (cover <= 0)
                continue;
            const double below = v - ridge[k];
            // Faces turned to the left catch the galaxy's light near the
            // crest; lower down every face falls into the same shadow.
            const double nearCrest = 1 - SmoothStep(0, 0.06, below);
            const double facing = Clamp01(0.5 + 1.2 * slope[k]);
            Colour sand = Mix(dunes[i].dark, dunes[i].lit, Mix(0.4, facing, nearCrest * 0.7));
            sand = sand * (1 - 0.4 * SmoothStep(0, 0.25, below)) * (0.94 + 0.12 * Noise(u * 420, v * 420, 451 + i));
            sand = sand + Colour{0.10, 0.08, 0.09} * Clamp01(1 - below / (3 * px));
            c = Mix(c, sand, cover);
        }
        return c;
    });
}

// --- Sunset over the sea -------------------------------------------------

namespace {

class SunsetScene {
public:
    explicit SunsetScene(double aspect) : sunU(aspect * 0.46) {}

    static constexpr double Horizon = 0.60;
    static constexpr double SunV = 0.555;
    static constexpr double SunRadius = 0.034;
    const double sunU;

    double SunDistance(double u, double v) const
    {
        const double dx = u - sunU, dy = (v - SunV) * 1.4;
        return std::sqrt(dx * dx + dy * dy);
    }

    // The sky without the sun's disc (which the sea mirrors only as glitter).
    Colour Sky(double u, double v) const
    {
        Colour c = Gradient(sky, v);
        const double d = SunDistance(u, v);
        const double glow = 0.55 * Glow(d, 0.05) + 0.3 * Glow(d, 0.2);
        c = c + Colour{0.7, 0.42, 0.18} * glow;
        const double band = SmoothStep(0.08, 0.2, v) * SmoothStep(0.52, 0.4, v);
        const double cloud = SmoothStep(0.5, 0.74, Fbm(u * 2.4, v * 13.0, 601, 6)) * band;
        if (cloud > 0) {
            // Undersides lit orange and pink by the low sun, tops in shadow.
            const double lit = Clamp01(0.25 + 1.1 * v / Horizon + 0.6 * glow);
            const Colour shade = Mix(Colour{0.22, 0.13, 0.28}, Colour{1.0, 0.52, 0.42}, lit);
            c = Mix(c, shade, cloud * 0.92);
        }
        return c;
    }

private:
    const Stop sky[4] = {{0.0, {0.06, 0.08, 0.25}},
                         {0.25, {0.26, 0.20, 0.43}},
                         {0.46, {0.82, 0.44, 0.40}},
                         {0.60, {1.0, 0.66, 0.34}}};
};

} // namespace

Image DrawSunsetSea(int width, int height)
{
    const double px = 1.0 / height;
    const SunsetScene scene(double(width) / height);
    const double horizon = SunsetScene::Horizon;
    const StarLayer early{26.0, 0.25, 0.6, 1.3, 0.7, true, 701};
    return Render(width, height, [&](int x, double u, double v) {
        if (v < horizon) {
            Colour c = scene.Sky(u, v) + Stars(early, x, v * height) * SmoothStep(0.22, 0.04, v);
            const double dx = u - scene.sunU, dy = v - SunsetScene::SunV;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double rim = d / SunsetScene::SunRadius;
            const Colour disc = Mix(Colour{1.0, 0.98, 0.90}, Colour{1.0, 0.86, 0.55}, rim * rim);
            c = Mix(c, disc, Coverage((SunsetScene::SunRadius - d) / px));
            return Mix(c, Colour{1.0, 0.70, 0.42}, SmoothStep(horizon - 0.006, horizon, v) * 0.5);
        }
        // Waves seen in perspective: distance grows as the horizon nears.
        const double depth = v - horizon;
        const double distance = 0.06 / (depth + 0.002);
        const double across = (u - scene.sunU) * distance;
        const double wave = Fbm(across * 2.5, distance * 9.0, 611, 4);
        const double fine = Fbm(across * 9.0, distance * 34.0, 621, 3);
        const double calm = SmoothStep(0.0, 0.03, depth);
        const double tilt = (wave - 0.5) * calm;
        const double mirrored = std::max(0.0, horizon - depth * 0.9 - tilt * 0.05);
        const Colour sky = scene.Sky(u + tilt * 0.02, mirrored);
        const double reflect = 0.8 - 0.5 * SmoothStep(0, 0.4, depth);
        Colour c = Mix(Colour{0.03, 0.04, 0.11}, sky, reflect) * (1 + 0.35 * tilt);
        // The glitter path of the sun widens towards the viewer.
        const double path = (u - scene.sunU) / (0.03 + depth * 0.45);
        const double column = 1.0 / ((1 + path * path) * (1 + path * path));
        const double sparkle = SmoothStep(0.55, 0.78, fine * 0.6 + wave * 0.4);
        c = c + Colour{1.0, 0.70, 0.38} * (column * (0.18 + 1.3 * sparkle) * (1 - 0.55 * SmoothStep(0, 0.4, depth)));
        return Mix(Colour{1.0, 0.70, 0.42}, c, SmoothStep(0.0, 0.004, depth) * 0.5 + 0.5);
    });
}

const std::vector<DemoPicture>& DemoPictures()
{
    static const std::vector<DemoPicture> pictures = {
        {L"moonlit-hills.jpg", 1280, 720, DemoFormat::Jpeg, DrawMoonlitHills},
        {L"aurora-lake.jpg", 1024, 768, DemoFormat::Jpeg, DrawAuroraLake},
        {L"misty-forest.png", 1000, 800, DemoFormat::Png, DrawMistyForest},
        {L"desert-galaxy.jpg", 1280, 536, DemoFormat::Jpeg, DrawDesertGalaxy},
        {L"sunset-sea.jpg", 768, 1024, DemoFormat::Jpeg, DrawSunsetSea},
    };
    return pictures;
}

Bytes EncodeDemoPicture(const DemoPicture& picture)
{
    const Image image = picture.draw(picture.width, picture.height);
    return picture.format == DemoFormat::Png ? EncodePng(image, false) : EncodeJpeg(image, JpegQuality);
}
