#include "tools/assets/ProgramArt.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
double Smooth(double e0, double e1, double x)
{
    const double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
uint8_t Byte(double v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0)); }

// A small fixed hash so the pictures never depend on a library's generator.
uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed)
{
    uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}
double Unit(uint32_t x, uint32_t y, uint32_t seed) { return (Hash(x, y, seed) & 0xFFFF) / 65535.0; }

} // namespace

Image DrawOrb(int size)
{
    Image img(size, size);
    const double c = (size - 1) / 2.0;
    const double radius = size * 0.47;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = (x - c) / radius, dy = (y - c) / radius;
            const double d = std::sqrt(dx * dx + dy * dy);
            // Deep night blue to violet from the top down, darker at the rim.
            const double t = Clamp01((dy + 1) / 2);
            double r = 0.05 + 0.25 * t, g = 0.07 + 0.05 * t, b = 0.30 + 0.25 * (1 - t);
            const double rim = Smooth(0.6, 1.0, d);
            r *= 1 - 0.5 * rim;
            g *= 1 - 0.5 * rim;
            b *= 1 - 0.3 * rim;
            // Crescent moon: a bright disk minus an offset one.
            const double mx = dx + 0.18, my = dy + 0.12;
            const double moon = Smooth(0.36, 0.33, std::sqrt(mx * mx + my * my)) *
                                Smooth(0.26, 0.30, std::sqrt((mx - 0.13) * (mx - 0.13) + (my + 0.09) * (my + 0.09)));
            r += (1.00 - r) * moon;
            g += (0.93 - g) * moon;
            b += (0.75 - b) * moon;
            // A few stars, sparse and round.
            const int cell = std::max(4, size / 16);
            const int sx = x / cell, sy = y / cell;
            if (Unit(sx, sy, 7) > 0.72 && size >= 32) {
                const double px = (sx + 0.2 + 0.6 * Unit(sx, sy, 8)) * cell, py = (sy + 0.2 + 0.6 * Unit(sx, sy, 9)) * cell;
                const double sd = std::hypot(x - px, y - py) / (cell * 0.12);
                const double star = std::exp(-sd * sd) * (1 - moon);
                r += (1 - r) * star;
                g += (1 - g) * star;
                b += (1 - b) * star;
            }
            // Glass highlight at the upper left, and a thin glowing rim.
            const double hx = dx + 0.35, hy = dy + 0.45;
            const double gloss = 0.35 * Smooth(0.45, 0.0, std::sqrt(hx * hx * 1.6 + hy * hy * 3.2));
            const double edge = 0.5 * Smooth(0.88, 0.99, d) * Smooth(1.02, 0.99, d);
            r += (1 - r) * (gloss + edge * 0.6);
            g += (1 - g) * (gloss + edge * 0.7);
            b += (1 - b) * (gloss + edge);
            uint8_t* p = img.Pixel(x, y);
            p[0] = Byte(r);
            p[1] = Byte(g);
            p[2] = Byte(b);
            p[3] = Byte(Smooth(1.0 + 1.5 / radius, 1.0 - 1.5 / radius, d));
        }
    return img;
}

Image DrawNoise(int size)
{
    Image img(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double sum = 0, weight = 0, amplitude = 1;
            for (int period = size / 4; period >= 1; period /= 2, amplitude *= 0.6) {
                const int cells = size / period;
                const double fx = double(x) / period, fy = double(y) / period;
                const int x0 = int(fx), y0 = int(fy);
                const double tx = fx - x0, ty = fy - y0;
                const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
                auto v = [&](int cx, int cy) {
                    return Unit(uint32_t(cx % cells), uint32_t(cy % cells), uint32_t(period));
                };
                const double top = v(x0, y0) + (v(x0 + 1, y0) - v(x0, y0)) * sx;
                const double bottom = v(x0, y0 + 1) + (v(x0 + 1, y0 + 1) - v(x0, y0 + 1)) * sx;
                sum += amplitude * (top + (bottom - top) * sy);
                weight += amplitude;
            }
            const uint8_t g = Byte(sum / weight);
            uint8_t* p = img.Pixel(x, y);
            p[0] = p[1] = p[2] = g;
            p[3] = 255;
        }
    return img;
}

Bytes MakeIconFile() { return EncodeIco({DrawOrb(48), DrawOrb(32), DrawOrb(16)}); }
Bytes MakeSplashFile() { return EncodePng(DrawOrb(256), true); }
Bytes MakeNoiseFile() { return EncodePng(DrawNoise(256), false); }
