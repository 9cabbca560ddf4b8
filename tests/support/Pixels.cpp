#include "tests/support/Pixels.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

Rgba Rgba::FromArgb(D3DCOLOR argb)
{
    Rgba c;
    c.a = static_cast<uint8_t>(argb >> 24);
    c.r = static_cast<uint8_t>(argb >> 16);
    c.g = static_cast<uint8_t>(argb >> 8);
    c.b = static_cast<uint8_t>(argb);
    return c;
}

int Rgba::ColourDistance(const Rgba& o) const
{
    return std::max({std::abs(r - o.r), std::abs(g - o.g), std::abs(b - o.b)});
}

std::ostream& operator<<(std::ostream& out, const Rgba& c)
{
    return out << "rgba(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ", " << int(c.a) << ")";
}

Pixels Pixels::FromLocked(const D3DLOCKED_RECT& locked, int w, int h, D3DFORMAT format)
{
    Pixels p(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) +
                                                            static_cast<std::ptrdiff_t>(y) * locked.Pitch);
        for (int x = 0; x < w; ++x) {
            Rgba c = Rgba::FromArgb(row[x]);
            if (format != D3DFMT_A8R8G8B8)
                c.a = 255;
            p.At(x, y) = c;
        }
    }
    return p;
}

Rgba Pixels::AtFraction(double fx, double fy) const
{
    const int x = std::clamp(static_cast<int>(fx * width), 0, width - 1);
    const int y = std::clamp(static_cast<int>(fy * height), 0, height - 1);
    return At(x, y);
}

Rgba Pixels::Mean(int x0, int y0, int x1, int y1) const
{
    double r = 0, g = 0, b = 0, a = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) {
            const Rgba c = At(x, y);
            r += c.r;
            g += c.g;
            b += c.b;
            a += c.a;
        }
    if (n == 0)
        return {};
    auto avg = [n](double v) { return static_cast<uint8_t>(v / n + 0.5); };
    return Rgba{avg(r), avg(g), avg(b), avg(a)};
}

bool Pixels::AllNear(int x0, int y0, int x1, int y1, const Rgba& colour, int tolerance) const
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (At(x, y).ColourDistance(colour) > tolerance)
                return false;
    return true;
}

::testing::AssertionResult ColourNear(const Rgba& actual, const Rgba& expected, int tolerance)
{
    if (actual.ColourDistance(expected) <= tolerance)
        return ::testing::AssertionSuccess();
    std::ostringstream text;
    text << actual << " is not within " << tolerance << " of " << expected;
    return ::testing::AssertionFailure() << text.str();
}

double MeanDifference(const Pixels& a, const Pixels& b, int x0, int y0, int x1, int y1)
{
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            sum += a.At(x, y).ColourDistance(b.At(x, y));
    return sum / ((x1 - x0) * (y1 - y0));
}

double MeanDifference(const Pixels& a, const Pixels& b) { return MeanDifference(a, b, 0, 0, a.Width(), a.Height()); }
