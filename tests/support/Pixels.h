// A plain RGBA picture read back from the GPU, with helpers to compare pixels.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;

    static Rgba FromArgb(D3DCOLOR argb);
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    // The largest difference of the colour channels (alpha ignored).
    int ColourDistance(const Rgba& o) const;
    // Mean of the three colour channels, 0 to 255.
    double Brightness() const { return (r + g + b) / 3.0; }
};

std::ostream& operator<<(std::ostream& out, const Rgba& c);

class Pixels {
public:
    Pixels() = default;
    Pixels(int w, int h) : width(w), height(h), data(static_cast<std::size_t>(w) * h) {}

    // Converts a locked surface of format X8R8G8B8 or A8R8G8B8 (alpha of X8 as 255).
    static Pixels FromLocked(const D3DLOCKED_RECT& locked, int w, int h, D3DFORMAT format);

    int Width() const { return width; }
    int Height() const { return height; }
    bool Empty() const { return data.empty(); }

    Rgba At(int x, int y) const { return data[static_cast<std::size_t>(y) * width + x]; }
    Rgba& At(int x, int y) { return data[static_cast<std::size_t>(y) * width + x]; }
    // The pixel nearest to the fractions (fx, fy) of the picture.
    Rgba AtFraction(double fx, double fy) const;
    // Mean colour of a rectangle [x0, x1) × [y0, y1).
    Rgba Mean(int x0, int y0, int x1, int y1) const;
    // True when every pixel of the rectangle is within tolerance of colour.
    bool AllNear(int x0, int y0, int x1, int y1, const Rgba& colour, int tolerance) const;

private:
    int width = 0;
    int height = 0;
    std::vector<Rgba> data;
};

// The mean over [x0, x1) × [y0, y1) of the pixels' colour distances
// between a and b; without a rectangle, over the whole of a.
double MeanDifference(const Pixels& a, const Pixels& b, int x0, int y0, int x1, int y1);
double MeanDifference(const Pixels& a, const Pixels& b);

// gtest-friendly colour check: "within tolerance" with both colours printed.
::testing::AssertionResult ColourNear(const Rgba& actual, const Rgba& expected, int tolerance);
