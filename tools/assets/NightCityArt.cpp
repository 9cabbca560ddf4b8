#include "tools/assets/NightCityArt.h"

#include "tools/assets/ArtKit.h"
#include "tools/encoders/JpegWriter.h"

#include <algorithm>
#include <cmath>

using namespace art;

namespace {

const int PictureWidth = 1280;
const int PictureHeight = 800;
const int Quality = 90;

// One row of towers: each tower spans a random width and rises to a random
// height; the row's base colour and window light come from the caller.
struct TowerRow {
    double meanWidth; // in picture heights
    double low, high; // top heights above the bottom, in picture heights
    uint32_t seed;
};

// The tower of the row at u (picture heights from the left): its index, left
// edge, width and top (from the picture's top, in picture heights).
struct Tower {
    int index;
    double left, width, top;
};

Tower TowerAt(const TowerRow& row, double u)
{
    // Fixed slots of the mean width, each holding one tower of its own width
    // centred in it; gaps between towers show the row behind.
    const int index = static_cast<int>(std::floor(u / row.meanWidth));
    const double slotLeft = index * row.meanWidth;
    const double width = row.meanWidth * (0.55 + 0.45 * Random(index, 0, row.seed));
    const double left = slotLeft + (row.meanWidth - width) * Random(index, 1, row.seed);
    const double height = row.low + (row.high - row.low) * std::pow(Random(index, 2, row.seed), 1.5);
    return {index, left, width, 1.0 - height};
}

// Coverage of the tower at (u, v) with a one-pixel soft edge, 0 outside.
double TowerCoverage(const Tower& t, double u, double v, double px)
{
    const double inside = std::min({u - t.left, t.left + t.width - u, v - t.top});
    // A thin mast on a few towers.
    const bool mast = Random(t.index, 3, 77) > 0.75;
    const double mastX = t.left + t.width * 0.5;
    const double mastCover = mast ? Clamp01(0.5 + (0.0015 - std::fabs(u - mastX)) / px) *
                                        (v > t.top - 0.05 && v < t.top ? 1.0 : 0.0)
                                  : 0.0;
    return std::max(Clamp01(inside / px + 0.5), mastCover);
}

// The lit windows of a tower: a grid of small cells, some warm, some cool,
// most dark.
double WindowLight(const Tower& t, double u, double v, uint32_t seed, Colour& colour)
{
    const double cellW = 0.0085;
    const double cellH = 0.012;
    const double x = (u - t.left - 0.004) / cellW;
    const double y = (v - t.top - 0.01) / cellH;
    if (x < 0 || y < 0 || u > t.left + t.width - 0.004)
        return 0.0;
    const int cx = static_cast<int>(x);
    const int cy = static_cast<int>(y);
    const double fx = x - cx;
    const double fy = y - cy;
    if (fx > 0.6 || fy > 0.55)
        return 0.0;
    const double r = Random(cx + t.index * 131, cy, seed);
    if (r > 0.14)
        return 0.0;
    colour = r < 0.05 ? Colour{0.75, 0.9, 1.0} : Colour{1.0, 0.82, 0.5};
    return 0.55 + 0.45 * Random(cx, cy + t.index * 17, seed + 1);
}

// The moon's darker seas, in moon radii from its centre.
struct Spot {
    double x, y, radius, depth;
};
const Spot MoonSpots[] = {
    {-0.30, -0.25, 0.30, 0.10}, {0.25, -0.10, 0.22, 0.08}, {-0.05, 0.30, 0.35, 0.09},
    {0.40, 0.35, 0.15, 0.06},   {-0.45, 0.20, 0.12, 0.05},
};

} // namespace

Image DrawNightCity(int width, int height)
{
    Image image(width, height);
    const double px = 1.0 / height;
    const double aspect = static_cast<double>(width) / height;
    const TowerRow far{0.045, 0.22, 0.42, 11};
    const TowerRow near{0.07, 0.12, 0.55, 23};
    const double moonX = aspect * 0.72;
    const double moonY = 0.22;
    const double moonR = 0.085;
    const double horizon = 0.78;

    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double u = (x + 0.5) * px;
            const double v = (y + 0.5) * px;

            // Sky: indigo overhead to a bright teal glow at the horizon, the
            // last light of dusk.
            Colour c = Mix(Colour{0.06, 0.07, 0.22}, Colour{0.16, 0.42, 0.58}, SmoothStep(0.0, horizon, v));
            c = Mix(c, Colour{0.70, 0.92, 0.95}, 0.80 * SmoothStep(horizon - 0.45, horizon, v));
            // The moon with a wide halo.
            const double dm = std::hypot(u - moonX, v - moonY);
            const double halo = 0.35 * std::exp(-(dm - moonR) * 9.0) * (dm > moonR ? 1.0 : 0.0);
            c = Mix(c, Colour{0.75, 0.85, 1.0}, Clamp01(halo));
            const double disc = Clamp01((moonR - dm) / px + 0.5);
            double craters = 0.0;
            for (const Spot& spot : MoonSpots) {
                const double sx = (u - moonX) / moonR - spot.x;
                const double sy = (v - moonY) / moonR - spot.y;
                craters += spot.depth * std::exp(-(sx * sx + sy * sy) / (spot.radius * spot.radius));
            }
            c = Mix(c, Colour{0.97 - craters, 0.96 - craters, 0.90 - craters}, disc);

            // The far row: hazy blue-grey, faintly lit.
            const Tower tf = TowerAt(far, u);
            const double farCover = TowerCoverage(tf, u, v, px);
            if (farCover > 0) {
                Colour body = Mix(Colour{0.10, 0.16, 0.24}, Colour{0.16, 0.26, 0.34}, SmoothStep(0.5, 1.0, v));
                Colour lit{};
                const double w = WindowLight(tf, u, v, 5, lit);
                body = Mix(body, Mix(body, lit, 0.6), w);
                c = Mix(c, body, farCover);
            }
            // The near row: nearly black, with bright windows.
            const Tower tn = TowerAt(near, u);
            const double nearCover = TowerCoverage(tn, u, v, px);
            if (nearCover > 0) {
                Colour body{0.015, 0.02, 0.035};
                Colour lit{};
                const double w = WindowLight(tn, u, v, 9, lit);
                body = Mix(body, lit, w);
                c = Mix(c, body, nearCover);
            }
            // A faint glow rising from the streets.
            c = Mix(c, Colour{0.9, 0.6, 0.35}, 0.10 * SmoothStep(0.85, 1.0, v));

            uint8_t* p = image.Pixel(x, y);
            const double dither = (Random(x, y, 0x5EED) - 0.5) / 255.0;
            p[0] = static_cast<uint8_t>(std::lround(Clamp01(c.r + dither) * 255.0));
            p[1] = static_cast<uint8_t>(std::lround(Clamp01(c.g + dither) * 255.0));
            p[2] = static_cast<uint8_t>(std::lround(Clamp01(c.b + dither) * 255.0));
            p[3] = 255;
        }
    return image;
}

Bytes MakeNightCityFile() { return EncodeJpeg(DrawNightCity(PictureWidth, PictureHeight), Quality); }
