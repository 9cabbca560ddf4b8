#include "tools/assets/WaterBrushArt.h"

#include "tools/assets/ArtKit.h"

#include <algorithm>
#include <cmath>

using namespace art;

namespace {

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

Colour Times(Colour a, Colour b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

} // namespace

// --- Ripple bump map -------------------------------------------------------

Image DrawRippleBump(int size)
{
    // Ridged noise gives the sharp crests and wide troughs of small ripples;
    // a finer layer breaks them up. Whole cells per tile, so it repeats.
    const int cells = 6;
    std::vector<double> heights(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double u = double(cells) * x / size, v = double(cells) * y / size;
            const double broad = TileFbm(u, v, cells, cells, 0x89A1, 3);
            const double crest = 1 - std::abs(2 * broad - 1);
            const double fine = TileFbm(2 * u, 2 * v, 2 * cells, 2 * cells, 0x89A2, 3);
            heights[static_cast<std::size_t>(y) * size + x] = 0.55 * crest * crest + 0.25 * broad + 0.2 * fine;
        }
    const auto at = [&](int x, int y) {
        return heights[static_cast<std::size_t>((y + size) % size) * size + static_cast<std::size_t>((x + size) % size)];
    };
    // Slopes by central differences, scaled so that their spread fills the
    // channels without clipping more than the steepest crests.
    std::vector<double> gx(heights.size()), gy(heights.size());
    double sum = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * size + x;
            gx[i] = (at(x + 1, y) - at(x - 1, y)) * 0.5 * size / cells;
            gy[i] = (at(x, y + 1) - at(x, y - 1)) * 0.5 * size / cells;
            sum += gx[i] * gx[i] + gy[i] * gy[i];
        }
    const double rms = std::sqrt(sum / static_cast<double>(heights.size()));
    const double gain = rms > 0 ? 0.4 / rms : 0;
    Image image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * size + x;
            uint8_t* p = image.Pixel(x, y);
            p[0] = Byte(0.5 + 0.5 * std::clamp(gx[i] * gain, -1.0, 1.0));
            p[1] = Byte(0.5 + 0.5 * std::clamp(gy[i] * gain, -1.0, 1.0));
            p[2] = Byte(heights[i]);
            p[3] = 255;
        }
    return image;
}

// --- Moonlit lake ----------------------------------------------------------

namespace {

// The lake scene's layout, in picture heights from the top left.
struct Lake {
    static constexpr double Shore = 0.56; // the far shore's waterline
    static constexpr double MoonV = 0.17;
    static constexpr double MoonRadius = 0.038;

    explicit Lake(double aspectRatio) : aspect(aspectRatio), moonU(aspectRatio * 0.66) {}

    double aspect;
    double moonU;

    // The mountains' crest: broad peaks with a jagged edge.
    double Ridge(double u) const
    {
        const double broad = Clamp01(Fbm(u * 1.2 + 7.3, 0x1A1, 6) - 0.22);
        const double jagged = 1 - std::abs(2 * Fbm(u * 7.0, 0x1A8, 3) - 1);
        return 0.53 - 0.42 * broad - 0.03 * jagged;
    }

    // The top of the far shore's pines: one spike per tree.
    double TreeTop(double u) const
    {
        const double base = Shore - 0.022 - 0.014 * Fbm(u * 4.0, 0x1A2, 3);
        const double t = u * 75.0;
        const double f = Fraction(t);
        const int32_t i = static_cast<int32_t>(std::floor(t));
        const double tall = 0.012 + 0.032 * Random(i, 0, 0x1A3);
        return base - tall * (1 - std::abs(2 * f - 1));
    }

    // Everything above the water at (u, v); px is one pixel in picture
    // heights, so edges stay smooth.
    // reflected: seen in the water, where the rippled surface turns the
    // moon's disc into the glitter path.
    Colour Above(double u, double v, double px, bool reflected) const
    {
        const Stop sky[] = {{0.0, {0.006, 0.010, 0.040}},
                            {0.30, {0.018, 0.035, 0.100}},
                            {0.56, {0.070, 0.105, 0.210}}};
        Colour c = Gradient(sky, v);
        const double d = Length(u - moonU, v - MoonV);
        c = c + Colour{0.45, 0.52, 0.70} * (0.30 * Glow(d, 0.08)) + Colour{0.2, 0.25, 0.4} * (0.2 * Glow(d, 0.3));
        const double star = StarAt(u / px, v / px, 11.0, 0.22, 0x1A4) * SmoothStep(0.50, 0.15, v) *
                            SmoothStep(0.06, 0.16, d);
        c = c + Colour{0.85, 0.88, 1.0} * (star * (reflected ? 0.6 : 1.0));
        // The moon: a pale disc with soft darker seas.
        if (!reflected) {
            const double seas = SmoothStep(0.45, 0.7, Fbm((u - moonU) * 60, (v - MoonV) * 60, 0x1A5, 3));
            const Colour disc = Mix(Colour{0.98, 0.97, 0.90}, Colour{0.78, 0.78, 0.76}, seas * 0.6);
            c = Mix(c, disc, Coverage((MoonRadius - d) / px));
        }

        const double ridge = Ridge(u);
        if (v > ridge - px) {
            // Moonlit rock with a little snow near the crest, fading into
            // the haze above the water.
            const double grain = 0.75 + 0.5 * Fbm(u * 7, v * 11, 0x1A6, 4);
            Colour rock = Colour{0.055, 0.075, 0.13} * grain;
            const double snow = SmoothStep(0.04, 0.0, v - ridge) * SmoothStep(0.40, 0.33, ridge) *
                                SmoothStep(0.4, 0.6, Fbm(u * 40, v * 25, 0x1A7, 3));
            rock = rock + Colour{0.13, 0.15, 0.20} * snow;
            // Moonlight on the slopes that face it.
            rock = rock + Colour{0.03, 0.04, 0.06} * SmoothStep(0.45, 0.75, Fbm(u * 5 + v * 3, v * 9, 0x1A9, 4));
            rock = Mix(rock, Colour{0.075, 0.11, 0.20}, SmoothStep(ridge, Shore, v) * 0.65);
            c = Mix(c, rock, Coverage((v - ridge) / px));
        }
        const double trees = TreeTop(u);
        if (v > trees - px)
            c = Mix(c, Colour{0.010, 0.016, 0.028}, Coverage((v - trees) / px));
        // A pale strip of moonlit shingle along the waterline.
        c = Mix(c, Colour{0.11, 0.12, 0.15}, SmoothStep(Shore - 0.005, Shore - 0.001, v));
        return c;
    }

    // The reeds at the left and the rock at the right, in front of the water:
    // how much of the point they cover, and their colour there.
    double Foreground(double u, double v, double px, Colour& colour) const
    {
        double cover = 0;
        colour = {0, 0, 0};
        // The rock: a rounded boulder with a moonlit top.
        const double rx = (u - aspect * 0.87) / 0.19, ry = (v - 1.0) / 0.105;
        const double boulder = 1 - Length(rx, ry) + 0.12 * (Fbm(u * 9, v * 9, 0x1B1, 3) - 0.5);
        if (boulder > -0.05) {
            const double k = Coverage(boulder * 0.105 / px);
            const double rim = SmoothStep(0.12, 0.0, boulder) * SmoothStep(0.3, -0.4, rx + ry);
            const Colour rock = Colour{0.025, 0.03, 0.045} * (0.7 + 0.6 * Fbm(u * 30, v * 30, 0x1B2, 3)) +
                                Colour{0.14, 0.15, 0.19} * rim;
            colour = Mix(colour, rock, k);
            cover = std::max(cover, k);
        }
        // Reeds: curved blades rising from below the picture, some with a
        // seed head.
        for (int i = 0; i < 34; ++i) {
            const double base = 0.02 + 0.40 * Random(i, 0, 0x1B3);
            const double top = 0.70 + 0.16 * Random(i, 0, 0x1B4);
            if (v < top - 0.02)
                continue;
            const double lean = (Random(i, 0, 0x1B5) - 0.35) * 0.16;
            const double rise = Clamp01((1.02 - v) / (1.02 - top));
            const double centre = base + lean * rise * rise;
            const double half = 0.0035 * (1 - 0.8 * rise) + 0.0006;
            double inside = std::min(half - std::abs(u - centre), v - top);
            double k = Coverage(inside / px);
            Colour blade{0.012, 0.018, 0.018};
            if (Random(i, 0, 0x1B6) < 0.4) {
                const double hv = top + 0.028;
                const double head = 1 - Length((u - (base + lean * 0.8)) / 0.006, (v - hv) / 0.024);
                if (head > 0) {
                    k = std::max(k, Coverage(head * 0.006 / px));
                    blade = Colour{0.04, 0.03, 0.02};
                }
            }
            if (k > 0) {
                colour = Mix(colour, blade, k);
                cover = std::max(cover, k);
            }
        }
        return cover;
    }

    Colour Water(double u, double v, double px) const
    {
        const double depth = v - Shore;
        // Reflection of what stands above, wavering more towards the viewer.
        const double waver = (Fbm(u * 5, v * 110, 0x1C1, 3) - 0.5) * (0.002 + depth * 0.03);
        const double mirrored = Shore - depth * 0.98 - std::abs(waver) * 0.3;
        const Colour seen = Above(u + waver, std::max(0.0, mirrored), px, true);
        const double reflect = 0.78 - 0.38 * SmoothStep(0, 0.44, depth);
        Colour c = Mix(Colour{0.006, 0.014, 0.032}, seen, reflect);
        // Faint lines of moonlit ripples across the lake.
        const double lines = SmoothStep(0.68, 0.9, Fbm(u * 9, v * 240, 0x1C2, 3));
        c = c + Colour{0.04, 0.05, 0.08} * (lines * (1 - SmoothStep(0, 0.44, depth) * 0.6));
        // The moon's glitter path widens towards the viewer and breaks into
        // streaks.
        const double path = (u - moonU) / (0.016 + depth * 0.30);
        const double column = 1.0 / ((1 + path * path) * (1 + path * path));
        const double streak = SmoothStep(0.52, 0.8, Fbm(u * 28, v * 360, 0x1C3, 3));
        c = c + Colour{0.85, 0.88, 1.0} * (column * (0.08 + 1.2 * streak) * (1 - 0.4 * SmoothStep(0, 0.44, depth)));
        return c;
    }
};

} // namespace

Image DrawMoonlitLake(int width, int height)
{
    const double px = 1.0 / height;
    const Lake lake(double(width) / height);
    return Render(width, height, [&](int, double u, double v) {
        Colour c = v < Lake::Shore ? lake.Above(u, v, px, false) : lake.Water(u, v, px);
        Colour front;
        const double cover = lake.Foreground(u, v, px, front);
        return Mix(c, front, cover);
    });
}

std::vector<uint8_t> DrawLakeWaterMask(int width, int height)
{
    const double px = 1.0 / height;
    const Lake lake(double(width) / height);
    return BrushMask(width, height, [&](double u, double v) {
        Colour unused;
        const double open = SmoothStep(Lake::Shore + 0.002, Lake::Shore + 0.014, v);
        return open * (1 - lake.Foreground(u, v, px * 3, unused));
    });
}

std::vector<uint8_t> DrawMoonPathMask(int width, int height)
{
    const double px = 1.0 / height;
    const Lake lake(double(width) / height);
    return BrushMask(width, height, [&](double u, double v) {
        Colour unused;
        const double depth = v - Lake::Shore;
        const double path = std::abs(u - lake.moonU) / (0.04 + depth * 0.55);
        const double open = SmoothStep(0.004, 0.03, depth);
        return SmoothStep(1.0, 0.45, path) * open * (1 - lake.Foreground(u, v, px * 3, unused));
    });
}

// --- Harbour lights --------------------------------------------------------

namespace {

struct Harbour {
    static constexpr double Horizon = 0.60;
    static constexpr double LighthouseU = 0.17;
    static constexpr double LampV = 0.155;
    static constexpr double QuayTop = 0.645;
    static constexpr double WaterLine = 0.70; // the foot of the quay wall
    static constexpr double WindowTop = 0.53;
    static constexpr double WindowBottom = 0.578;
    static constexpr double LanternV = 0.517;

    explicit Harbour(double aspectRatio) : aspect(aspectRatio) {}

    double aspect;

    double QuayLeft() const { return aspect * 0.57; }
    double CottageLeft() const { return aspect * 0.70; }
    double CottageRight() const { return aspect * 0.90; }
    double Window(int i) const { return aspect * (i == 0 ? 0.735 : 0.825); }
    double WindowWidth() const { return aspect * 0.032; }
    double LanternU() const { return aspect * 0.615; }

    double RockTop(double u) const
    {
        return 0.46 + 0.56 * SmoothStep(0.18, 0.78, u) + 0.03 * (Fbm(u * 8, 0x2A1, 4) - 0.5);
    }

    // The warm light of the lamps at a point in the air or on a wall.
    Colour LampGlow(double u, double v) const
    {
        Colour glow = Colour{1.0, 0.9, 0.65} * (0.55 * Glow(Length(u - LighthouseU, v - LampV), 0.035));
        for (int i = 0; i < 2; ++i) {
            const double cx = Window(i) + WindowWidth() / 2, cy = (WindowTop + WindowBottom) / 2;
            glow = glow + Colour{1.0, 0.6, 0.25} * (0.22 * Glow(Length(u - cx, v - cy), 0.04));
        }
        glow = glow + Colour{1.0, 0.75, 0.4} * (0.4 * Glow(Length(u - LanternU(), v - LanternV), 0.025));
        return glow;
    }

    Colour Sky(double u, double v, double px) const
    {
        const Stop sky[] = {{0.0, {0.008, 0.012, 0.045}},
                            {0.42, {0.025, 0.050, 0.120}},
                            {0.60, {0.080, 0.110, 0.190}}};
        Colour c = Gradient(sky, v);
        // The last of the dusk, low on the right.
        c = c + Colour{0.12, 0.10, 0.12} * (SmoothStep(0.35, 0.6, v) * SmoothStep(0.4, 1.4, u / aspect * 1.4));
        const double cloud = SmoothStep(0.5, 0.75, Fbm(u * 2.5, v * 7, 0x2A2, 5)) * SmoothStep(0.05, 0.3, v);
        c = Mix(c, Colour{0.03, 0.04, 0.07}, cloud * 0.7);
        c = c + Colour{0.85, 0.88, 1.0} * (StarAt(u / px, v / px, 12.0, 0.2, 0x2A3) * SmoothStep(0.45, 0.15, v) *
                                           (1 - cloud));
        return c;
    }

    // The lighthouse over the sky and the rocks: how much it covers and its
    // colour.
    double Lighthouse(double u, double v, double px, Colour& colour) const
    {
        const double baseV = RockTop(LighthouseU) + 0.01;
        const double du = std::abs(u - LighthouseU);
        double cover = 0;
        colour = {0, 0, 0};
        if (v > 0.18 && v < baseV) {
            const double t = (v - 0.18) / (baseV - 0.18);
            const double half = 0.013 + 0.010 * t;
            const double k = Coverage((half - du) / px);
            // White and red bands in moonlight, brighter on the lamp's side.
            const bool red = Fraction((v - 0.18) / 0.07) < 0.5;
            Colour wall = red ? Colour{0.16, 0.035, 0.035} : Colour{0.22, 0.22, 0.24};
            wall = wall * (0.55 + 0.45 * (1 - (u - LighthouseU) / half) * 0.5);
            colour = wall + Colour{1.0, 0.9, 0.65} * (0.25 * SmoothStep(0.1, 0.0, v - 0.18));
            cover = k;
        }
        // Gallery and railing, lamp room, cap.
        const double gallery = std::min(0.024 - du, std::min(v - 0.176, 0.186 - v));
        if (gallery > -px) {
            const double k = Coverage(gallery / px);
            colour = Mix(colour, Colour{0.05, 0.05, 0.06}, k);
            cover = std::max(cover, k);
        }
        const double room = std::min(0.011 - du, std::min(v - 0.135, 0.176 - v));
        if (room > -px) {
            const double k = Coverage(room / px);
            colour = Mix(colour, Colour{1.0, 0.95, 0.78}, k);
            cover = std::max(cover, k);
        }
        const double cap = std::min(v - (0.115 + du * 1.3), 0.137 - v);
        if (cap > -px && du < 0.016) {
            const double k = Coverage(cap / px);
            colour = Mix(colour, Colour{0.06, 0.03, 0.03}, k);
            cover = std::max(cover, k);
        }
        return cover;
    }

    // The quay, the cottage and the lantern.
    double Quay(double u, double v, double px, Colour& colour) const
    {
        double cover = 0;
        colour = {0, 0, 0};
        const Colour glow = LampGlow(u, v);
        if (u > QuayLeft() - px && v > QuayTop - px && v < WaterLine) {
            const double k = Coverage((u - QuayLeft()) / px) * Coverage((v - QuayTop) / px);
            const double course = Fraction(v / 0.018) < 0.12 ? 0.6 : 1.0;
            Colour stone = Colour{0.05, 0.05, 0.055} * (course * (0.8 + 0.4 * Fbm(u * 40, v * 40, 0x2B1, 3)));
            stone = stone + Times(Colour{0.3, 0.2, 0.12}, glow);
            colour = Mix(colour, stone, k);
            cover = std::max(cover, k);
        }
        // The cottage: walls, a pitched roof, a chimney and two lit windows.
        const double left = CottageLeft(), right = CottageRight(), mid = (left + right) / 2;
        const double wall = std::min(std::min(u - left, right - u), std::min(v - 0.47, QuayTop - v));
        if (wall > -px) {
            const double k = Coverage(wall / px);
            Colour plaster = Colour{0.07, 0.065, 0.06} * (0.85 + 0.3 * Fbm(u * 30, v * 30, 0x2B2, 2));
            plaster = plaster + Times(Colour{0.5, 0.35, 0.2}, glow);
            for (int i = 0; i < 2; ++i) {
                const double w = std::min(std::min(u - Window(i), Window(i) + WindowWidth() - u),
                                          std::min(v - WindowTop, WindowBottom - v));
                const double bars = std::min(std::abs(u - (Window(i) + WindowWidth() / 2)),
                                             std::abs(v - (WindowTop + WindowBottom) / 2));
                Colour pane = Mix(Colour{1.0, 0.78, 0.42}, Colour{0.9, 0.55, 0.22}, (v - WindowTop) / 0.05);
                pane = Mix(Colour{0.08, 0.05, 0.03}, pane, SmoothStep(0.0012, 0.0026, bars));
                plaster = Mix(plaster, pane, Coverage(w / px));
            }
            colour = Mix(colour, plaster, k);
            cover = std::max(cover, k);
        }
        const double roof = std::min(v - (0.38 + std::abs(u - mid) * 0.95), 0.4705 - v);
        if (roof > -px && std::abs(u - mid) < (right - left) / 2 + 0.02) {
            const double k = Coverage(roof / px);
            const Colour slate = Colour{0.035, 0.035, 0.05} * (0.8 + 0.4 * SmoothStep(0.4, 0.6, Fraction(v / 0.012)));
            colour = Mix(colour, slate, k);
            cover = std::max(cover, k);
        }
        const double chimney = std::min(std::min(u - (right - 0.06), right - 0.035 - u), v - 0.37);
        if (chimney > -px && v < 0.45) {
            const double k = Coverage(chimney / px);
            colour = Mix(colour, Colour{0.04, 0.03, 0.03}, k);
            cover = std::max(cover, k);
        }
        // The lantern on its post.
        const double du = std::abs(u - LanternU());
        const double post = std::min(0.0028 - du, std::min(v - LanternV, QuayTop + 0.002 - v));
        if (post > -px) {
            const double k = Coverage(post / px);
            colour = Mix(colour, Colour{0.02, 0.02, 0.02}, k);
            cover = std::max(cover, k);
        }
        const double lamp = std::min(0.009 - du * (1 + (v - 0.497) * 8), std::min(v - 0.497, 0.537 - v));
        if (lamp > -px) {
            const double k = Coverage(lamp / px);
            colour = Mix(colour, Colour{1.0, 0.86, 0.55}, k);
            cover = std::max(cover, k);
        }
        return cover;
    }

    Colour Water(double u, double v, double px) const
    {
        const double depth = v - Horizon;
        const double waver = (Fbm(u * 6, v * 130, 0x2C1, 3) - 0.5) * (0.002 + depth * 0.035);
        const Colour sky = Sky(u + waver, std::max(0.0, Horizon - depth * 0.9), px);
        Colour c = Mix(Colour{0.005, 0.012, 0.03}, sky, 0.7 - 0.35 * SmoothStep(0, 0.4, depth));
        const double lines = SmoothStep(0.62, 0.9, Fbm(u * 8, v * 220, 0x2C2, 3));
        c = c + Colour{0.03, 0.04, 0.07} * lines;
        // Broken columns of light under each lamp.
        const double streak = 0.25 + 1.1 * SmoothStep(0.45, 0.8, Fbm(u * 30, v * 320, 0x2C3, 3));
        const auto column = [&](double lu, double width, double start) {
            if (v < start)
                return 0.0;
            const double p = (u - lu) / (width + (v - start) * 0.05);
            return 1.0 / ((1 + p * p) * (1 + p * p)) * SmoothStep(start, start + 0.01, v);
        };
        c = c + Colour{1.0, 0.9, 0.65} * (0.35 * streak * column(LighthouseU, 0.01, Horizon));
        for (int i = 0; i < 2; ++i)
            c = c + Colour{1.0, 0.62, 0.28} * (0.45 * streak * column(Window(i) + WindowWidth() / 2, 0.012, WaterLine));
        c = c + Colour{1.0, 0.78, 0.42} * (0.45 * streak * column(LanternU(), 0.008, WaterLine));
        return c;
    }

    Colour At(double u, double v, double px) const
    {
        Colour c = v < Horizon ? Sky(u, v, px) : Water(u, v, px);
        c = c + LampGlow(u, v) * 0.6;
        const double top = RockTop(u);
        if (v > top - px) {
            const double k = Coverage((v - top) / px);
            Colour rock = Colour{0.03, 0.032, 0.04} * (0.6 + 0.8 * Fbm(u * 14, v * 14, 0x2D1, 4));
            rock = rock + Colour{0.12, 0.13, 0.17} * SmoothStep(0.015, 0.0, v - top);
            rock = rock + Times(Colour{0.4, 0.35, 0.25}, LampGlow(u, v));
            c = Mix(c, rock, k);
        }
        Colour tower;
        const double towerCover = Lighthouse(u, v, px, tower);
        c = Mix(c, tower, towerCover);
        Colour quay;
        const double quayCover = Quay(u, v, px, quay);
        return Mix(c, quay, quayCover);
    }

    // The open water, clear of the rocks and the quay.
    double OpenWater(double u, double v) const
    {
        const double sea = SmoothStep(Horizon + 0.004, Horizon + 0.02, v);
        const double rocks = SmoothStep(RockTop(u) - 0.01, RockTop(u) - 0.025, v);
        const double quay = v < WaterLine + 0.01 ? SmoothStep(QuayLeft() - 0.002, QuayLeft() - 0.015, u) : 1.0;
        return sea * rocks * quay;
    }
};

} // namespace

Image DrawHarbourLights(int width, int height)
{
    const double px = 1.0 / height;
    const Harbour harbour(double(width) / height);
    return Render(width, height, [&](int, double u, double v) { return harbour.At(u, v, px); });
}

std::vector<uint8_t> DrawHarbourLightMask(HarbourLight light, int width, int height)
{
    const Harbour h(double(width) / height);
    return BrushMask(width, height, [&](double u, double v) {
        // The light's own glow, then its reflection where the water shows it.
        const auto glow = [&](double cu, double cv, double radius, double reflection) {
            double value = SmoothStep(radius, radius * 0.3, Length(u - cu, v - cv));
            if (reflection > 0) {
                const double mirrored = 2 * reflection - cv;
                // A soft column, like the streak the ripples make of it.
                const double across = (u - cu) / (radius * 0.35);
                const double along = (v - mirrored) / (radius * 2.5);
                value = std::max(value, SmoothStep(1.0, 0.0, Length(across, along)) * h.OpenWater(u, v));
            }
            return value;
        };
        switch (light) {
        case HarbourLight::Lighthouse:
            return glow(Harbour::LighthouseU, Harbour::LampV, 0.1, 0);
        case HarbourLight::Windows: {
            double value = 0;
            for (int i = 0; i < 2; ++i)
                value = std::max(value, glow(h.Window(i) + h.WindowWidth() / 2,
                                             (Harbour::WindowTop + Harbour::WindowBottom) / 2, 0.09,
                                             Harbour::WaterLine));
            return value;
        }
        case HarbourLight::Lantern:
            return glow(h.LanternU(), Harbour::LanternV, 0.07, Harbour::WaterLine);
        }
        return 0.0;
    });
}

std::vector<uint8_t> DrawHarbourWaterMask(int width, int height)
{
    const Harbour h(double(width) / height);
    return BrushMask(width, height, [&](double u, double v) { return h.OpenWater(u, v); });
}

// --- Coral reef ------------------------------------------------------------

namespace {

struct Reef {
    explicit Reef(double aspectRatio) : aspect(aspectRatio) {}

    double aspect;

    static Colour WaterAt(double v)
    {
        const Stop water[] = {{0.0, {0.30, 0.70, 0.78}},
                              {0.14, {0.11, 0.46, 0.64}},
                              {0.50, {0.035, 0.26, 0.46}},
                              {1.0, {0.015, 0.11, 0.25}}};
        return Gradient(water, v);
    }

    double Floor(double u) const { return 0.79 + 0.05 * Fbm(u * 2.1, 0x3A1, 4); }

    // Light from the surface: beams fanning from a point above the picture.
    double Beams(double u, double v) const
    {
        const double sx = aspect * 0.38, sy = -0.45;
        const double slope = (u - sx) / (v - sy);
        const double rays = SmoothStep(0.5, 0.85, Fbm(slope * 7.0, 0x3A2, 4));
        return rays * SmoothStep(1.0, 0.0, v) * (0.6 + 0.4 * Fbm(slope * 2.0, v * 3.0, 0x3A3, 2));
    }

    Colour Background(double u, double v, double px) const
    {
        Colour c = WaterAt(v);
        c = c + Colour{0.45, 0.75, 0.80} * (0.32 * Beams(u, v));
        // The surface seen from below: a bright, rippled sheet.
        const double surface = SmoothStep(0.06, 0.0, v) * (0.5 + 0.5 * Fbm(u * 18, v * 70, 0x3A4, 3));
        c = Mix(c, Colour{0.75, 0.92, 0.95}, surface * 0.7);
        // Sand, rippled, fading into the blue with distance.
        const double floor = Floor(u);
        if (v > floor - px) {
            const double ripple = 0.5 + 0.5 * Sine(u * 9 + 2.5 * Fbm(u * 3, v * 6, 0x3A5, 3) + v * 4);
            Colour sand = Colour{0.62, 0.60, 0.46} * (0.55 + 0.25 * ripple + 0.2 * Fbm(u * 40, v * 40, 0x3A6, 2));
            sand = Mix(WaterAt(floor), sand, SmoothStep(floor, floor + 0.16, v) * 0.85);
            c = Mix(c, sand, Coverage((v - floor) / px));
        }
        return c;
    }

    // Objects blend into the water with distance: 0 near, 1 lost in blue.
    static Colour Fogged(Colour colour, double v, double fog) { return Mix(colour, WaterAt(v), fog); }

    // A rock mound with coral: brain corals (ridged domes) and fan corals.
    double Coral(double u, double v, double px, Colour& colour) const
    {
        double cover = 0;
        colour = {0, 0, 0};
        // The mound.
        const double mx = (u - aspect * 0.74) / 0.36, my = (v - 0.98) / 0.30;
        const double mound = 1 - Length(mx, my) + 0.1 * (Fbm(u * 6, v * 6, 0x3B1, 4) - 0.5);
        if (mound > -0.02) {
            const double k = Coverage(mound * 0.30 / px);
            // Weathered stone crusted with algae and small growths, lit from
            // above.
            const double grain = Fbm(u * 25, v * 25, 0x3B2, 4);
            Colour rock = Mix(Colour{0.22, 0.18, 0.15}, Colour{0.30, 0.28, 0.20}, grain) * (0.55 + 0.6 * grain);
            const double algae = SmoothStep(0.5, 0.7, Fbm(u * 9, v * 9, 0x3B5, 4));
            rock = Mix(rock, Colour{0.18, 0.30, 0.18}, algae * 0.6);
            const double spots = SmoothStep(0.74, 0.8, Fbm(u * 160, v * 160, 0x3B6, 2));
            rock = Mix(rock, Colour{0.70, 0.40, 0.38}, spots * 0.45);
            rock = rock * (0.75 + 0.5 * Clamp01(-my * 1.4 - 0.1));
            colour = Mix(colour, Fogged(rock, v, 0.25), k);
            cover = std::max(cover, k);
        }
        // Brain corals on the mound and the sand.
        const struct {
            double u, v, r;
            Colour tint;
        } domes[] = {{0.62, 0.76, 0.07, {0.90, 0.48, 0.28}},
                     {0.80, 0.73, 0.055, {0.75, 0.62, 0.30}},
                     {0.50, 0.90, 0.05, {0.85, 0.40, 0.50}},
                     {0.93, 0.80, 0.06, {0.55, 0.45, 0.75}},
                     {0.18, 0.92, 0.045, {0.90, 0.55, 0.30}}};
        for (const auto& d : domes) {
            const double cu = aspect * d.u;
            const double dx = (u - cu) / d.r, dy = (v - d.v) / (d.r * 0.75);
            const double inside = std::min(1 - Length(dx, dy), d.v + d.r * 0.25 - v);
            if (inside < -0.05)
                continue;
            const double k = Coverage(inside * d.r * 0.75 / px);
            const double grooves = 1 - std::abs(2 * Fbm(u * 90, v * 90, 0x3B3, 2) - 1);
            const double shade = 0.55 + 0.45 * Clamp01(-dy * 0.8 + 0.4) - 0.25 * SmoothStep(0.7, 0.95, grooves);
            colour = Mix(colour, Fogged(d.tint * shade, v, 0.15), k);
            cover = std::max(cover, k);
        }
        // Fan corals: flat fans of fine veins on short stems.
        const struct {
            double u, v, r;
            Colour tint;
        } fans[] = {{0.70, 0.70, 0.13, {0.60, 0.18, 0.45}}, {0.88, 0.68, 0.10, {0.85, 0.30, 0.30}}};
        for (const auto& f : fans) {
            const double cu = aspect * f.u;
            const double dx = u - cu, dy = f.v - v;
            const double r = Length(dx, dy);
            if (dy < -0.01 || r > f.r * 1.1)
                continue;
            const double edge = f.r * (0.85 + 0.15 * Fbm(dx * 30, 0x3B4, 3)) - r;
            const double angle = dx / (r + 1e-6);
            const double veins = std::abs(Sine(angle * 5 + r * 2.0) * Sine(r * 28));
            const double k = Coverage(edge / px) * SmoothStep(-0.01, 0.01, dy) * (0.55 + 0.45 * SmoothStep(0.2, 0.7, veins));
            colour = Mix(colour, Fogged(f.tint * (0.6 + 0.4 * (1 - r / f.r)), v, 0.3), k);
            cover = std::max(cover, k);
        }
        return cover;
    }

    // Sea grass swaying up from the sand at the left.
    double Grass(double u, double v, double px, Colour& colour) const
    {
        double cover = 0;
        colour = {0, 0, 0};
        for (int i = 0; i < 22; ++i) {
            const double base = aspect * (0.02 + 0.30 * Random(i, 0, 0x3C1));
            const double bottom = Floor(base) + 0.04 + 0.08 * Random(i, 0, 0x3C2);
            const double top = bottom - 0.25 - 0.25 * Random(i, 0, 0x3C3);
            if (v < top - 0.01 || v > bottom)
                continue;
            const double rise = (bottom - v) / (bottom - top);
            const double centre = base + 0.035 * rise * Sine(rise * 0.9 + Random(i, 0, 0x3C4));
            const double half = 0.005 * (1 - 0.7 * rise);
            const double inside = std::min(half - std::abs(u - centre), v - top);
            const double k = Coverage(inside / px);
            if (k <= 0)
                continue;
            const Colour blade = Colour{0.14, 0.42, 0.22} * (0.6 + 0.5 * rise);
            colour = Mix(colour, Fogged(blade, v, 0.2 + 0.3 * Random(i, 0, 0x3C5)), k);
            cover = std::max(cover, k);
        }
        return cover;
    }

    // A school of small silver fish and two yellow ones by the coral.
    double Fish(double u, double v, double px, Colour& colour) const
    {
        double cover = 0;
        colour = {0, 0, 0};
        const auto fish = [&](double cu, double cv, double length, double height, Colour back, Colour belly,
                              double fog, bool left) {
            const double dx = (u - cu) * (left ? -1 : 1), dy = v - cv;
            double inside = 1 - Length(dx / length, dy / height);
            // The tail: a notched fin behind the body.
            const double tx = -dx - length * 0.85;
            if (tx > 0 && tx < length * 0.55)
                inside = std::max(inside, (tx * 0.9 - std::abs(dy) / height * length * 0.35) / length);
            if (inside < -0.1)
                return;
            const double k = Coverage(inside * height / px);
            Colour body = Mix(back, belly, SmoothStep(-0.4, 0.6, dy / height));
            const double eye = Length(dx - length * 0.55, dy + height * 0.15);
            body = Mix(body, Colour{0.02, 0.02, 0.03}, SmoothStep(height * 0.22, height * 0.12, eye));
            colour = Mix(colour, Fogged(body, v, fog), k);
            cover = std::max(cover, k);
        };
        for (int i = 0; i < 28; ++i) {
            const double cu = aspect * (0.18 + 0.38 * Random(i, 1, 0x3D1));
            const double cv = 0.30 + 0.20 * Random(i, 1, 0x3D2) + (cu / aspect - 0.37) * 0.12;
            if (std::abs(u - cu) > 0.04 || std::abs(v - cv) > 0.02)
                continue;
            const double size = 0.014 + 0.006 * Random(i, 1, 0x3D3);
            fish(cu, cv, size, size * 0.36, {0.30, 0.42, 0.52}, {0.78, 0.86, 0.90}, 0.35 + 0.3 * Random(i, 1, 0x3D4),
                 false);
        }
        fish(aspect * 0.56, 0.60, 0.045, 0.03, {0.95, 0.78, 0.10}, {1.0, 0.92, 0.45}, 0.1, true);
        fish(aspect * 0.66, 0.55, 0.036, 0.024, {0.92, 0.72, 0.08}, {1.0, 0.90, 0.40}, 0.15, true);
        return cover;
    }

    // Bubbles rising from the sea grass.
    double Bubbles(double u, double v, double px) const
    {
        double light = 0;
        for (int i = 0; i < 14; ++i) {
            const double cv = 0.15 + 0.55 * Random(i, 2, 0x3E1);
            const double cu = aspect * 0.16 + 0.02 * Sine(cv * 3 + 0.3) + 0.01 * Random(i, 2, 0x3E2);
            const double r = 0.003 + 0.005 * Random(i, 2, 0x3E3);
            const double d = Length(u - cu, v - cv);
            if (d > r + px * 2)
                continue;
            light = std::max(light, Coverage((r - d) / px) * (0.35 + 0.65 * SmoothStep(r * 0.5, r, d)));
        }
        return light;
    }

    Colour At(double u, double v, double px) const
    {
        Colour c = Background(u, v, px);
        Colour part;
        double k = Grass(u, v, px, part);
        c = Mix(c, part, k);
        k = Coral(u, v, px, part);
        c = Mix(c, part, k);
        k = Fish(u, v, px, part);
        c = Mix(c, part, k);
        c = Mix(c, Colour{0.8, 0.95, 1.0}, Bubbles(u, v, px) * 0.6);
        // The beams light what they cross.
        return c + Colour{0.10, 0.16, 0.16} * Beams(u, v);
    }
};

} // namespace

Image DrawSunlitReef(int width, int height)
{
    const double px = 1.0 / height;
    const Reef reef(double(width) / height);
    return Render(width, height, [&](int, double u, double v) { return reef.At(u, v, px); });
}
