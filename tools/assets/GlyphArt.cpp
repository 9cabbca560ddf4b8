#include "tools/assets/GlyphArt.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const int StripWidth = 32;
const int StripHeight = 1024;

struct Point {
    double x, y;
};
using Stroke = std::vector<Point>;
using Glyph = std::vector<Stroke>;

// The glyphs in a unit box (x right, y down), as strokes of straight
// segments: half-width kana drawn mirrored, then digits.
const std::vector<Glyph>& Kana()
{
    static const std::vector<Glyph> glyphs = {
        {{{0.1, 0.1}, {0.9, 0.1}, {0.62, 0.45}}, {{0.5, 0.3}, {0.5, 0.62}, {0.2, 1.0}}},
        {{{0.85, 0.0}, {0.15, 0.5}}, {{0.55, 0.25}, {0.55, 1.0}}},
        {{{0.5, 0.0}, {0.5, 0.15}}, {{0.15, 0.38}, {0.15, 0.15}, {0.85, 0.15}, {0.85, 0.45}, {0.4, 1.0}}},
        {{{0.15, 0.1}, {0.85, 0.1}}, {{0.5, 0.1}, {0.5, 0.9}}, {{0.05, 0.9}, {0.95, 0.9}}},
        {{{0.05, 0.3}, {0.95, 0.3}}, {{0.62, 0.0}, {0.62, 1.0}, {0.45, 0.93}}, {{0.62, 0.3}, {0.1, 0.85}}},
        {{{0.1, 0.25}, {0.85, 0.25}, {0.8, 1.0}, {0.65, 0.9}}, {{0.45, 0.0}, {0.4, 0.5}, {0.1, 1.0}}},
        {{{0.1, 0.3}, {0.9, 0.22}}, {{0.05, 0.62}, {0.95, 0.54}}, {{0.4, 0.0}, {0.62, 1.0}}},
        {{{0.38, 0.0}, {0.1, 0.42}}, {{0.3, 0.15}, {0.85, 0.15}, {0.7, 0.6}, {0.25, 1.0}}},
        {{{0.3, 0.0}, {0.05, 0.45}}, {{0.2, 0.3}, {0.95, 0.3}}, {{0.65, 0.3}, {0.55, 0.7}, {0.3, 1.0}}},
        {{{0.1, 0.15}, {0.85, 0.15}, {0.85, 0.85}, {0.1, 0.85}}},
        {{{0.05, 0.3}, {0.95, 0.3}}, {{0.3, 0.0}, {0.3, 0.55}}, {{0.7, 0.0}, {0.7, 0.55}, {0.35, 1.0}}},
        {{{0.15, 0.1}, {0.35, 0.25}}, {{0.1, 0.42}, {0.3, 0.57}}, {{0.1, 0.95}, {0.5, 0.75}, {0.9, 0.2}}},
        {{{0.15, 0.1}, {0.8, 0.1}, {0.6, 0.5}, {0.1, 1.0}}, {{0.5, 0.6}, {0.9, 0.95}}},
        {{{0.05, 0.42}, {0.95, 0.3}, {0.7, 0.6}}, {{0.3, 0.0}, {0.3, 0.85}, {0.45, 0.95}, {0.9, 0.95}}},
        {{{0.15, 0.15}, {0.3, 0.45}}, {{0.85, 0.1}, {0.6, 0.65}, {0.2, 1.0}}},
        {{{0.4, 0.0}, {0.1, 0.45}}, {{0.3, 0.15}, {0.85, 0.15}, {0.65, 0.6}, {0.2, 1.0}}, {{0.3, 0.42}, {0.68, 0.62}}},
        {{{0.1, 0.15}, {0.2, 0.35}}, {{0.4, 0.1}, {0.5, 0.3}}, {{0.9, 0.1}, {0.7, 0.6}, {0.25, 1.0}}},
        {{{0.2, 0.05}, {0.8, 0.05}}, {{0.05, 0.35}, {0.95, 0.35}}, {{0.5, 0.35}, {0.5, 0.7}, {0.25, 1.0}}},
        {{{0.05, 0.35}, {0.95, 0.35}}, {{0.55, 0.0}, {0.55, 0.6}, {0.2, 1.0}}},
        {{{0.2, 0.2}, {0.8, 0.2}}, {{0.05, 0.8}, {0.95, 0.8}}},
        {{{0.15, 0.1}, {0.85, 0.1}, {0.55, 0.65}, {0.15, 1.0}}, {{0.3, 0.4}, {0.9, 0.95}}},
        {{{0.38, 0.15}, {0.05, 0.9}}, {{0.6, 0.15}, {0.95, 0.9}}},
        {{{0.2, 0.0}, {0.2, 0.9}, {0.9, 0.9}}, {{0.2, 0.48}, {0.85, 0.25}}},
        {{{0.05, 0.3}, {0.95, 0.3}}, {{0.5, 0.0}, {0.5, 1.0}}, {{0.3, 0.55}, {0.1, 0.85}}, {{0.7, 0.55}, {0.9, 0.85}}},
        {{{0.05, 0.15}, {0.95, 0.15}, {0.5, 0.6}}, {{0.3, 0.45}, {0.7, 0.95}}},
        {{{0.2, 0.1}, {0.8, 0.25}}, {{0.25, 0.42}, {0.75, 0.57}}, {{0.15, 0.72}, {0.85, 0.92}}},
        {{{0.45, 0.0}, {0.15, 0.85}, {0.9, 0.75}}, {{0.7, 0.5}, {0.9, 0.95}}},
        {{{0.05, 0.38}, {0.95, 0.22}, {0.7, 0.52}}, {{0.3, 0.0}, {0.55, 1.0}}},
        {{{0.2, 0.05}, {0.8, 0.05}}, {{0.1, 0.3}, {0.85, 0.3}, {0.6, 0.75}, {0.25, 1.0}}},
    };
    return glyphs;
}

std::vector<Glyph> Digits()
{
    Stroke zero;
    for (int k = 0; k <= 20; ++k) {
        const double a = 2 * 3.14159265358979 * k / 20;
        zero.push_back({0.5 + 0.38 * std::sin(a), 0.5 - 0.48 * std::cos(a)});
    }
    return {
        {zero},
        {{{0.25, 0.2}, {0.55, 0.0}, {0.55, 1.0}}, {{0.25, 1.0}, {0.85, 1.0}}},
        {{{0.15, 0.25}, {0.3, 0.05}, {0.7, 0.05}, {0.85, 0.25}, {0.8, 0.45}, {0.1, 1.0}, {0.9, 1.0}}},
        {{{0.85, 0.0}, {0.2, 0.0}, {0.15, 0.45}, {0.6, 0.4}, {0.85, 0.55}, {0.85, 0.8}, {0.6, 1.0}, {0.15, 0.95}}},
        {{{0.1, 0.0}, {0.9, 0.0}, {0.4, 1.0}}},
    };
}

// Every glyph of the strip in slot order: the kana mirrored, which makes them
// read as a code rather than as text, then the digits as they are.
std::vector<Glyph> AllGlyphs()
{
    std::vector<Glyph> glyphs;
    for (Glyph g : Kana()) {
        for (Stroke& s : g)
            for (Point& p : s)
                p.x = 1.0 - p.x;
        glyphs.push_back(g);
    }
    for (const Glyph& g : Digits())
        glyphs.push_back(g);
    return glyphs;
}

double SegmentDistance(Point p, Point a, Point b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

} // namespace

int GlyphStripCount(int width, int height) { return width > 0 ? height / width + 2 : 2; }

Image DrawGlyphStrip(int width, int height)
{
    Image image(width, height);
    const int count = GlyphStripCount(width, height);
    const double slot = static_cast<double>(height) / count;
    // The glyph box: a margin of an eighth of the width at the sides and the
    // same at top and bottom of each slot, so glow and filtering stay inside.
    const double margin = width / 8.0;
    const double boxW = width - 2 * margin;
    const double boxH = std::max(1.0, slot - 2 * margin);
    const double halfStroke = width / 22.0;
    const double glowReach = width / 14.0;
    const std::vector<Glyph> glyphs = AllGlyphs();

    for (int y = 0; y < height; ++y) {
        const int g = std::min(count - 1, static_cast<int>((y + 0.5) / slot));
        const double top = g * slot;
        const Glyph& glyph = glyphs[static_cast<std::size_t>(g) % glyphs.size()];
        for (int x = 0; x < width; ++x) {
            const Point p{x + 0.5, y + 0.5};
            double d = 1e9;
            for (const Stroke& s : glyph)
                for (std::size_t i = 1; i < s.size(); ++i) {
                    const Point a{margin + s[i - 1].x * boxW, top + margin + s[i - 1].y * boxH};
                    const Point b{margin + s[i].x * boxW, top + margin + s[i].y * boxH};
                    d = std::min(d, SegmentDistance(p, a, b));
                }
            const double core = std::clamp(halfStroke + 0.5 - d, 0.0, 1.0);
            const double outside = std::max(0.0, d - halfStroke);
            const double glow = 0.28 * std::exp(-(outside * outside) / (glowReach * glowReach));
            // Nothing in the slot's first and last rows.
            const double inSlot = (y + 0.5 - top < 1.0 || top + slot - (y + 0.5) < 1.0) ? 0.0 : 1.0;
            const double a = std::clamp(core + glow * (1 - core), 0.0, 1.0) * inSlot;
            uint8_t* px = image.Pixel(x, y);
            px[0] = px[1] = px[2] = 255;
            px[3] = static_cast<uint8_t>(std::lround(a * 255.0));
        }
    }
    return image;
}

Bytes MakeGlyphStripFile() { return EncodePng(DrawGlyphStrip(StripWidth, StripHeight), true); }
