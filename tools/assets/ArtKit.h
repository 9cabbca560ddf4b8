// The drawing kit of the content generators: colours, easing, hashed value
// noise (plain and tileable), fractal sums and pixel writers.
//
// Everything comes from exactly rounded arithmetic (+, -, *, /, sqrt), floor
// and comparisons: no library transcendental and no library generator, whose
// results may differ between runtimes, so every picture comes out the same
// everywhere. Generators that need sines use Sine below.
#pragma once

#include "tools/encoders/ImageWriters.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

struct Colour {
    double r, g, b;
};

Colour operator+(Colour a, Colour b);
Colour operator*(Colour a, double k);

double Clamp01(double v);
double Mix(double a, double b, double t);
Colour Mix(Colour a, Colour b, double t);
double SmoothStep(double e0, double e1, double x);
double Fraction(double x);
// A soft round glow: 1 at the centre, one half at distance `radius`.
double Glow(double distance, double radius);
double Ease(double t);
// sin(2 pi t) from a polynomial, the same on every runtime.
double Sine(double t);

// How much of a pixel lies beyond an edge, from the signed distance to it in
// pixels: a one-pixel ramp that smooths silhouettes.
double Coverage(double distanceInPixels);

// Colour at position t of a gradient through stops at increasing positions.
struct Stop {
    double at;
    Colour colour;
};
template <std::size_t N>
Colour Gradient(const Stop (&stops)[N], double t)
{
    if (t <= stops[0].at)
        return stops[0].colour;
    for (std::size_t i = 1; i < N; ++i)
        if (t <= stops[i].at)
            return Mix(stops[i - 1].colour, stops[i].colour, SmoothStep(stops[i - 1].at, stops[i].at, t));
    return stops[N - 1].colour;
}

uint32_t Hash(int32_t x, int32_t y, uint32_t seed);
// Uniform in [0, 1).
double Random(int32_t x, int32_t y, uint32_t seed);

// How a star looks: its radius is 0.6 + radiusSpread * r pixels and its
// brightness dimmest + brightnessSpread * r', for random r and r' in [0, 1).
struct StarLook {
    double radiusSpread = 1.0;
    double dimmest = 0.3;
    double brightnessSpread = 0.7;
};

// Stars: at most one per cell of `cell` pixels (a share `density` of the
// cells), a small soft dot placed and sized from `seed`.
double StarAt(double x, double y, double cell, double density, uint32_t seed, const StarLook& look = {});

// Smooth value noise in [0, 1] on a lattice of unit cells.
double Noise(double x, double y, uint32_t seed);
double Noise(double x, uint32_t seed);
// Fractal sums of octaves of halving amplitude, normalised to [0, 1]. The
// two-dimensional one turns each octave so the lattice does not show.
double Fbm(double x, double y, uint32_t seed, int octaves);
double Fbm(double x, uint32_t seed, int octaves);

// Value noise that repeats every periodX cells across and periodY down, so a
// picture of whole periods tiles seamlessly.
double TileNoise(double x, double y, int periodX, int periodY, uint32_t seed);
// Octaves of tileable noise, each of twice the frequency (and periods) of the
// last, normalised to [0, 1].
double TileFbm(double x, double y, int periodX, int periodY, uint32_t seed, int octaves);

// Writes a colour, opaque, with up to half a step of fixed noise added, so
// gradients do not break into bands once quantised to eight bits.
void PutPixel(Image& image, int x, int y, Colour c);
// A grey (or any single value) in all three channels with its alpha, both
// from 0 to 1.
void PutGrey(Image& image, int x, int y, double value, double alpha = 1.0);
uint8_t Byte(double unit);

// Calls shade(x, u, v) for each pixel: its column, and its centre measured
// in picture heights from the top left.
template <class Shader>
Image Render(int width, int height, Shader shade)
{
    Image image(width, height);
    const double unit = 1.0 / height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PutPixel(image, x, y, shade(x, (x + 0.5) * unit, (y + 0.5) * unit));
    return image;
}

// The side of every brush mask, in texels.
constexpr int BrushMaskSize = 512;

// A brush mask over a width × height picture: alpha(u, v) at each mask
// texel's centre, u and v measured in picture heights from the top left.
template <class Alpha>
std::vector<uint8_t> BrushMask(int width, int height, Alpha alpha)
{
    std::vector<uint8_t> mask(static_cast<std::size_t>(BrushMaskSize) * BrushMaskSize);
    for (int y = 0; y < BrushMaskSize; ++y)
        for (int x = 0; x < BrushMaskSize; ++x) {
            const double u = (x + 0.5) * width / BrushMaskSize / height;
            const double v = (y + 0.5) / BrushMaskSize;
            mask[static_cast<std::size_t>(y) * BrushMaskSize + x] = Byte(alpha(u, v));
        }
    return mask;
}

} // namespace art
