#include "tools/assets/ArcArt.h"

#include "tools/assets/SpriteKit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// The pixel values come from the drawing kit's exactly rounded arithmetic,
// so the pictures come out the same everywhere.
using namespace art;

namespace {

// ---- Arc strips (pictures 95 and 98) ----

constexpr int ArcWidth = 256;
constexpr int ArcStrip = 32;
// The rounded ends lie inside the outer fifth of u; between these the line
// tiles.
constexpr double InnerLeft = 0.195;
constexpr double InnerRight = 0.805;
constexpr double Tip = 0.035;

struct ArcLook {
    double coreRadius;
    double haloRadius;
    double haloStrength;
    double amplitude;
    double filament;
};

// The core line's offset from the strip's middle at u, in pixels: a jagged
// wander that returns to the middle at both tiling edges. An arc segment is
// usually drawn several times shorter than the strip is wide, so the wander
// has only a few kinks: squeezed along the arc they stay kinks rather than
// turning into a fuzz of spikes.
double ArcOffset(double u, double amplitude, uint32_t seed)
{
    // A small wander over the ends too, back in the middle at the tip and at
    // the tiling edge.
    if (u <= InnerLeft)
        return amplitude * 0.3 * Jag((u - Tip) / (InnerLeft - Tip), 3, seed + 3);
    if (u >= InnerRight)
        return amplitude * 0.3 * Jag((u - InnerRight) / (1 - Tip - InnerRight), 3, seed + 5);
    const double t = (u - InnerLeft) / (InnerRight - InnerLeft);
    return amplitude * (Jag(t, 5, seed) * 0.85 + Jag(t, 11, seed + 7) * 0.2);
}

std::vector<Point> ArcLine(double amplitude, double from, double to, uint32_t seed)
{
    std::vector<Point> line;
    constexpr int Samples = 160;
    for (int i = 0; i <= Samples; ++i) {
        const double u = Mix(from, to, double(i) / Samples);
        line.push_back({u * ArcWidth, ArcStrip / 2.0 + ArcOffset(u, amplitude, seed)});
    }
    return line;
}

Paint ArcStripPaint(Point p, const std::vector<Point>& core, const std::vector<Point>& filament, const ArcLook& look)
{
    const double d = PathDistance(p, core);
    const double centre = 1 - SmoothStep(look.coreRadius, look.coreRadius + 1.2, d);
    // The halo fades out before the strip's edge, so the strip below never
    // bleeds in under filtering.
    const double edge = SmoothStep(ArcStrip / 2.0, ArcStrip / 2.0 - 5, std::fabs(p.y - ArcStrip / 2.0));
    const double halo = look.haloStrength * Glow(d, look.haloRadius) * edge;
    const double thread = look.filament * (1 - SmoothStep(0.4, 1.3, PathDistance(p, filament)));
    const double line = std::max(centre, thread);
    const double alpha = 1 - (1 - line) * (1 - halo);
    const Colour white{1, 1, 1}, blue{0.78, 0.86, 1.0};
    return {alpha > 0 ? Mix(blue, white, line / std::max(alpha, 1e-9)) : white, alpha};
}

} // namespace

Image DrawArcStrips(ArcStyle style)
{
    const ArcLook look = style == ArcStyle::Sharp ? ArcLook{0.85, 2.6, 0.38, 3.2, 0.55}
                                                  : ArcLook{1.9, 4.5, 0.55, 4.2, 0.3};
    const uint32_t seed = style == ArcStyle::Sharp ? 9500u : 9800u;
    std::vector<std::vector<Point>> cores, filaments;
    for (uint32_t strip = 0; strip < 2; ++strip) {
        cores.push_back(ArcLine(look.amplitude, Tip, 1 - Tip, seed + strip * 31));
        // A thinner thread beside the core over the middle only.
        filaments.push_back(ArcLine(look.amplitude * 0.7, 0.3, 0.7, seed + strip * 31 + 13));
        for (Point& point : filaments.back())
            point.y += (strip == 0 ? 1.5 : -1.5);
    }
    return RenderPaint(ArcWidth, 2 * ArcStrip, 3, Colour{1, 1, 1}, [&](double x, double y) {
        const int strip = y < ArcStrip ? 0 : 1;
        const Point p{x, y - strip * ArcStrip};
        return ArcStripPaint(p, cores[strip], filaments[strip], look);
    });
}

Image DrawArcGlow()
{
    constexpr int Width = 128, Strip = 32;
    Image image(Width, 2 * Strip);
    for (int y = 0; y < 2 * Strip; ++y)
        for (int x = 0; x < Width; ++x) {
            const double u = (x + 0.5) / Width;
            const double across = std::fabs((y % Strip) + 0.5 - Strip / 2.0) / (Strip / 2.0);
            // Over the end caps the glow rounds off towards the arc's tip, so
            // that the arc's ends glow as a blunt point rather than stopping
            // at the quad's edge.
            const double along = u < InnerLeft ? (InnerLeft - u) / InnerLeft
                                 : u > InnerRight ? (u - InnerRight) / (1 - InnerRight)
                                                  : 0.0;
            const double d = std::sqrt(across * across + along * along);
            // A bright middle with a long soft tail, gone by the strip's edge.
            const double glow = Glow(d, 0.28) * Clamp01(1 - d * d);
            // Premultiplied: the grey level is the amount of glow, as is alpha.
            PutGrey(image, x, y, glow, glow);
        }
    return image;
}

Image DrawSparkFrames()
{
    constexpr int Side = 96;
    std::vector<Image> frames;
    for (int f = 0; f < SparkFrameCount; ++f) {
        const uint32_t seed = 4200u + static_cast<uint32_t>(f) * 17u;
        // The main spark jumps between the two balls (at x 14 and 82), a
        // second one on some frames, and short forks off the main one.
        std::vector<std::vector<Point>> sparks;
        const double sag = (Random(f, 0, seed) - 0.5) * 18;
        sparks.push_back(JaggedPath({13, 48}, {83, 48 + sag * 0.2}, 5, 0.24, seed));
        if (f % 2 == 0)
            sparks.push_back(JaggedPath({14, 50}, {82, 46}, 5, 0.3, seed + 3));
        for (int k = 0; k < 3; ++k) {
            const std::vector<Point>& main = sparks.front();
            const Point from = main[8 + static_cast<std::size_t>(Random(k, 1, seed) * 16)];
            const double angle = Random(k, 2, seed);
            const double length = 10 + 16 * Random(k, 3, seed);
            const Point to{from.x + length * Sine(angle + 0.25) * 0.6, from.y + length * Sine(angle)};
            sparks.push_back(JaggedPath(from, to, 3, 0.25, seed + 11 + static_cast<uint32_t>(k)));
        }
        frames.push_back(RenderPaint(Side, Side, 3, Colour{0.9, 0.95, 1}, [&](double x, double y) {
            double core = 0, halo = 0;
            for (std::size_t s = 0; s < sparks.size(); ++s) {
                const double d = PathDistance({x, y}, sparks[s]);
                const double weight = s == 0 ? 1.0 : 0.75;
                core = std::max(core, weight * (1 - SmoothStep(0.5, 1.6, d)));
                halo = std::max(halo, weight * 0.5 * Glow(d, 3.5));
            }
            // The air between the balls glows where the spark jumps.
            const double dx = (x - 48) / 40, dy = (y - 48) / 16;
            halo = std::max(halo, 0.3 * Glow(std::sqrt(dx * dx + dy * dy), 0.5));
            const double alpha = 1 - (1 - core) * (1 - halo);
            const Colour white{1, 1, 1}, violet{0.62, 0.7, 1.0};
            return Paint{alpha > 0 ? Mix(violet, white, core / std::max(alpha, 1e-9)) : white, alpha};
        }));
    }
    Image strip(Side * SparkFrameCount, Side);
    for (int f = 0; f < SparkFrameCount; ++f)
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x)
                std::copy_n(frames[f].Pixel(x, y), 4, strip.Pixel(f * Side + x, y));
    return strip;
}

namespace {

// Signed distance from p to the triangle a, b, c: negative inside.
double TriangleDistance(Point p, Point a, Point b, Point c)
{
    const Point corners[3] = {a, b, c};
    double best = 1e9;
    bool inside = true;
    for (int i = 0; i < 3; ++i) {
        const Point e0 = corners[i], e1 = corners[(i + 1) % 3];
        best = std::min(best, SegmentDistance(p, e0, e1));
        // Clockwise on screen (y down): the inside lies to the right.
        const double cross = (e1.x - e0.x) * (p.y - e0.y) - (e1.y - e0.y) * (p.x - e0.x);
        if (cross < 0)
            inside = false;
    }
    return inside ? -best : best;
}

bool InsidePolygon(Point p, const std::vector<Point>& polygon)
{
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point a = polygon[i], b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

} // namespace

Image DrawWarningSign()
{
    constexpr int Width = 120, Height = 106;
    // Shrunk by the corner radius, then grown again: rounded corners.
    constexpr double Round = 7;
    const Point top{60, 4 + Round * 2}, left{4 + Round * 1.7, 102 - Round}, right{116 - Round * 1.7, 102 - Round};
    const std::vector<Point> bolt{{67, 33}, {47, 67}, {59, 67}, {51, 93}, {75, 57}, {62, 57}, {72, 33}};
    const Colour yellow{0.97, 0.78, 0.12}, black{0.05, 0.05, 0.05};
    return RenderPaint(Width, Height, 4, yellow, [&](double x, double y) {
        const double d = TriangleDistance({x, y}, top, right, left) - Round;
        if (d > 0)
            return Paint{black, 0};
        // Weathered: a little dirt over the paint.
        const double dirt = 0.82 + 0.18 * Fbm(x / 14, y / 14, 77, 4);
        const bool border = d > -6.5;
        const bool symbol = InsidePolygon({x, y}, bolt);
        const Colour paint = border || symbol ? black : yellow;
        return Paint{paint * dirt, 1};
    });
}

const WorkshopLayout& Workshop()
{
    // Coils at 0.2 and 0.8 of the width in a 16:9 picture; the toroids' inner
    // edges face each other at 0.33 of the height.
    static const WorkshopLayout layout{0.2 + 0.171 / (16.0 / 9.0), 0.8 - 0.171 / (16.0 / 9.0), 0.33, 0.5, 0.546,
                                       0.5, 0.13};
    return layout;
}

namespace {

// The workshop's shapes in picture heights (u across, v down).
constexpr double ToroidRadiusU = 0.135;
constexpr double ToroidRadiusV = 0.046;
constexpr double ToroidTube = 0.27;
constexpr double CoilHalfWidth = 0.045;
constexpr double CoilTop = 0.37;
constexpr double CoilBottom = 0.80;
constexpr double FloorTop = 0.83;
constexpr double BenchTop = 0.66;
constexpr double BallRadius = 0.021;
constexpr double BallSpread = 0.088;
constexpr double BallHeight = 0.546;

// The light of the arcs: a cold glow around the space between the toroids.
double ArcLight(double u, double v, double middle)
{
    const double dx = (u - middle) / 0.55, dy = (v - 0.36) / 0.32;
    return Glow(std::sqrt(dx * dx + dy * dy), 0.55);
}

Colour Bricks(double u, double v)
{
    constexpr double BrickHeight = 0.04, BrickWidth = 0.11, Mortar = 0.0045;
    const double row = std::floor(v / BrickHeight);
    const int32_t irow = static_cast<int32_t>(row);
    const double shifted = u + ((irow & 1) ? BrickWidth / 2 : 0.0);
    const double column = std::floor(shifted / BrickWidth);
    const double bx = shifted - column * BrickWidth, by = v - row * BrickHeight;
    const double grain = Fbm(u * 60, v * 60, 31, 3);
    if (bx < Mortar || by < Mortar)
        return Colour{0.15, 0.14, 0.13} * (0.8 + 0.3 * grain);
    const double tone = 0.75 + 0.45 * Random(static_cast<int32_t>(column), irow, 5);
    // Worn edges are a little darker.
    const double edge = SmoothStep(0.0, 0.01, std::min({bx - Mortar, by - Mortar, BrickWidth - bx, BrickHeight - by}));
    return Colour{0.36, 0.16, 0.10} * (tone * (0.75 + 0.35 * grain) * (0.8 + 0.2 * edge));
}

// A cylinder lit from the side `lightSide` (+1 from the right): its shade
// across s in [-1, 1].
double CylinderShade(double s, double lightSide)
{
    const double facing = std::sqrt(std::max(0.0, 1 - s * s));
    const double lit = Clamp01(0.55 + 0.45 * s * lightSide);
    return 0.18 + 0.82 * facing * lit;
}

struct Layer {
    Colour colour;
    bool covers;
};

// A coil with its toroid at centre u = cx (light from the middle of the room).
Layer Coil(double u, double v, double cx, double light)
{
    const double lightSide = cx < 0.9 ? 1.0 : -1.0;
    const Colour metal{0.74, 0.76, 0.80}, copper{0.74, 0.42, 0.20};
    // The toroid: a tube round an ellipse, seen a little from above.
    const double ex = (u - cx) / ToroidRadiusU, ey = (v - 0.33) / ToroidRadiusV;
    const double rho = std::sqrt(ex * ex + ey * ey);
    const double t = (rho - 1) / ToroidTube;
    if (std::fabs(t) < 1) {
        const double across = std::sqrt(1 - t * t);
        // Upper half of the tube faces up and catches the ceiling's light;
        // the side towards the arcs catches theirs.
        const double up = Clamp01(-ey / std::max(rho, 1e-6) * 0.5 + 0.5);
        const double towards = Clamp01(ex / std::max(rho, 1e-6) * lightSide);
        const double shade = 0.15 + 0.45 * across * up + 0.7 * across * towards * light;
        const double glint = Power(Clamp01(across * towards), 12) * light;
        return {metal * shade + Colour{0.7, 0.8, 1.0} * glint, true};
    }
    // The coil's windings.
    if (std::fabs(u - cx) < CoilHalfWidth && v > CoilTop && v < CoilBottom) {
        const double s = (u - cx) / CoilHalfWidth;
        // Turns of copper wire, each a little rounded, with a dark groove
        // between them.
        const double turn = std::fabs(Fraction(v / 0.008) * 2 - 1);
        const double winding = 0.45 + 0.55 * SmoothStep(1.0, 0.55, turn);
        const double shade = CylinderShade(s, lightSide) * (0.4 + 0.6 * light);
        const double glint = Power(Clamp01(1 - std::fabs(s - 0.45 * lightSide) / 0.18), 2) * light * 0.6;
        return {copper * (shade * winding) + Colour{0.6, 0.7, 1.0} * glint, true};
    }
    // The wooden base.
    if (std::fabs(u - cx) < 0.12 && v >= CoilBottom && v < FloorTop + 0.03) {
        const double grain = Fbm(u * 8, v * 120, 12, 3);
        const double top = v < CoilBottom + 0.006 ? 1.4 : 1.0;
        return {Colour{0.25, 0.14, 0.07} * ((0.6 + 0.5 * grain) * top * (0.5 + 0.5 * light)), true};
    }
    return {{0, 0, 0}, false};
}

// The bench with the spark gap: two rods with brass balls.
Layer Bench(double u, double v, double middle, double light)
{
    for (double side : {-1.0, 1.0}) {
        const double bx = middle + side * BallSpread;
        const double dx = (u - bx) / BallRadius, dy = (v - BallHeight) / BallRadius;
        const double r2 = dx * dx + dy * dy;
        if (r2 < 1) {
            const double nz = std::sqrt(1 - r2);
            // Lit from above and from the gap between the balls.
            const double diffuse = Clamp01(0.3 * nz - 0.5 * dy - 0.6 * dx * side);
            const double glint = Power(Clamp01(-dx * side * 0.7 - dy * 0.5 + nz * 0.5), 20);
            return {Colour{0.78, 0.60, 0.26} * (0.15 + 0.9 * diffuse) + Colour{0.8, 0.85, 1.0} * glint, true};
        }
        // A white porcelain rod under the ball.
        if (std::fabs(u - bx) < 0.007 && v > BallHeight && v < BenchTop) {
            const double s = (u - bx) / 0.007;
            const double ribs = 0.85 + 0.15 * std::fabs(Fraction(v / 0.012) * 2 - 1);
            return {Colour{0.85, 0.85, 0.82} * (CylinderShade(s, -side) * ribs * (0.35 + 0.5 * light)), true};
        }
    }
    // The bench top and its two legs.
    if (std::fabs(u - middle) < 0.32 && v >= BenchTop && v < BenchTop + 0.022) {
        const double grain = Fbm(u * 5, v * 200, 21, 3);
        const double edge = v < BenchTop + 0.004 ? 1.5 : 1.0;
        return {Colour{0.30, 0.18, 0.09} * ((0.6 + 0.5 * grain) * edge * (0.35 + 0.6 * light)), true};
    }
    for (double side : {-1.0, 1.0})
        if (std::fabs(u - (middle + side * 0.28)) < 0.015 && v >= BenchTop + 0.022 && v < FloorTop + 0.06)
            return {Colour{0.18, 0.10, 0.05} * (0.5 + 0.4 * light), true};
    return {{0, 0, 0}, false};
}

} // namespace

Image DrawWorkshop(int width, int height)
{
    const double aspect = double(width) / height;
    const double middle = aspect / 2;
    const double leftCoil = 0.2 * aspect, rightCoil = 0.8 * aspect;
    // The room's own light is dim and warm; the arcs' is cold and falls on
    // every surface alike, whatever its colour.
    const Colour cold{0.50, 0.64, 1.0};
    const auto lit = [&](Colour surface, double light, double warmth) {
        const double grey = (surface.r + surface.g + surface.b) / 3;
        return surface * warmth + cold * (grey * 2.2 * light);
    };
    return Render(width, height, [&](int, double u, double v) {
        const double light = ArcLight(u, v, middle);
        for (double cx : {leftCoil, rightCoil}) {
            const Layer coil = Coil(u, v, cx, light);
            if (coil.covers)
                return coil.colour;
        }
        const Layer bench = Bench(u, v, middle, light);
        if (bench.covers)
            return bench.colour;
        if (v >= FloorTop) {
            // Stone flags seen in perspective towards the far wall, lit by
            // the arcs' reflection.
            const double depth = (v - FloorTop) / (1 - FloorTop);
            const double distance = 1 / (depth + 0.12);
            const double across = (u - middle) * distance * 2.2;
            const double along = distance * 1.1;
            const double fa = Fraction(across), fl = Fraction(along);
            const double joint = std::min(std::min(fa, 1 - fa), std::min(fl, 1 - fl));
            // Joints about a pixel wide at every distance.
            const double flag = SmoothStep(0.0, 0.03 * distance, joint);
            const double stone = 0.55 + 0.45 * Fbm(across * 3, along * 3, 44, 4);
            const Colour floor = Colour{0.20, 0.19, 0.18} * (stone * (0.55 + 0.45 * flag));
            const double reflection = Glow(std::fabs(u - middle) / 0.6, 0.45) * (1 - 0.6 * depth);
            return lit(floor, 0.1 + 0.35 * reflection, 0.3);
        }
        Colour wall = Bricks(u, v);
        // A darker band under the ceiling and along the floor.
        const double shade = (0.45 + 0.55 * SmoothStep(0.0, 0.18, v)) * (1 - 0.35 * SmoothStep(FloorTop - 0.05, FloorTop, v));
        // Corners of the cellar fall into shadow.
        const double vignette = 1 - 0.55 * SmoothStep(0.35, 0.95, std::fabs(u - middle) / middle);
        return lit(wall, light, 0.42) * (shade * vignette);
    });
}
