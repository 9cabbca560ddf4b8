// Drawing helpers of the ambient and electric pictures: sprites sampled
// several times per pixel with their opacity, distances to segments and
// paths, jagged paths and wandering offsets. Like the drawing kit, it uses
// exactly rounded arithmetic only, so every picture is the same everywhere.
#pragma once

#include "tools/assets/ArtKit.h"

#include <cstdint>
#include <vector>

namespace art {

struct Point {
    double x, y;
};

// A colour with its opacity.
struct Paint {
    Colour colour;
    double alpha;
};

// x to a whole power, by multiplication alone.
double Power(double x, int n);

// Distance from p to the segment a-b, and to the nearest segment of a path.
double SegmentDistance(Point p, Point a, Point b);
double PathDistance(Point p, const std::vector<Point>& path);

// A jagged path from a to b: each of `levels` rounds moves the midpoints of
// the last round's segments sideways by up to `roughness` of their length.
std::vector<Point> JaggedPath(Point a, Point b, int levels, double roughness, uint32_t seed);

// Piecewise linear through `count` random values in [-1, 1], 0 at both
// ends, for t in [0, 1] (held at the ends outside).
double Jag(double t, int count, uint32_t seed);

// Paint b laid over paint a.
Paint Over(Paint a, Paint b);

// Samples shade(x, y) (pixel coordinates) samples × samples times per pixel
// into a picture with alpha; the colour is the opacity-weighted mean, and
// fully clear pixels take `base`, so filtering never pulls in a dark fringe.
template <class Shader>
Image RenderPaint(int width, int height, int samples, Colour base, Shader shade)
{
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Colour sum{0, 0, 0};
            double alpha = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    const Paint p = shade(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples);
                    const double a = Clamp01(p.alpha);
                    sum = sum + p.colour * a;
                    alpha += a;
                }
            const Colour c = alpha > 0 ? sum * (1.0 / alpha) : base;
            uint8_t* out = image.Pixel(x, y);
            out[0] = Byte(c.r);
            out[1] = Byte(c.g);
            out[2] = Byte(c.b);
            out[3] = Byte(alpha / (samples * samples));
        }
    return image;
}

} // namespace art
