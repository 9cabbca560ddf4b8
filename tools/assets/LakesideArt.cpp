#include "tools/assets/LakesideArt.h"

#include "tools/assets/ArtKit.h"

#include <algorithm>
#include <cmath>
#include <functional>

using namespace art;

namespace {

// The size of every brush mask.
constexpr int MaskSize = 512;

// The layout in picture heights from the top left; the picture's width only
// shows more or less of the lake to the right.
constexpr double ShoreShare = 0.559375; // 358 of 640 rows
constexpr double MoonU = 1.02, MoonV = 0.155, MoonR = 0.040;
constexpr double InnLeft = 0.44, InnRight = 0.66, InnEaves = 0.452, InnApexU = 0.55, InnApexV = 0.378;
constexpr double PoleU = 0.705, PoleTop = 0.212;
constexpr double FlagLeft = 0.7085, FlagRight = 0.892, FlagTop = 0.23125, FlagBottom = 0.3515625;
constexpr double WillowU = 1.37, CrownV = 0.235, CrownRX = 0.20, CrownRY = 0.105;
constexpr double StrandsLeft = 1.18, StrandsRight = 1.57;
constexpr double LanternU = 1.08, LanternV = 0.38, LanternRX = 0.021, LanternRY = 0.026;
constexpr double CordTop = 0.245;
// The reeds stand on the bank in the lower left, in front of the lake; the
// picture itself carries the lake's reflection behind them.
constexpr int ReedCount = 26;
constexpr double ReedsRight = 0.40, ReedsZoneEnd = 0.50;
constexpr double BankEnd = 0.56;

const Colour LanternCore{1.0, 0.80, 0.48};
const Colour LanternEdge{0.85, 0.30, 0.07};

double Square(double x) { return x * x; }

// Shortest distance from p to the segment a-b.
double SegmentDistance(double pu, double pv, double au, double av, double bu, double bv)
{
    const double du = bu - au, dv = bv - av;
    const double t = Clamp01(((pu - au) * du + (pv - av) * dv) / (du * du + dv * dv));
    return std::sqrt(Square(pu - au - t * du) + Square(pv - av - t * dv));
}

double StarAt(double x, double y, double cell, double density, uint32_t seed)
{
    const double cx = std::floor(x / cell), cy = std::floor(y / cell);
    const int32_t ix = static_cast<int32_t>(cx), iy = static_cast<int32_t>(cy);
    if (Random(ix, iy, seed) >= density)
        return 0;
    const double sx = (cx + 0.25 + 0.5 * Random(ix, iy, seed + 1)) * cell;
    const double sy = (cy + 0.25 + 0.5 * Random(ix, iy, seed + 2)) * cell;
    const double radius = 0.6 + 1.0 * Random(ix, iy, seed + 3);
    const double d2 = (Square(x - sx) + Square(y - sy)) / (radius * radius);
    return d2 < 1 ? Square(1 - d2) * (0.25 + 0.75 * Random(ix, iy, seed + 4)) : 0;
}

// The flag's cloth at tile coordinates (s, t), both repeating every 1: two
// waves across a tile, `phase` of a period along, bend the crimson and gold
// bands and shade the folds.
Colour BannerCloth(double s, double t, double phase)
{
    const double wave = Sine(2 * s - phase);
    // The fold's slope (a quarter period ahead) decides how it catches the
    // light.
    const double slope = Sine(2 * s - phase + 0.25);
    const double band = Fraction(t + 0.035 * wave);
    const double gold = SmoothStep(0.325, 0.345, band) * SmoothStep(0.675, 0.655, band);
    const double seam = std::max(1 - std::abs(band - 0.335) / 0.012, 1 - std::abs(band - 0.665) / 0.012);
    const double weave = 0.9 + 0.1 * TileNoise(s * 64, t * 32, 64, 32, 0x5E1);
    Colour cloth = Mix(Colour{0.50, 0.05, 0.07}, Colour{0.78, 0.56, 0.20}, gold);
    cloth = Mix(cloth, Colour{0.30, 0.16, 0.05}, 0.6 * Clamp01(seam));
    return cloth * ((0.58 + 0.42 * (0.5 + 0.5 * slope)) * weave);
}

class LakesideScene {
public:
    explicit LakesideScene(int height)
        : height(height), px(1.0 / height), shore(std::floor(ShoreShare * height + 0.5) / height)
    {
        for (int i = 0; i < ReedCount; ++i) {
            Reed& r = reeds[i];
            const double spread = Random(i, 0, 0x3A1);
            r.baseU = 0.015 + ReedsRight * 0.92 * spread;
            r.baseV = Bank(r.baseU) + 0.012;
            r.topV = 0.36 + 0.17 * Random(i, 1, 0x3A1) + 0.06 * spread;
            r.lean = (Random(i, 2, 0x3A1) - 0.45) * 0.07;
            r.cattail = Random(i, 3, 0x3A1) < 0.45;
        }
    }

    double Shore() const { return shore; }

    // The willow's trunk leans a little towards the lake's middle.
    static double TrunkCentre(double v) { return WillowU - 0.03 * (ShoreShare - v) / (ShoreShare - 0.30); }

    // The far side of the lake and everything on it, at any point above the
    // shore (reflections ask for it too).
    Colour Backdrop(double u, double v) const
    {
        const Stop sky[] = {{0.0, {0.008, 0.012, 0.040}}, {0.30, {0.025, 0.040, 0.100}}, {0.52, {0.085, 0.115, 0.20}}};
        Colour c = Gradient(sky, v);
        const double moonD = std::sqrt(Square(u - MoonU) + Square(v - MoonV));
        const double glow = 0.7 * Glow(moonD, 0.06) + 0.3 * Glow(moonD, 0.28);
        c = c + Colour{0.28, 0.31, 0.40} * glow;
        const double starsSeen = Clamp01(1 - 1.8 * glow) * SmoothStep(0.5, 0.25, v);
        c = c + Colour{0.85, 0.88, 1.0} * (StarAt(u * height, v * height, 11.0, 0.22, 0x3B1) * starsSeen);
        if (moonD < MoonR + 2 * px) {
            const double maria = SmoothStep(0.5, 0.7, Fbm((u - MoonU) * 18, (v - MoonV) * 18, 0x3B2, 4));
            const double limb = 1 - 0.2 * Square(moonD / MoonR);
            c = Mix(c, Colour{1.0, 0.97, 0.88} * ((1 - 0.18 * maria) * limb), Coverage((MoonR - moonD) / px));
        }

        // Hills beyond the lake with mist at their feet.
        const double n = Fbm(u * 2.1 + 0.7, 0x3B3, 5);
        const double ridge = shore - 0.03 - 0.11 * n * n;
        if (v > ridge - px) {
            const double below = v - ridge;
            Colour hill = Colour{0.050, 0.066, 0.115} * (1 - 0.4 * SmoothStep(0, 0.06, below));
            hill = hill + Colour{0.16, 0.18, 0.24} * (Clamp01(1 - below / (3 * px)) * 0.5 * glow);
            c = Mix(c, hill, Coverage(below / px));
            const double mist = SmoothStep(shore - 0.05, shore - 0.005, v) * (0.5 + 0.5 * Fbm(u * 4, v * 30, 0x3B4, 3));
            c = Mix(c, Colour{0.13, 0.16, 0.24}, 0.5 * mist);
        }

        // Pines along the far shore.
        const double cell = u / 0.021;
        const int32_t tree = static_cast<int32_t>(std::floor(cell));
        const double across = std::abs(Fraction(cell) - 0.5) * 2;
        const double treeHeight = 0.012 + 0.03 * Random(tree, 0, 0x3B5);
        const double treeTop = shore - 0.008 - treeHeight * (1 - across);
        const double groundTop = shore - 0.008 - 0.004 * Noise(u * 40, 0x3B6);
        const double land = std::max(v - treeTop, v - groundTop);
        c = Mix(c, Colour{0.012, 0.018, 0.030}, Coverage(land / px));

        c = Inn(c, u, v);
        c = FlagAndPole(c, u, v);
        c = Willow(c, u, v);
        c = Lantern(c, u, v);
        return c;
    }

    // The lake below the shore: dark water streaked with ripples that catch
    // the moon; behind the reeds it also reflects the backdrop.
    Colour Water(double u, double v) const
    {
        const double w = v - shore;
        Colour c = Mix(Colour{0.026, 0.040, 0.078}, Colour{0.008, 0.014, 0.034}, SmoothStep(0, 1 - shore, w));
        const double streak = SmoothStep(0.55, 0.85, Fbm(u * (26 - 16 * w), v * (420 - 260 * w), 0x3C1, 3));
        c = c + Colour{0.030, 0.040, 0.065} * streak;
        c = c + Colour{0.45, 0.46, 0.52} * (streak * Glow(std::abs(u - MoonU), 0.02 + 0.09 * w) * 0.35);
        const double behindReeds = 1 - SmoothStep(ReedsRight, ReedsZoneEnd, u);
        if (behindReeds > 0)
            c = Mix(c, Backdrop(u, 2 * shore - v), Reflectivity(v) * behindReeds);
        return c;
    }

    // How much of the scene the lake gives back, less towards the viewer.
    double Reflectivity(double v) const { return 0.80 - 0.22 * SmoothStep(shore, 1.0, v); }

    // The bank's top edge in the lower left, with a fringe of grass.
    double Bank(double u) const
    {
        if (u > BankEnd)
            return 2.0;
        return 0.875 + 0.125 * Square(u / BankEnd) - 0.010 * Noise(u * 260, 0x3C2);
    }

    // Grass bank and reeds over everything.
    Colour Foreground(Colour c, double u, double v) const
    {
        const double bank = v - Bank(u);
        if (bank > -px)
            c = Mix(c, Colour{0.010, 0.016, 0.016} * (0.8 + 0.4 * Fbm(u * 80, v * 80, 0x3C3, 2)), Coverage(bank / px));
        for (const Reed& r : reeds) {
            if (v < r.topV - px || v > r.baseV)
                continue;
            const double s = (r.baseV - v) / (r.baseV - r.topV);
            const double centre = ReedCentre(r, v);
            const double half = (0.0021 - 0.0014 * s) * SmoothStep(1.0, 0.9, s);
            const double side = u - centre;
            const double cover = Coverage((half - std::abs(side)) / px);
            if (cover > 0) {
                const double rim = SmoothStep(-half, half, side);
                c = Mix(c, Colour{0.016, 0.026, 0.024} + Colour{0.09, 0.11, 0.13} * (0.35 * rim), cover);
            }
            if (r.cattail && s > 0.70 && s < 0.86) {
                const double along = (s - 0.70) / 0.16;
                const double headHalf = 0.0038 * std::sqrt(Clamp01(along * (1 - along)) * 4);
                const double headCover = Coverage((headHalf - std::abs(side)) / px);
                if (headCover > 0) {
                    const double rim = SmoothStep(-headHalf, headHalf, side);
                    c = Mix(c, Colour{0.055, 0.032, 0.020} + Colour{0.12, 0.10, 0.09} * (0.3 * rim), headCover);
                }
            }
        }
        return c;
    }

    // The distance in picture heights from (u, v) to the nearest reed, and
    // how far up that reed the point lies (0 at the root, 1 at the tip).
    void NearestReed(double u, double v, double& distance, double& height) const
    {
        distance = 1e9;
        height = 0;
        for (const Reed& r : reeds) {
            const double vc = std::clamp(v, r.topV, r.baseV);
            const double d = std::sqrt(Square(u - ReedCentre(r, vc)) + Square(v - vc));
            if (d < distance) {
                distance = d;
                height = (r.baseV - vc) / (r.baseV - r.topV);
            }
        }
    }

private:
    struct Reed {
        double baseU, baseV, topV, lean;
        bool cattail;
    };

    static double ReedCentre(const Reed& r, double v)
    {
        const double s = (r.baseV - v) / (r.baseV - r.topV);
        return r.baseU + r.lean * s * s;
    }

    Colour Inn(Colour c, double u, double v) const
    {
        const Colour warm{1.0, 0.70, 0.36};
        const double windows[2] = {0.490, 0.610};
        // Light from the windows on the walls and the shore.
        double spill = 0;
        for (double wu : windows)
            spill += Glow(std::sqrt(Square(u - wu) + Square((v - 0.49) * 1.6)), 0.03);

        // Chimney behind the roof.
        const double chimney = std::min(std::min(u - 0.605, 0.625 - u), std::min(v - 0.386, 0.44 - v));
        if (chimney > -px)
            c = Mix(c, Colour{0.045, 0.045, 0.055}, Coverage(chimney / px));

        // Gable roof over the eaves, its right slope catching the moon.
        const double roofLine = InnApexV + std::abs(u - InnApexU) * (InnEaves - InnApexV) / (InnApexU - 0.425);
        const double roof = std::min(std::min(v - roofLine, InnEaves + 0.004 - v), std::min(u - 0.425, 0.675 - u));
        if (roof > -px) {
            const double shingles = 0.85 + 0.15 * SmoothStep(0.2, 0.5, Fraction((v - roofLine) / 0.011));
            Colour slate = Colour{0.035, 0.038, 0.052} * shingles;
            if (u > InnApexU)
                slate = slate + Colour{0.05, 0.055, 0.07} * Clamp01(1 - (v - roofLine) / 0.012);
            c = Mix(c, slate, Coverage(roof / px));
        }

        const double wall = std::min(std::min(u - InnLeft, InnRight - u), std::min(v - InnEaves, shore - v));
        if (wall > -px) {
            const int32_t board = static_cast<int32_t>(std::floor(u / 0.011));
            const double gap = SmoothStep(0.0, 0.12, Fraction(u / 0.011));
            Colour timber = Colour{0.050, 0.040, 0.036} * ((0.75 + 0.25 * Random(board, 0, 0x3D1)) * (0.6 + 0.4 * gap));
            timber = timber + Colour{0.40, 0.22, 0.09} * (0.12 * spill);
            c = Mix(c, timber, Coverage(wall / px));
            for (double wu : windows) {
                const double window = std::min(0.021 - std::abs(u - wu), 0.022 - std::abs(v - 0.49));
                if (window > -px) {
                    const double bars = std::min(std::abs(u - wu), std::abs(v - 0.49));
                    Colour glass = Mix(warm * 0.95, warm * 0.55, SmoothStep(0.0, 0.02, std::abs(v - 0.486)));
                    glass = Mix(Colour{0.06, 0.035, 0.02}, glass, SmoothStep(0.0015, 0.0035, bars));
                    c = Mix(c, glass, Coverage(window / px));
                }
            }
            const double door = std::min(0.013 - std::abs(u - 0.55), v - 0.492);
            if (door > -px) {
                const Colour wood = Mix(Colour{0.22, 0.12, 0.05}, Colour{0.10, 0.05, 0.025}, SmoothStep(0, 0.06, v - 0.492));
                c = Mix(c, wood, Coverage(door / px));
            }
        }
        // Warm light pooled on the shore in front of the windows.
        c = c + Colour{0.20, 0.10, 0.04} * (0.10 * spill * SmoothStep(0.45, shore, v));
        return c;
    }

    Colour FlagAndPole(Colour c, double u, double v) const
    {
        const double pole = std::min(0.0018 - std::abs(u - PoleU), std::min(v - PoleTop, shore - v));
        if (pole > -px) {
            const double rim = SmoothStep(-0.0018, 0.0018, u - PoleU);
            c = Mix(c, Colour{0.06, 0.055, 0.05} + Colour{0.10, 0.10, 0.11} * (0.5 * rim), Coverage(pole / px));
        }
        const double knob = 0.0048 - std::sqrt(Square(u - PoleU) + Square(v - (PoleTop - 0.002)));
        if (knob > -px)
            c = Mix(c, Colour{0.45, 0.36, 0.16}, Coverage(knob / px));

        const double cloth = FlagInside(u, v);
        if (cloth > -px) {
            const double height = FlagBottom - FlagTop;
            c = Mix(c, BannerCloth((u - FlagLeft) / (2 * height), (v - FlagTop) / height, 0.0), Coverage(cloth / px));
        }
        return c;
    }

    Colour Willow(Colour c, double u, double v) const
    {
        if (v > 0.28 && v < shore) {
            const double along = (shore - v) / (shore - 0.30);
            const double centre = TrunkCentre(v);
            const double half = 0.011 - 0.005 * Clamp01(along);
            const double trunk = half - std::abs(u - centre);
            if (trunk > -px) {
                const double rim = SmoothStep(half, -half, u - centre);
                const Colour bark = Colour{0.030, 0.025, 0.024} * (0.8 + 0.3 * Fbm(u * 300, v * 40, 0x3E1, 2));
                c = Mix(c, bark + Colour{0.10, 0.11, 0.13} * (0.3 * rim), Coverage(trunk / px));
            }
        }

        const double moonSide = Clamp01(0.5 + (WillowU - u) / CrownRX * 0.45 + (CrownV - v) / CrownRY * 0.3);
        // Hanging strands under the crown, each swaying a little on its own.
        if (u > StrandsLeft - 0.01 && u < StrandsRight + 0.01 && v > CrownV && v < 0.56) {
            const double spacing = 5.0 * px;
            const double t = u / spacing + 1.5 * Noise(v * 7, 0x3E2);
            const int32_t strand = static_cast<int32_t>(std::floor(t));
            const double local = std::abs(Fraction(t) - 0.5) * spacing;
            const double edgeFade = SmoothStep(StrandsLeft, StrandsLeft + 0.03, u) * SmoothStep(StrandsRight, StrandsRight - 0.03, u);
            const double end = 0.39 + 0.14 * Random(strand, 0, 0x3E3) * edgeFade + 0.02 * edgeFade;
            const double leafy = 0.00075 + 0.0011 * Noise(v * 140, static_cast<uint32_t>(strand) * 7u + 0x3E4);
            const double tipTaper = SmoothStep(end, end - 0.03, v);
            const double strandCover = Coverage((leafy * tipTaper - local) / px) * (v < end ? 1.0 : 0.0);
            if (strandCover > 0) {
                const Colour leaf = Colour{0.022, 0.042, 0.036} + Colour{0.10, 0.14, 0.12} * (0.5 * moonSide * Noise(v * 90, static_cast<uint32_t>(strand)));
                c = Mix(c, leaf, strandCover);
            }
        }

        const double e = Square((u - WillowU) / CrownRX) + Square((v - CrownV) / CrownRY);
        const double edge = 1 + 0.5 * (Fbm(u * 11, v * 11, 0x3E5, 4) - 0.5);
        if (e < edge + 0.1) {
            const double inside = (edge - e) * CrownRY * 0.5;
            const double leaves = Fbm(u * 70, v * 70, 0x3E6, 3);
            const Colour foliage = Mix(Colour{0.016, 0.028, 0.026}, Colour{0.10, 0.135, 0.12}, moonSide * leaves * 0.8);
            c = Mix(c, foliage, Coverage(inside / px));
        }
        return c;
    }

    Colour Lantern(Colour c, double u, double v) const
    {
        // The branch it hangs from and its cord.
        const double branch = SegmentDistance(u, v, 1.205, 0.262, LanternU - 0.015, CordTop);
        if (branch < 0.003 + px)
            c = Mix(c, Colour{0.022, 0.020, 0.020}, Coverage((0.0022 - branch) / px));
        const double cord = std::min(0.0006 + 0.5 * px - std::abs(u - LanternU), std::min(v - CordTop, LanternV - v));
        if (cord > -px)
            c = Mix(c, Colour{0.05, 0.04, 0.03}, Coverage(cord / px) * 0.8);

        const double du = (u - LanternU) / LanternRX, dv = (v - LanternV) / LanternRY;
        const double r = std::sqrt(du * du + dv * dv);
        const double d = std::sqrt(Square(u - LanternU) + Square(v - LanternV));
        c = c + Colour{0.55, 0.25, 0.07} * (0.55 * Glow(d, 0.03)) + Colour{0.25, 0.12, 0.04} * (0.35 * Glow(d, 0.10));
        if (r < 1 + 2 * px / LanternRX) {
            const double ribs = 0.82 + 0.18 * SmoothStep(0.15, 0.4, std::abs(Fraction(v / 0.0085) - 0.5));
            Colour paper = Mix(LanternCore, LanternEdge, SmoothStep(0.1, 1.0, r)) * ribs;
            c = Mix(c, paper, Coverage((1 - r) * LanternRX / px));
        }
        for (double capV : {LanternV - LanternRY, LanternV + LanternRY}) {
            const double cap = std::min(0.008 - std::abs(u - LanternU), 0.0035 - std::abs(v - capV));
            if (cap > -px)
                c = Mix(c, Colour{0.06, 0.035, 0.02}, Coverage(cap / px));
        }
        return c;
    }

    double FlagInside(double u, double v) const
    {
        const double height = FlagBottom - FlagTop;
        const double freeEdge = FlagRight - 0.009 * Sine((v - FlagTop) / height * 1.2 + 0.1);
        return std::min(std::min(u - FlagLeft, freeEdge - u), std::min(v - FlagTop, FlagBottom - v));
    }

public:
    // The flag's cloth, for its mask: > 0 inside, in picture heights.
    double Flag(double u, double v) const { return FlagInside(u, v); }
    double Pixel() const { return px; }

private:
    int height;
    double px;
    double shore;
    Reed reeds[ReedCount];
};

// A 512 × 512 mask of alphas from the point (u, v) in picture heights.
std::vector<uint8_t> MaskOf(int width, int height, const std::function<double(double, double)>& alpha)
{
    std::vector<uint8_t> mask(static_cast<std::size_t>(MaskSize) * MaskSize);
    for (int y = 0; y < MaskSize; ++y)
        for (int x = 0; x < MaskSize; ++x) {
            const double u = (x + 0.5) * width / MaskSize / height;
            const double v = (y + 0.5) / MaskSize;
            mask[static_cast<std::size_t>(y) * MaskSize + x] = Byte(alpha(u, v));
        }
    return mask;
}

} // namespace

Image DrawLakesideInn(int width, int height)
{
    const LakesideScene scene(height);
    const double px = 1.0 / height, shore = scene.Shore();
    return Render(width, height, [&](int, double u, double v) {
        Colour c = v < shore ? scene.Backdrop(u, v) : scene.Water(u, v);
        // The shore's edge, half a pixel each way.
        if (std::abs(v - shore) < px)
            c = Mix(scene.Water(u, shore + 0.5 * px), scene.Backdrop(u, shore - 0.5 * px), Coverage((shore - v) / px));
        return scene.Foreground(c, u, v);
    });
}

Image DrawBannerFrame(int width, int height, int frame, int count)
{
    Image image(width, height);
    const double phase = double(frame) / count;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PutPixel(image, x, y, BannerCloth((x + 0.5) / width, (y + 0.5) / height, phase));
    return image;
}

LakesidePlaces LakesidePlacesOf(int height)
{
    const float h = static_cast<float>(height);
    LakesidePlaces places;
    places.shoreY = static_cast<int>(std::floor(ShoreShare * height + 0.5));
    places.flagTop = static_cast<float>(FlagTop) * h;
    places.flagHeight = static_cast<float>(FlagBottom - FlagTop) * h;
    places.lanternX = static_cast<float>(LanternU) * h;
    places.lanternY = static_cast<float>(LanternV) * h;
    return places;
}

std::vector<uint8_t> DrawLakeMask(int width, int height)
{
    const LakesideScene scene(height);
    const double px = 1.0 / height, shore = scene.Shore();
    return MaskOf(width, height, [&](double u, double v) {
        const double water = Coverage((v - shore) / px);
        const double open = SmoothStep(ReedsRight, ReedsZoneEnd, u);
        const double bank = Coverage((v - scene.Bank(u)) / px + 2);
        return water * open * (1 - bank) * scene.Reflectivity(v);
    });
}

std::vector<uint8_t> DrawFlagMask(int width, int height)
{
    const LakesideScene scene(height);
    return MaskOf(width, height, [&](double u, double v) { return Coverage(scene.Flag(u, v) / scene.Pixel()); });
}

std::vector<uint8_t> DrawReedsMask(int width, int height)
{
    const LakesideScene scene(height);
    const double reach = 16.0 / 640.0;
    return MaskOf(width, height, [&](double u, double v) {
        double distance = 0, up = 0;
        scene.NearestReed(u, v, distance, up);
        // The stalks bend from the root, so the shift grows with the square
        // of the height.
        return SmoothStep(reach, reach * 0.4, distance) * up * up;
    });
}

std::vector<uint8_t> DrawWillowMask(int width, int height)
{
    return MaskOf(width, height, [&](double u, double v) {
        const double across = SmoothStep(StrandsLeft - 0.01, StrandsLeft + 0.03, u) *
                              SmoothStep(StrandsRight + 0.03, StrandsRight - 0.01, u);
        const double down = SmoothStep(CrownV + 0.02, 0.50, v) * SmoothStep(0.575, 0.545, v);
        // The trunk stands still.
        const double trunk = SmoothStep(0.032, 0.016, std::abs(u - LakesideScene::TrunkCentre(v)));
        return across * down * (1 - trunk);
    });
}

std::vector<uint8_t> DrawLanternMask(int width, int height)
{
    return MaskOf(width, height, [&](double u, double v) {
        const double d = std::sqrt(Square(u - LanternU) + Square(v - LanternV));
        return SmoothStep(0.075, 0.035, d);
    });
}
