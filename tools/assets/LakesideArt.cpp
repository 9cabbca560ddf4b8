#include "tools/assets/LakesideArt.h"

#include "tools/assets/ArtKit.h"

#include <algorithm>
#include <cmath>

using namespace art;

namespace {

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
// The stars over the lake: somewhat brighter than the others.
const StarLook LakeStars{1.0, 0.25, 0.75};

double Square(double x) { return x * x; }

// Shortest distance from p to the segment a-b.
double SegmentDistance(double pu, double pv, double au, double av, double bu, double bv)
{
    const double du = bu - au, dv = bv - av;
    const double t = Clamp01(((pu - au) * du + (pv - av) * dv) / (du * du + dv * dv));
    return std::sqrt(Square(pu - au - t * du) + Square(pv - av - t * dv));
}

// The flag's cloth at tile coordinates (s, t), both repeating every 1: two
// waves across a tile, `phase` of a period along, bend the crimson and gold
// bands and shade the folds.
Colour BannerCloth(double s, double t, double phase)
{
    const double wave = Sine(2 * s - phase);
    // The fold's slope (a quarter period ahead) decides how it catches the
    // light: the side turned to the moon is bright, the other falls dark.
    const double slope = Sine(2 * s - phase + 0.25);
    const double band = Fraction(t + 0.04 * wave);
    // The inn's own banner: deep green, a narrow gold trim along the top and
    // the bottom edge.
    const double trim = std::min(std::abs(band - 0.12), std::abs(band - 0.88));
    const double gold = SmoothStep(0.035, 0.025, trim);
    const double seam = 1 - std::abs(trim - 0.03) / 0.012;
    const double weave = 0.9 + 0.1 * TileNoise(s * 64, t * 32, 64, 32, 0x5E1);
    Colour cloth = Mix(Colour{0.035, 0.20, 0.10}, Colour{0.56, 0.39, 0.13}, gold);
    cloth = Mix(cloth, Colour{0.22, 0.11, 0.04}, 0.6 * Clamp01(seam));
    const double light = 0.5 + 0.5 * slope;
    return cloth * ((0.38 + 0.72 * light * light) * weave);
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

    // The flag's cloth: > 0 inside, in picture heights.
    double Flag(double u, double v) const
    {
        const double height = FlagBottom - FlagTop;
        const double freeEdge = FlagRight - 0.009 * Sine((v - FlagTop) / height * 1.2 + 0.1);
        return std::min(std::min(u - FlagLeft, freeEdge - u), std::min(v - FlagTop, FlagBottom - v));
    }

    double Pixel() const { return px; }

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
        c = c + Colour{0.85, 0.88, 1.0} * (StarAt(u * height, v * height, 11.0, 0.22, 0x3B1, LakeStars) * starsSeen);
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

        // Pines of every size along the far shore, some cells empty.
        double land = v - (shore - 0.007 - 0.005 * Fbm(u * 30, 0x3B6, 3));
        const double cell = 0.013;
        const int32_t here = static_cast<int32_t>(std::floor(u / cell));
        for (int32_t k = here - 2; k <= here + 2; ++k) {
            if (Random(k, 0, 0x3B5) < 0.3)
                continue;
            const double treeU = (k + Random(k, 1, 0x3B5)) * cell;
            const double tall = 0.010 + 0.026 * Square(Random(k, 2, 0x3B5));
            const double top = shore - 0.006 - tall;
            const double half = tall * (0.26 + 0.1 * Random(k, 3, 0x3B5)) * Clamp01((v - top) / tall);
            land = std::max(land, std::min(v - top, half - std::abs(u - treeU)));
        }
        c = Mix(c, Colour{0.011, 0.016, 0.028}, Coverage(land / px));

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
            c = Mix(c, Backdrop(u, 2 * shore - v), Reflectivity(u, v) * behindReeds);
        return c;
    }

    // How much of the scene the lake gives back: less towards the viewer,
    // and broken by bands of ripples that only show the dark water.
    double Reflectivity(double u, double v) const
    {
        const double w = v - shore;
        const double ripples = SmoothStep(0.42, 0.72, Fbm(u * (14 - 8 * w), v * (260 - 150 * w), 0x3C4, 3));
        return (0.66 - 0.24 * SmoothStep(0, 1 - shore, w)) * (1 - 0.55 * ripples);
    }

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
            const double half = (0.0030 - 0.0020 * s) * SmoothStep(1.0, 0.9, s);
            const double side = u - centre;
            const double cover = Coverage((half - std::abs(side)) / px);
            if (cover > 0) {
                const double rim = SmoothStep(-half, half, side);
                c = Mix(c, Colour{0.016, 0.026, 0.024} + Colour{0.11, 0.13, 0.15} * (0.45 * rim), cover);
            }
            if (r.cattail && s > 0.70 && s < 0.86) {
                const double along = (s - 0.70) / 0.16;
                const double headHalf = 0.0046 * std::sqrt(Clamp01(along * (1 - along)) * 4);
                const double headCover = Coverage((headHalf - std::abs(side)) / px);
                if (headCover > 0) {
                    const double rim = SmoothStep(-headHalf, headHalf, side);
                    c = Mix(c, Colour{0.060, 0.035, 0.022} + Colour{0.16, 0.12, 0.10} * (0.4 * rim), headCover);
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

        const double cloth = Flag(u, v);
        if (cloth > -px) {
            const double height = FlagBottom - FlagTop;
            c = Mix(c, BannerCloth((u - FlagLeft) / (2 * height), (v - FlagTop) / height, 0.0), Coverage(cloth / px));
        }
        return c;
    }

    Colour Willow(Colour c, double u, double v) const
    {
        // The trunk, flared at its roots.
        if (v > 0.24 && v < shore) {
            const double along = Clamp01((shore - v) / (shore - 0.30));
            const double centre = TrunkCentre(v);
            const double half = 0.012 - 0.006 * along + 0.008 * Square(SmoothStep(shore - 0.03, shore, v));
            const double trunk = half - std::abs(u - centre);
            if (trunk > -px) {
                const double rim = SmoothStep(half, -half, u - centre);
                const Colour bark = Colour{0.030, 0.025, 0.024} * (0.8 + 0.3 * Fbm(u * 300, v * 40, 0x3E1, 2));
                c = Mix(c, bark + Colour{0.10, 0.11, 0.13} * (0.35 * rim), Coverage(trunk / px));
            }
        }

        // The crown: a dome with drooping shoulders and ragged edges, lit
        // from the moon's side.
        struct Mound {
            double u, v, rx, ry;
        };
        const Mound mounds[] = {{WillowU, 0.200, 0.165, 0.070},
                                {WillowU - 0.125, 0.240, 0.070, 0.045},
                                {WillowU + 0.125, 0.240, 0.070, 0.045},
                                {WillowU - 0.010, 0.160, 0.085, 0.045}};
        double field = -1;
        for (const Mound& m : mounds)
            field = std::max(field, 1 - Square((u - m.u) / m.rx) - Square((v - m.v) / m.ry));
        const double moonSide = Clamp01(0.45 + (WillowU - u) / CrownRX * 0.5 + (CrownV - v) / CrownRY * 0.35);
        // Its lower edge frays into the hanging strands.
        const double fray = SmoothStep(0.18, 0.27, v) * (0.2 + 1.2 * Noise(u * 420, 0x3E8));
        const double ragged = field + 0.5 * (Fbm(u * 30, v * 22, 0x3E5, 4) - 0.5) - fray;
        if (ragged > -0.2) {
            // Leaves hang in clusters longer than wide.
            const double leaves = SmoothStep(0.4, 0.72, Fbm(u * 70, v * 150, 0x3E6, 3));
            const Colour foliage =
                Mix(Colour{0.014, 0.026, 0.024}, Colour{0.11, 0.15, 0.13}, moonSide * (0.25 + 0.75 * leaves) * 0.7);
            c = Mix(c, foliage, Coverage(ragged * 0.5 * CrownRY / px));
        }

        // Strands fall from the crown in a loose curtain that hides its lower
        // edge, leafy along their length, some longer than others.
        if (u > StrandsLeft - 0.01 && u < StrandsRight + 0.01 && v > 0.18 && v < 0.56) {
            const double spacing = 3.0 * px;
            const double t = u / spacing + 1.4 * Noise(v * 6 + u * 4, 0x3E2);
            const int32_t strand = static_cast<int32_t>(std::floor(t));
            if (Random(strand, 1, 0x3E3) < 0.8) {
                const double local = std::abs(Fraction(t) - 0.5) * spacing;
                const double edgeFade =
                    SmoothStep(StrandsLeft, StrandsLeft + 0.05, u) * SmoothStep(StrandsRight, StrandsRight - 0.05, u);
                const double start = 0.19 + 0.06 * Random(strand, 4, 0x3E3) + 0.04 * (1 - edgeFade);
                const double end = 0.34 + (0.04 + 0.12 * Random(strand, 0, 0x3E3)) * edgeFade;
                const double leafy = Noise(v * 170, static_cast<uint32_t>(strand) * 13u + 0x3E7);
                const double half = px * (0.35 + 1.2 * leafy) * SmoothStep(end, end - 0.03, v);
                const double cover =
                    Coverage((half - local) / px) * SmoothStep(start, start + 0.03, v) * (v < end ? 1.0 : 0.0);
                if (cover > 0) {
                    const double lit = (0.4 + 0.8 * Random(strand, 3, 0x3E3)) * moonSide * (0.5 + 0.5 * leafy);
                    const Colour leaf = Colour{0.018, 0.036, 0.031} + Colour{0.10, 0.15, 0.12} * (0.6 * lit);
                    c = Mix(c, leaf, cover);
                }
            }
        }
        return c;
    }

    Colour Lantern(Colour c, double u, double v) const
    {
        // The branch it hangs from and its cord.
        if (u > LanternU - 0.03 && u < 1.25 && v > 0.20 && v < 0.28) {
            // A curved bough, thinning towards its end.
            const double from[2] = {1.235, 0.265}, via[2] = {1.14, 0.212}, to[2] = {LanternU - 0.012, CordTop};
            double nearest = 1, along = 0, lastU = from[0], lastV = from[1];
            for (int i = 1; i <= 16; ++i) {
                const double k = i / 16.0, a = (1 - k) * (1 - k), b = 2 * k * (1 - k), d = k * k;
                const double pu = a * from[0] + b * via[0] + d * to[0], pv = a * from[1] + b * via[1] + d * to[1];
                const double dist = SegmentDistance(u, v, lastU, lastV, pu, pv);
                if (dist < nearest) {
                    nearest = dist;
                    along = k;
                }
                lastU = pu;
                lastV = pv;
            }
            const double half = 0.0030 - 0.0018 * along;
            c = Mix(c, Colour{0.024, 0.021, 0.021}, Coverage((half - nearest) / px));
        }
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

private:
    int height;
    double px;
    double shore;
    Reed reeds[ReedCount];
};

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
    return BrushMask(width, height, [&](double u, double v) {
        const double water = Coverage((v - shore) / px);
        const double open = SmoothStep(ReedsRight, ReedsZoneEnd, u);
        const double bank = Coverage((v - scene.Bank(u)) / px + 2);
        return water * open * (1 - bank) * scene.Reflectivity(u, v);
    });
}

std::vector<uint8_t> DrawFlagMask(int width, int height)
{
    const LakesideScene scene(height);
    return BrushMask(width, height, [&](double u, double v) { return Coverage(scene.Flag(u, v) / scene.Pixel()); });
}

std::vector<uint8_t> DrawReedsMask(int width, int height)
{
    const LakesideScene scene(height);
    const double reach = 13.0 / 640.0;
    return BrushMask(width, height, [&](double u, double v) {
        double distance = 0, up = 0;
        scene.NearestReed(u, v, distance, up);
        // The stalks bend from the root, so the shift grows with the square
        // of the height.
        return SmoothStep(reach, reach * 0.4, distance) * up * up;
    });
}

std::vector<uint8_t> DrawWillowMask(int width, int height)
{
    return BrushMask(width, height, [&](double u, double v) {
        const double across = SmoothStep(StrandsLeft - 0.01, StrandsLeft + 0.03, u) *
                              SmoothStep(StrandsRight + 0.03, StrandsRight - 0.01, u);
        const double down = SmoothStep(CrownV + 0.02, 0.47, v) * SmoothStep(0.515, 0.495, v);
        // The trunk stands still.
        const double trunk = SmoothStep(0.032, 0.016, std::abs(u - LakesideScene::TrunkCentre(v)));
        return across * down * (1 - trunk);
    });
}

std::vector<uint8_t> DrawLanternMask(int width, int height)
{
    return BrushMask(width, height, [&](double u, double v) {
        const double d = std::sqrt(Square(u - LanternU) + Square(v - LanternV));
        return SmoothStep(0.075, 0.035, d);
    });
}
