#include "tools/assets/ArtKit.h"

#include <algorithm>
#include <cmath>

namespace art {

Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour operator*(Colour a, double k) { return {a.r * k, a.g * k, a.b * k}; }

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
double Mix(double a, double b, double t) { return a + (b - a) * t; }
Colour Mix(Colour a, Colour b, double t) { return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)}; }
double SmoothStep(double e0, double e1, double x)
{
    const double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
double Fraction(double x) { return x - std::floor(x); }
double Coverage(double distanceInPixels) { return Clamp01(distanceInPixels + 0.5); }
double Glow(double distance, double radius)
{
    const double t = distance / radius;
    return 1.0 / (1.0 + t * t);
}

uint32_t Hash(int32_t x, int32_t y, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    return h ^ (h >> 16);
}
double Random(int32_t x, int32_t y, uint32_t seed) { return (Hash(x, y, seed) >> 8) / 16777216.0; }

double StarAt(double x, double y, double cell, double density, uint32_t seed, const StarLook& look)
{
    const double cx = std::floor(x / cell), cy = std::floor(y / cell);
    const int32_t ix = static_cast<int32_t>(cx), iy = static_cast<int32_t>(cy);
    if (Random(ix, iy, seed) >= density)
        return 0;
    const double sx = (cx + 0.25 + 0.5 * Random(ix, iy, seed + 1)) * cell;
    const double sy = (cy + 0.25 + 0.5 * Random(ix, iy, seed + 2)) * cell;
    const double radius = 0.6 + look.radiusSpread * Random(ix, iy, seed + 3);
    const double dx = x - sx, dy = y - sy;
    const double d2 = (dx * dx + dy * dy) / (radius * radius);
    return d2 < 1 ? (1 - d2) * (1 - d2) * (look.dimmest + look.brightnessSpread * Random(ix, iy, seed + 4)) : 0;
}

double Ease(double t) { return t * t * (3 - 2 * t); }

double Noise(double x, double y, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    const double sx = Ease(x - fx), sy = Ease(y - fy);
    const double a = Random(ix, iy, seed), b = Random(ix + 1, iy, seed);
    const double c = Random(ix, iy + 1, seed), d = Random(ix + 1, iy + 1, seed);
    return a + (b - a) * sx + (c - a) * sy + (a - b - c + d) * sx * sy;
}
double Noise(double x, uint32_t seed)
{
    const double fx = std::floor(x);
    const int32_t ix = static_cast<int32_t>(fx);
    const double a = Random(ix, 0, seed);
    return a + (Random(ix + 1, 0, seed) - a) * Ease(x - fx);
}

double Fbm(double x, double y, uint32_t seed, int octaves)
{
    double sum = 0, weight = 0, amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(x, y, seed + static_cast<uint32_t>(i));
        weight += amplitude;
        amplitude *= 0.5;
        const double nx = 1.6 * x - 1.2 * y + 17.3, ny = 1.2 * x + 1.6 * y - 9.1;
        x = nx;
        y = ny;
    }
    return sum / weight;
}
double Fbm(double x, uint32_t seed, int octaves)
{
    double sum = 0, weight = 0, amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(x, seed + static_cast<uint32_t>(i));
        weight += amplitude;
        amplitude *= 0.5;
        x = 2.03 * x + 5.7;
    }
    return sum / weight;
}

double Sine(double t)
{
    // Reduce to [-0.5, 0.5) turns, then Bhaskara's rational fit of the half
    // wave: error below 0.002.
    double x = t - std::floor(t + 0.5);
    const bool negative = x < 0;
    if (negative)
        x = -x;
    // x in [0, 0.5]: sin(2 pi x) = 16 y (1 - y) / (5 - 4 y (1 - y)) with y = 2x.
    const double y = 2 * x;
    const double p = y * (1 - y);
    const double s = 16 * p / (5 - 4 * p);
    return negative ? -s : s;
}

namespace {

int Wrap(int v, int period) { return ((v % period) + period) % period; }

} // namespace

double TileNoise(double x, double y, int periodX, int periodY, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double sx = Ease(x - fx), sy = Ease(y - fy);
    const int x0 = Wrap(ix, periodX), x1 = Wrap(ix + 1, periodX);
    const int y0 = Wrap(iy, periodY), y1 = Wrap(iy + 1, periodY);
    const double a = Random(x0, y0, seed), b = Random(x1, y0, seed);
    const double c = Random(x0, y1, seed), d = Random(x1, y1, seed);
    return a + (b - a) * sx + (c - a) * sy + (a - b - c + d) * sx * sy;
}

double TileFbm(double x, double y, int periodX, int periodY, uint32_t seed, int octaves)
{
    double sum = 0, weight = 0, amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * TileNoise(x, y, periodX, periodY, seed + static_cast<uint32_t>(i));
        weight += amplitude;
        amplitude *= 0.5;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / weight;
}

void PutPixel(Image& image, int x, int y, Colour c)
{
    const double dither = (Random(x, y, 0x5EED) - 0.5) / 255.0;
    uint8_t* p = image.Pixel(x, y);
    for (int i = 0; i < 3; ++i) {
        const double v = (i == 0 ? c.r : i == 1 ? c.g : c.b) + dither;
        p[i] = static_cast<uint8_t>(static_cast<int>(Clamp01(v) * 255.0 + 0.5));
    }
    p[3] = 255;
}

uint8_t Byte(double unit) { return static_cast<uint8_t>(static_cast<int>(Clamp01(unit) * 255.0 + 0.5)); }

void PutGrey(Image& image, int x, int y, double value, double alpha)
{
    uint8_t* p = image.Pixel(x, y);
    p[0] = p[1] = p[2] = Byte(value);
    p[3] = Byte(alpha);
}

} // namespace art
