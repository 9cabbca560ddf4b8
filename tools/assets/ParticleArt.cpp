#include "tools/assets/ParticleArt.h"

#include "tools/assets/ArtKit.h"
#include "tools/assets/SpriteKit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// The pixel values come from the drawing kit's exactly rounded arithmetic,
// so the pictures come out the same everywhere.
using namespace art;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2 * Pi;

double Sin(double x) { return Sine(x / TwoPi); }
double Cos(double x) { return Sine(x / TwoPi + 0.25); }

// Powers for shaping curves, from square roots alone.
double Pow15(double t) { return t * std::sqrt(t); }
double Pow75(double t)
{
    const double root = std::sqrt(t);
    return root * std::sqrt(root);
}

// A sprite sampled 4 × 4 times per pixel. Points are measured in half
// heights from the centre, so y runs over [-1, 1] and x over [-w/h, w/h] and
// shapes keep their proportions. The colour is the opacity-weighted mean;
// fully clear pixels take the sprite's base colour so that filtering never
// pulls in a dark fringe.
template <class Shader>
Image RenderSprite(int width, int height, Colour base, Shader shade)
{
    const double half = height / 2.0;
    return RenderPaint(width, height, 4, base,
                       [&](double x, double y) { return shade((x - width / 2.0) / half, (y - half) / half); });
}

// Stars on a grid of cells, at most one per cell.
Colour Stars(double px, double py, double cell, double density, double radius, double brightness, uint32_t seed)
{
    const double cx = std::floor(px / cell), cy = std::floor(py / cell);
    const int32_t ix = static_cast<int32_t>(cx), iy = static_cast<int32_t>(cy);
    if (Random(ix, iy, seed) >= density)
        return {0, 0, 0};
    const double sx = (cx + 0.3 + 0.4 * Random(ix, iy, seed + 1)) * cell;
    const double sy = (cy + 0.3 + 0.4 * Random(ix, iy, seed + 2)) * cell;
    const double r = radius * (0.5 + Random(ix, iy, seed + 3));
    const double dx = px - sx, dy = py - sy;
    const double d2 = (dx * dx + dy * dy) / (r * r);
    const double light = d2 < 1 ? (1 - d2) * (1 - d2) : 0;
    return Colour{0.85, 0.9, 1.0} * (light * brightness * (0.3 + 0.7 * Random(ix, iy, seed + 4)));
}

// A tapering limb from (x0, y0) to (x1, y1) with its bounding box.
struct Branch {
    double x0, y0, x1, y1, r0, r1;
    double left, right, top, bottom;

    // How far (u, v) lies inside the limb, in picture units.
    double Inside(double u, double v) const
    {
        if (u < left || u > right || v < top || v > bottom)
            return -1;
        const double dx = x1 - x0, dy = y1 - y0;
        const double t = Clamp01(((u - x0) * dx + (v - y0) * dy) / (dx * dx + dy * dy));
        return Mix(r0, r1, t) - SegmentDistance({u, v}, {x0, y0}, {x1, y1});
    }
};

// Grows a limb upward at angle (radians from +x, counter-clockwise as seen)
// and, while depth lasts, two limbs from its end, each shorter and thinner.
void GrowBranch(std::vector<Branch>& out, double x, double y, double angle, double length, double radius,
                int depth, uint32_t seed, double thinning = 0.68, double spreading = 0.35)
{
    const double x1 = x + length * Cos(angle), y1 = y - length * Sin(angle);
    const double r1 = radius * thinning;
    const double pad = radius;
    out.push_back({x, y, x1, y1, radius, r1, std::min(x, x1) - pad, std::max(x, x1) + pad, std::min(y, y1) - pad,
                   std::max(y, y1) + pad});
    if (depth == 0)
        return;
    const uint32_t s = seed * 31u + static_cast<uint32_t>(depth);
    const double spread = spreading + spreading * Random(depth, 0, s);
    const double bend = 0.25 * (Random(depth, 1, s) - 0.5);
    GrowBranch(out, x1, y1, angle + spread + bend, length * (0.62 + 0.2 * Random(depth, 2, s)), r1, depth - 1,
               s + 1, thinning, spreading);
    GrowBranch(out, x1, y1, angle - spread * 0.8 + bend, length * (0.62 + 0.2 * Random(depth, 3, s)), r1,
               depth - 1, s + 2, thinning, spreading);
}

} // namespace

// --- Sprites ---------------------------------------------------------------

SpriteArt SnowflakeSprite()
{
    const Colour white{0.97, 0.98, 1.0};
    Image flake = RenderSprite(64, 64, white, [&](double x, double y) {
        const double r = std::sqrt(x * x + y * y);
        // A soft, slightly lumpy ball of crystals with a faint six-fold
        // sparkle that shows only on the largest flakes.
        const double lumps = 0.08 * (Noise(x * 5 + 3, y * 5 + 3, 1101) - 0.5);
        const double core = Pow15(Clamp01(1 - r / (0.62 + lumps)));
        double arms = 0;
        for (int k = 0; k < 3; ++k) {
            const double a = k * Pi / 3 + 0.3;
            const double along = x * Cos(a) + y * Sin(a);
            const double across = -x * Sin(a) + y * Cos(a);
            arms = std::max(arms, Clamp01(1 - std::fabs(across) / 0.06) * Clamp01(1 - std::fabs(along) / 0.8));
        }
        const double halo = 0.2 * Glow(r, 0.35) * Clamp01(1 - r);
        return Paint{white, Clamp01(1.2 * core + 0.12 * arms * arms + halo)};
    });
    return {L"snowflake.png", {flake}, 0.0f};
}

SpriteArt RainStreakSprite()
{
    // 12 × 96: x spans ±0.125 half heights, y ±1.
    Image streak = RenderSprite(12, 96, Colour{0.80, 0.86, 0.95}, [](double x, double y) {
        // Thin and faint at the top, a brighter drop at the bottom.
        const double t = (y + 1) / 2;
        const double width = 0.03 + 0.045 * t;
        const double across = Clamp01(1 - std::fabs(x) / width);
        const double head = SmoothStep(0.7, 0.93, t) * SmoothStep(0.985, 0.94, t);
        const double body = SmoothStep(0.0, 0.8, t) * SmoothStep(0.985, 0.93, t);
        return Paint{Colour{0.85, 0.90, 0.98}, across * (0.7 * body + 0.4 * head)};
    });
    return {L"raindrop.png", {streak}, 0.0f};
}

SpriteArt BubbleSprite()
{
    const Colour tint{0.80, 0.95, 1.0};
    Image bubble = RenderSprite(64, 64, tint, [&](double x, double y) {
        const double r = std::sqrt(x * x + y * y);
        const double rim = SmoothStep(0.55, 0.86, r) * SmoothStep(0.96, 0.88, r);
        const double inside = 0.08 * SmoothStep(0.9, 0.0, r);
        const double hx = x + 0.35, hy = y + 0.38;
        const double highlight = Pow15(Clamp01(1 - std::sqrt(hx * hx * 1.6 + hy * hy) / 0.22));
        const double shine = 0.35 * SmoothStep(0.5, 0.9, r) * SmoothStep(0.3, -0.6, x + y) * SmoothStep(0.97, 0.85, r);
        return Paint{Mix(tint, Colour{1, 1, 1}, Clamp01(highlight + shine)),
                     Clamp01(0.75 * rim + inside + highlight + shine)};
    });
    return {L"bubble.png", {bubble}, 0.0f};
}

namespace {

// A leaf of unit length along +y (stem at y = 1, tip at y = -1) with a
// serrated oval blade: the distance-like value is positive inside.
double LeafInside(double x, double y, uint32_t seed)
{
    const double t = (1 - y) / 2; // 0 at the stem, 1 at the tip
    if (t < 0.08 || t > 1)
        return -1;
    const double s = (t - 0.08) / 0.92;
    // Widest a little below the middle, pointed at the tip.
    const double profile = 0.56 * Pow75(std::max(0.0, Sin(Pi * Pow75(s))));
    const double teeth = 0.035 * std::fabs(Sin(s * 34.0)) + 0.02 * (Noise(s * 9.0, seed) - 0.5);
    return profile - teeth - std::fabs(x);
}

} // namespace

SpriteArt LeafSprite(LeafColour colour)
{
    const bool crimson = colour == LeafColour::Crimson;
    const Colour front = crimson ? Colour{0.78, 0.20, 0.07} : Colour{0.93, 0.66, 0.12};
    const Colour edge = crimson ? Colour{0.45, 0.08, 0.05} : Colour{0.78, 0.40, 0.06};
    const Colour middle = crimson ? Colour{0.95, 0.52, 0.12} : Colour{0.98, 0.84, 0.35};
    const Colour back = crimson ? Colour{0.70, 0.38, 0.25} : Colour{0.86, 0.72, 0.42};
    const uint32_t seed = crimson ? 1201 : 1301;
    constexpr int Frames = 8;

    SpriteArt art{crimson ? L"leaf-crimson.png" : L"leaf-golden.png", {}, 0.09f};
    for (int f = 0; f < Frames; ++f) {
        // One full turn in the plane and one full flip about the leaf's own
        // axis per cycle; the flip never goes wholly edge-on.
        const double turn = TwoPi * f / Frames + (crimson ? 0.4 : 1.9);
        const double flip = Cos(TwoPi * f / Frames);
        const double squash = flip >= 0 ? std::max(0.18, flip) : std::min(-0.18, flip);
        const double ct = Cos(turn), st = Sin(turn);
        art.frames.push_back(RenderSprite(64, 64, front, [&](double px, double py) {
            // Into the leaf's frame: undo the turn, then the flip's squash.
            const double x = (px * ct + py * st) / (0.84 * squash);
            const double y = (-px * st + py * ct) / 0.84;
            const double inside = LeafInside(x, y, seed);
            const double stem = (y > 0.8 && y < 1.12) ? 0.03 - std::fabs(x) : -1;
            if (inside < -0.02 && stem < 0)
                return Paint{front, 0};
            const double t = (1 - y) / 2;
            // Veins: the midrib and side veins running out toward the tip.
            const double rib = Clamp01(1 - std::fabs(x) / 0.025);
            const double side = std::fabs(Sin((t * 2.2 - std::fabs(x) * 1.6) * Pi * 3.0));
            const double vein = SmoothStep(0.12, 0.0, side) * SmoothStep(0.05, 0.15, std::fabs(x)) * 0.5;
            const double blotch = Fbm(x * 4, y * 4, seed + 7, 3);
            Colour c = Mix(middle, front, SmoothStep(0.0, 0.45, std::fabs(x) + 0.3 * blotch));
            c = Mix(c, edge, SmoothStep(0.08, 0.0, inside) * 0.7 + SmoothStep(0.6, 0.85, blotch) * 0.35);
            c = Mix(c, Mix(middle, Colour{1, 0.95, 0.8}, 0.3), 0.5 * rib + vein * 0.6);
            if (squash < 0)
                c = Mix(c, back, 0.65);
            // Light from the upper left, darker as the leaf turns away.
            c = c * (0.7 + 0.3 * std::fabs(squash));
            if (stem >= 0 && inside < 0)
                c = Mix(edge, Colour{0.35, 0.22, 0.1}, 0.5);
            const double a = std::max(Coverage(inside * 32.0), stem >= 0 ? 1.0 : 0.0);
            return Paint{c, a};
        }));
    }
    return art;
}

SpriteArt FishSprite(FishKind kind)
{
    const bool clown = kind == FishKind::Clown;
    constexpr int Frames = 6;
    constexpr double Px = 32.0; // sprite pixels per unit
    const Colour body = clown ? Colour{1.0, 0.45, 0.08} : Colour{0.12, 0.32, 0.85};
    const Colour black{0.02, 0.02, 0.03};
    SpriteArt art{clown ? L"fish-clown.png" : L"fish-tang.png", {}, 0.11f};
    for (int f = 0; f < Frames; ++f) {
        // Half a frame off the zero crossing, so that no two frames in a row
        // show the tail at the same place.
        const double swing = Sin(TwoPi * (f + 0.5) / Frames);
        // 128 × 64: x in [-2, 2], y in [-1, 1]; the head to the right.
        art.frames.push_back(RenderSprite(128, 64, body, [&](double x, double y) {
            // The rear half bends with the swing of the tail.
            const double rear = Clamp01((0.4 - x) / 2.2);
            const double yb = y - 0.3 * swing * rear * rear;
            // Body: an oval from the tail root at x = -1.05 to the rounded
            // snout at 1.75, slimmer toward the tail; distances below are in
            // sprite pixels.
            const double s = (x - 0.35) / 1.4;
            const double halfHeight = std::fabs(s) <= 1
                                          ? (clown ? 0.64 : 0.72) * std::sqrt(1 - s * s) *
                                                (0.62 + 0.38 * SmoothStep(-1.0, 0.1, s))
                                          : -1.0;
            const double inBody = (halfHeight - std::fabs(yb)) * Px;
            // Tail fin fanning out from x = -0.95 to -1.95.
            const double tailT = (x + 1.95) / 0.95;
            const double notch = clown ? 0.0 : 0.18 * SmoothStep(0.4, 0.0, std::fabs(yb)) * (1 - tailT);
            const double inTail =
                (tailT >= 0.05 && tailT <= 1) ? (0.62 - 0.42 * tailT - notch - std::fabs(yb)) * Px : -Px;
            // Dorsal fin above the back, a smaller fin under the belly.
            const double dorsalTop = (x > -0.7 && x < 0.9) ? halfHeight + 0.2 * Sin(Pi * (x + 0.7) / 1.6) : -1.0;
            const double inDorsal = yb < 0 ? (dorsalTop + yb) * Px : -Px;
            const double bellyTop = (x > -0.5 && x < 0.4) ? halfHeight + 0.16 * Sin(Pi * (x + 0.5) / 0.9) : -1.0;
            const double inBelly = yb > 0 ? (bellyTop - yb) * Px : -Px;
            const double fin = std::max({inTail, inDorsal, inBelly});
            const double a = Coverage(std::max(inBody, fin));
            if (a <= 0)
                return Paint{body, 0};

            Colour c = body;
            if (clown) {
                // Orange with three white bands edged in black; black-rimmed fins.
                const double bands[3] = {1.02, 0.22, -0.72};
                for (double b : bands) {
                    const double d = std::fabs(x - b + 0.08 * yb * yb);
                    const double w = b > 1 ? 0.12 : b > 0 ? 0.16 : 0.08;
                    c = Mix(c, black, Coverage((w + 0.06 - d) * Px));
                    c = Mix(c, Colour{0.98, 0.98, 0.96}, Coverage((w - d) * Px));
                }
                if (inBody < 0.5)
                    c = Mix(Colour{1.0, 0.5, 0.1}, black, SmoothStep(5.0, 1.5, fin));
            } else {
                // Royal blue with a dark swoosh along the side, a yellow tail.
                const double swoosh = std::fabs(yb + 0.1 - 0.22 * Sin((x + 1.0) * 1.7)) -
                                      (0.16 - 0.05 * std::fabs(x - 0.2));
                if (x > -0.9 && x < 1.2)
                    c = Mix(c, Colour{0.02, 0.03, 0.10}, 0.9 * Coverage(-swoosh * Px));
                if (inBody < 0.5)
                    c = inTail >= std::max(inDorsal, inBelly) ? Colour{1.0, 0.82, 0.10}
                                                              : Mix(Colour{0.05, 0.12, 0.45}, black, SmoothStep(5.0, 1.5, fin));
            }
            // Rounded shading, lit from above.
            if (inBody >= 0.5)
                c = c * (0.75 + 0.35 * Clamp01(0.5 - yb / (2 * std::max(halfHeight, 0.05))));
            // The eye with its glint.
            const double ex = x - 1.3, ey = yb + 0.12;
            const double eye = std::sqrt(ex * ex + ey * ey);
            c = Mix(c, Colour{0.95, 0.95, 0.9}, Coverage((0.13 - eye) * Px));
            c = Mix(c, black, Coverage((0.08 - eye) * Px));
            const double gx = ex + 0.03, gy = ey + 0.03;
            c = Mix(c, Colour{1, 1, 1}, Coverage((0.025 - std::sqrt(gx * gx + gy * gy)) * Px));
            // Fins are a little see-through.
            return Paint{c, a * (inBody >= 0.5 ? 1.0 : 0.9)};
        }));
    }
    return art;
}

SpriteArt BirdSprite()
{
    constexpr int Frames = 8;
    const Colour dark{0.07, 0.05, 0.08};
    SpriteArt art{L"bird.png", {}, 0.07f};
    for (int f = 0; f < Frames; ++f) {
        // Wing beat from a high V through the gull's M to a low arch, the
        // downstroke quicker than the upstroke.
        const double phase = TwoPi * f / Frames;
        const double lift = Sin(phase + 0.3 * Sin(phase));
        // 128 × 96: x in [-1.33, 1.33], y in [-1, 1]. Flying to the right,
        // a little away from the viewer, so both wings show.
        art.frames.push_back(RenderSprite(128, 96, dark, [&](double x, double y) {
            const double bx = x / 0.34, by = (y - 0.06) / 0.085;
            const double body = (1 - std::sqrt(bx * bx + by * by)) * 0.085;
            const double hx = x - 0.33, hy = y - 0.02;
            const double head = 0.075 - std::sqrt(hx * hx + hy * hy);
            const double beak = (x > 0.38 && x < 0.5) ? 0.022 * (0.5 - x) / 0.12 - std::fabs(y - 0.03) : -1.0;
            const double tt = (-x - 0.26) / 0.26;
            const double tail = (tt > 0 && tt < 1) ? 0.035 + 0.06 * tt - std::fabs(y - 0.08) : -1.0;
            // Each wing: shoulder, elbow and tip, broad at the shoulder and
            // tapering to the tip; the far wing a little shorter.
            double wing = -1;
            for (int side = -1; side <= 1; side += 2) {
                const double reach = side > 0 ? 1.0 : 0.86;
                const double sx = 0.02 * side, sy = 0.03;
                const double ex = sx + 0.36 * side * reach, ey = sy - 0.18 - 0.30 * lift;
                const double tx = sx + 0.84 * side * reach, ty = sy + 0.05 - 0.72 * lift;
                const double d1 = SegmentDistance({x, y}, {sx, sy}, {ex, ey});
                const double d2 = SegmentDistance({x, y}, {ex, ey}, {tx, ty});
                const double out = Clamp01((x - sx) * side / (0.84 * reach));
                wing = std::max({wing, 0.085 - 0.02 * out - d1, 0.06 * (1 - out) + 0.012 - d2});
            }
            const double inside = std::max({body, head, beak, tail, wing});
            const double a = Coverage(inside * 48.0);
            if (a <= 0)
                return Paint{dark, 0};
            // The low sun warms the undersides a little.
            const double warm = SmoothStep(0.0, 0.15, y) * 0.35;
            return Paint{Mix(dark, Colour{0.40, 0.18, 0.12}, warm), a};
        }));
    }
    return art;
}

SpriteArt GhostSprite()
{
    constexpr int Frames = 8;
    const Colour sheet{0.90, 0.95, 1.0};
    SpriteArt art{L"ghost.png", {}, 0.12f};
    for (int f = 0; f < Frames; ++f) {
        const double phase = TwoPi * f / Frames;
        // 96 × 128: x in [-0.75, 0.75], y in [-1, 1].
        art.frames.push_back(RenderSprite(96, 128, sheet, [&](double x, double y) {
            // A round head on a sheet that widens a little and ends in a
            // rippling hem; the whole sheet sways with the ripple.
            const double sway = 0.05 * Sin(phase + y * 2.0) * SmoothStep(-0.2, 0.9, y);
            const double xs = x - sway;
            const double headR = 0.46;
            const double hy = y + 0.38;
            double inside;
            if (hy < 0) {
                inside = headR - std::sqrt(xs * xs + hy * hy);
            } else {
                const double halfWidth = headR + 0.1 * SmoothStep(0.0, 1.2, hy);
                const double hem = 0.72 + 0.07 * Sin(xs * 14.0 - phase * 2) + 0.04 * Sin(xs * 6.0 + phase);
                inside = std::min(halfWidth - std::fabs(xs), hem - y);
            }
            // A faint glow just around the sheet, gone well before the edges.
            const double glow = 0.22 * Glow(std::max(0.0, -inside), 0.04) * SmoothStep(-0.09, 0.0, inside);
            if (inside < -0.09)
                return Paint{sheet, 0};
            const double a = Coverage(inside * 64.0);
            // Soft inner shading and a see-through hem.
            const double depth = Clamp01(inside / 0.25);
            const double hemFade = SmoothStep(0.85, 0.45, y);
            Paint p{Mix(Colour{0.70, 0.80, 0.95}, sheet, 0.4 + 0.6 * depth), a * (0.55 + 0.4 * hemFade)};
            // Eyes and an open mouth.
            const double ex = std::fabs(xs) - 0.17, ey = (y + 0.42) / 1.45;
            const double eye = std::sqrt(ex * ex + ey * ey);
            const double mx = xs / 0.09, my = (y + 0.12) / 0.13;
            const double mouth = std::sqrt(mx * mx + my * my);
            const double dark = std::max(Coverage((0.085 - eye) * 64.0), Coverage((1 - mouth) * 6.0));
            p.colour = Mix(p.colour, Colour{0.05, 0.06, 0.16}, dark);
            p.alpha = std::max(p.alpha, dark * 0.95);
            return Over(Paint{Colour{0.75, 0.88, 1.0}, glow}, p);
        }));
    }
    return art;
}

Image FrameStrip(const std::vector<Image>& frames)
{
    if (frames.empty())
        return Image();
    const int w = frames[0].width, h = frames[0].height;
    Image strip(w * static_cast<int>(frames.size()), h);
    for (std::size_t f = 0; f < frames.size(); ++f)
        for (int y = 0; y < h; ++y)
            std::copy(frames[f].Pixel(0, y), frames[f].Pixel(0, y) + 4 * w, strip.Pixel(static_cast<int>(f) * w, y));
    return strip;
}

std::vector<SpriteArt> ParticleSprites()
{
    return {SnowflakeSprite(),
            RainStreakSprite(),
            BubbleSprite(),
            LeafSprite(LeafColour::Crimson),
            LeafSprite(LeafColour::Golden),
            FishSprite(FishKind::Clown),
            FishSprite(FishKind::Tang),
            BirdSprite(),
            GhostSprite()};
}

// --- A winter wood at dusk -------------------------------------------------

namespace {

struct Pine {
    double u, base, height, halfWidth;
    uint32_t seed;
};

// Pines of one distance, spread across the picture.
struct PineRow {
    std::vector<Pine> trees;
    Colour needles;
    Colour snow;

    // Opacity of the nearest tree at (u, v), and how much snow lies there.
    double Cover(double u, double v, double px, double& snowShare) const
    {
        double best = 0;
        snowShare = 0;
        for (const Pine& t : trees) {
            const double dx = std::fabs(u - t.u);
            if (dx > t.halfWidth * 1.3)
                continue;
            const double rise = (t.base - v) / t.height;
            if (rise < -0.03 || rise > 1.0)
                continue;
            double inside, snow = 0;
            if (rise < 0) {
                inside = (t.halfWidth * 0.07 - dx) / px;
            } else {
                // Drooping tiers on a tapering cone: each tier is widest at
                // its lower rim, whose branch tips hang lower than its middle;
                // the tips are ragged.
                const double tiers = 5.0 + 2.0 * Random(0, 0, t.seed);
                const double cone = t.halfWidth * (1 - rise) + px;
                const double out = Clamp01(dx / cone);
                const double s = Fraction(rise * tiers + 0.45 * out * out + 0.3 * Random(0, 1, t.seed));
                const double side = u < t.u ? 0 : 1;
                const double rag = 0.78 + 0.4 * Fbm(v / t.height * 60.0, t.seed + static_cast<uint32_t>(side) * 7, 3);
                const double w = cone * (0.38 + 0.62 * (1 - s)) * rag + px;
                inside = (w - dx) / px;
                // Snow lies along the upper face of each tier's skirt, in
                // lumps, most on the outer branches.
                const double skirt = SmoothStep(0.62, 0.2, s) * SmoothStep(0.0, 0.07, s);
                const double lumps = Fbm((u - t.u) / t.height * 16.0, v / t.height * 30.0, t.seed + 3, 3);
                snow = Clamp01(skirt * (0.45 + 0.7 * out) * SmoothStep(0.36, 0.6, lumps) * 1.5 +
                               SmoothStep(0.95, 1.0, rise));
            }
            const double cover = Coverage(inside);
            if (cover > best) {
                best = cover;
                snowShare = snow;
            }
        }
        return best;
    }
};

PineRow MakePines(double aspect, double base, double spread, double tall, double count, uint32_t seed,
                  Colour needles, Colour snow, bool sidesOnly)
{
    PineRow row{{}, needles, snow};
    const int n = static_cast<int>(count);
    for (int i = 0; i < n; ++i) {
        double u = (i + 0.2 + 0.6 * Random(i, 0, seed)) / n * aspect;
        if (sidesOnly) {
            // Near trees frame the view at the sides.
            const double side = u / aspect;
            u = side < 0.5 ? side * 0.5 * aspect : (0.75 + (side - 0.5) * 0.5) * aspect;
        }
        const double h = tall * (0.7 + 0.6 * Random(i, 1, seed));
        row.trees.push_back({u, base + spread * Random(i, 2, seed), h, h * (0.22 + 0.06 * Random(i, 3, seed)),
                             seed + static_cast<uint32_t>(i) * 13});
    }
    // Far trees first, so that the nearer of two overlapping trees wins.
    std::sort(row.trees.begin(), row.trees.end(), [](const Pine& a, const Pine& b) { return a.base < b.base; });
    return row;
}

} // namespace

Image DrawWinterWood(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const Stop sky[] = {{0.0, {0.05, 0.08, 0.22}},
                        {0.25, {0.15, 0.20, 0.42}},
                        {0.45, {0.42, 0.40, 0.62}},
                        {0.56, {0.90, 0.64, 0.62}},
                        {0.62, {0.99, 0.80, 0.66}}};
    const double glowU = aspect * 0.38, glowV = 0.60;
    const PineRow distant = MakePines(aspect, 0.60, 0.02, 0.11, 46, 501, {0.30, 0.33, 0.52}, {0.72, 0.70, 0.86}, false);
    const PineRow middle = MakePines(aspect, 0.70, 0.05, 0.26, 15, 521, {0.10, 0.16, 0.26}, {0.80, 0.80, 0.94}, false);
    const PineRow closeBy = MakePines(aspect, 0.98, 0.06, 0.62, 3, 541, {0.02, 0.05, 0.08}, {0.86, 0.88, 0.98}, true);

    return Render(width, height, [&](int x, double u, double v) {
        Colour c = Gradient(sky, v);
        const double dx = u - glowU, dy = v - glowV;
        const double afterglow = Glow(std::sqrt(dx * dx * 0.3 + dy * dy), 0.12);
        c = c + Colour{0.30, 0.16, 0.10} * (afterglow * SmoothStep(0.2, 0.6, v));
        c = c + Stars(x, v * height, 9.0, 0.10, 1.3, 0.8, 551) * SmoothStep(0.38, 0.05, v);
        // Venus above the afterglow.
        const double vx = u - aspect * 0.71, vy = v - 0.27;
        c = c + Colour{1.0, 0.95, 0.85} * (0.9 * Glow(std::sqrt(vx * vx + vy * vy), 0.0025));

        // Snowy hills far away, pink along their crests.
        const double ridge = 0.57 - 0.07 * Fbm(u * 1.4, 561, 4);
        const double hillCover = Coverage((v - ridge) / px);
        if (hillCover > 0) {
            const double below = v - ridge;
            Colour hill = Mix(Colour{0.86, 0.70, 0.78}, Colour{0.56, 0.58, 0.78}, SmoothStep(0.0, 0.04, below));
            hill = hill * (0.9 + 0.1 * Fbm(u * 20, v * 60, 563, 3));
            c = Mix(c, hill, hillCover);
        }

        double snow = 0;
        double cover = distant.Cover(u, v, px, snow);
        if (cover > 0)
            c = Mix(c, Mix(distant.needles, distant.snow, snow * 0.7), cover);

        // The snowfield, gently rolling, in blue shade toward the front.
        const double field = 0.655 + 0.015 * Fbm(u * 3.0, 571, 3);
        const double fieldCover = Coverage((v - field) / px);
        if (fieldCover > 0) {
            const double depth = v - field;
            const double drift = Fbm(u * 4.0, v * 14.0, 573, 4);
            Colour ground = Mix(Colour{0.93, 0.84, 0.86}, Colour{0.72, 0.76, 0.93}, SmoothStep(0.0, 0.12, depth));
            ground = Mix(ground, Colour{0.45, 0.52, 0.80}, SmoothStep(0.1, 0.35, depth) * (0.5 + 0.4 * drift));
            ground = ground * (0.92 + 0.12 * drift);
            if (Random(x, static_cast<int32_t>(v * height), 577) > 0.9982)
                ground = ground + Colour{0.5, 0.5, 0.45};
            c = Mix(c, ground, fieldCover);
        }

        cover = middle.Cover(u, v, px, snow);
        if (cover > 0)
            c = Mix(c, Mix(middle.needles, middle.snow, snow), cover);
        cover = closeBy.Cover(u, v, px, snow);
        if (cover > 0)
            c = Mix(c, Mix(closeBy.needles, closeBy.snow * (0.85 + 0.15 * SmoothStep(1.0, 0.4, v)), snow), cover);
        return c;
    });
}

// --- A rainy street at night -----------------------------------------------

namespace {

struct Building {
    double left, right, top;
    Colour wall;
    uint32_t seed;
};

class RainyStreet {
public:
    static constexpr double Street = 0.62; // where the buildings meet the pavement
    static constexpr double Kerb = 0.655;  // the pavement's front edge

    RainyStreet(double aspectRatio, double pixel) : aspect(aspectRatio), px(pixel)
    {
        double u = -0.05;
        for (uint32_t i = 0; u < aspect; ++i) {
            const double w = 0.14 + 0.16 * Random(static_cast<int32_t>(i), 0, 801);
            const double top = 0.08 + 0.28 * Random(static_cast<int32_t>(i), 1, 801);
            const double shade = 0.05 + 0.04 * Random(static_cast<int32_t>(i), 2, 801);
            buildings.push_back({u, u + w, top, Colour{shade, shade * 1.05, shade * 1.35}, 811 + i * 7});
            u += w;
        }
        const double lamps[] = {0.10, 0.40, 0.70, 0.93};
        for (double l : lamps)
            lampU.push_back(l * aspect);
    }

    // The scene above the pavement's edge: sky, buildings, lamps.
    Colour Upper(double u, double v) const
    {
        const Stop sky[] = {{0.0, {0.03, 0.03, 0.06}}, {0.3, {0.08, 0.07, 0.11}}, {0.5, {0.22, 0.14, 0.14}}};
        Colour c = Gradient(sky, v);
        const double cloud = Fbm(u * 2.5, v * 7.0, 831, 4);
        c = c + Colour{0.10, 0.07, 0.07} * (SmoothStep(0.45, 0.8, cloud) * SmoothStep(0.05, 0.35, v));

        for (const Building& b : buildings) {
            if (u < b.left || u >= b.right || v < b.top)
                continue;
            Colour wall = b.wall * (0.85 + 0.25 * Fbm(u * 40, v * 40, b.seed, 2));
            // A parapet line and a grid of windows, some lit.
            if (v < b.top + 0.008)
                wall = wall * 1.5;
            const double cw = 0.026, ch = 0.038;
            const double gx = (u - b.left - 0.012) / cw, gy = (v - b.top - 0.02) / ch;
            const int32_t ix = static_cast<int32_t>(std::floor(gx)), iy = static_cast<int32_t>(std::floor(gy));
            const double fx = Fraction(gx), fy = Fraction(gy);
            const bool inGrid = gx >= 0 && u < b.right - 0.012 && gy >= 0 && v < Street - 0.04;
            if (inGrid && fx > 0.22 && fx < 0.78 && fy > 0.2 && fy < 0.8) {
                const double lit = Random(ix, iy, b.seed);
                Colour glass{0.04, 0.05, 0.08};
                if (lit < 0.34)
                    glass = Colour{1.0, 0.72, 0.38} * (0.6 + 0.4 * Random(ix, iy, b.seed + 1));
                else if (lit < 0.42)
                    glass = Colour{0.45, 0.62, 1.0} * 0.7;
                // A lit window is brighter at its sill, with a curtain edge.
                wall = glass * (0.8 + 0.3 * fy);
            }
            c = wall;
            // Shop fronts glow at street level.
            if (v > Street - 0.035) {
                const double shop = Random(static_cast<int32_t>(std::floor((u - b.left) * 18)), 0, b.seed);
                c = Mix(c, Colour{0.75, 0.50, 0.28} * (0.3 + 0.7 * shop), 0.55);
            }
            // The rain's haze softens everything a little.
            c = Mix(c, Colour{0.10, 0.09, 0.12}, 0.18);
            break;
        }

        for (double l : lampU) {
            // A slim post with its lamp hanging from a short arm.
            const double post = (0.003 - std::fabs(u - l)) / px;
            if (v > 0.31 && v < Street)
                c = Mix(c, Colour{0.02, 0.02, 0.025}, Coverage(post));
            const double arm = SegmentDistance({u, v}, {l, 0.31}, {l + 0.03, 0.305});
            c = Mix(c, Colour{0.02, 0.02, 0.025}, Coverage((0.0025 - arm) / px));
            c = c + LampGlow(u, v, l);
        }
        return c;
    }

    // The light of the lamp at post u = l, haloed by the rain.
    Colour LampGlow(double u, double v, double l) const
    {
        const double dx = u - (l + 0.03), dy = v - 0.318;
        const double d = std::sqrt(dx * dx + dy * dy);
        return Colour{1.0, 0.74, 0.42} * (0.9 * Glow(d, 0.006) + 0.45 * Glow(d, 0.045) + 0.18 * Glow(d, 0.2));
    }

    double aspect;
    double px;
    std::vector<Building> buildings;
    std::vector<double> lampU;
};

} // namespace

Image DrawRainyStreet(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const RainyStreet scene(aspect, px);
    return Render(width, height, [&](int, double u, double v) {
        if (v < RainyStreet::Street)
            return scene.Upper(u, v) + Colour{0.05, 0.05, 0.07} * SmoothStep(0.3, 0.6, v);
        if (v < RainyStreet::Kerb) {
            // Wet paving stones under the lamps.
            const double joint = std::min(Fraction(u * 28), Fraction((v - RainyStreet::Street) * 110));
            Colour pave = Colour{0.07, 0.07, 0.09} * (0.8 + 0.4 * Fbm(u * 30, v * 60, 851, 2));
            pave = pave * (joint < 0.06 ? 0.6 : 1.0);
            Colour light{0, 0, 0};
            for (double l : scene.lampU)
                light = light + scene.LampGlow(u, v * 3.0 - 0.62, l) * 0.5;
            return pave + light * 0.4 + Colour{0.06, 0.04, 0.03};
        }
        // The wet road mirrors everything above it; ripples and puddles break
        // the reflection into streaks.
        const double depth = v - RainyStreet::Kerb;
        const double ripple = (Fbm(u * 60.0, v * 8.0, 861, 3) - 0.5) * 0.012;
        const double mirrored = RainyStreet::Street - (v - RainyStreet::Street) * 0.85;
        // Smeared down the wet surface: several samples along the fall.
        Colour reflection{0, 0, 0};
        for (int k = 0; k < 5; ++k)
            reflection = reflection + scene.Upper(u + ripple * (1 + k * 0.5), std::max(0.0, mirrored + 0.01 * k)) * 0.2;
        const double puddle = SmoothStep(0.45, 0.6, Fbm(u * 3.0, v * 9.0, 871, 4));
        Colour road = Colour{0.03, 0.032, 0.04} * (0.7 + 0.6 * Fbm(u * 80, v * 160, 881, 3));
        road = road + reflection * (0.10 + 0.40 * puddle);
        // The lamps' long reflections.
        for (double l : scene.lampU) {
            const double across = std::fabs(u + ripple * 2 - (l + 0.03));
            road = road + Colour{1.0, 0.7, 0.38} * (0.35 * Glow(across, 0.006 + depth * 0.02) *
                                                    SmoothStep(0.45, 0.0, depth) * (0.5 + puddle));
        }
        // A kerb stone line.
        if (depth < 0.006)
            road = Mix(road, Colour{0.14, 0.14, 0.16}, 0.7);
        return road;
    });
}

// --- An autumn park --------------------------------------------------------

namespace {

// The foliage colours of autumn, picked by a value in [0, 1].
Colour AutumnColour(double t)
{
    const Stop leaves[] = {{0.0, {0.50, 0.10, 0.04}},
                           {0.3, {0.85, 0.30, 0.06}},
                           {0.6, {0.96, 0.60, 0.12}},
                           {0.85, {0.95, 0.80, 0.25}},
                           {1.0, {0.70, 0.62, 0.20}}};
    return Gradient(leaves, t);
}

struct Crown {
    double u, v, radius;
    uint32_t seed;
};

// A row of round tree crowns standing on the ground line, one per cell.
struct TreeLine {
    double ground, cell, size, haze;
    uint32_t seed;

    // The colour of the crown or trunk covering (u, v), with its coverage.
    double Cover(double u, double v, double px, Colour& colour) const
    {
        double best = 0;
        const int32_t here = static_cast<int32_t>(std::floor(u / cell));
        for (int32_t i = here - 2; i <= here + 2; ++i) {
            const double r = size * (0.6 + 0.6 * Random(i, 0, seed));
            const double cu = (i + 0.5 + 0.5 * (Random(i, 1, seed) - 0.5)) * cell;
            const double cv = ground - r * (1.1 + 0.5 * Random(i, 2, seed));
            const double dx = (u - cu) / r, dy = (v - cv) / (r * 1.1);
            const double edge = 0.18 * (Fbm(u / r * 3, v / r * 3, seed + static_cast<uint32_t>(i), 3) - 0.5);
            const double crown = (1 + edge - std::sqrt(dx * dx + dy * dy)) * r / px;
            const double trunk = std::min((r * 0.07 - std::fabs(u - cu)) / px, (ground - v) / px + 1);
            const double cover = Coverage(std::max(crown, v > cv ? trunk : -1.0));
            if (cover <= 0 || cover < best * 0.999)
                continue;
            const double hue = Random(i, 3, seed);
            const double lit = Clamp01(0.55 - 0.35 * dy + 0.25 * dx + 0.5 * (Fbm(u / r * 9, v / r * 9, seed + 5, 3) - 0.5));
            Colour c = crown > trunk ? AutumnColour(hue) * (0.45 + 0.7 * lit) : Colour{0.16, 0.10, 0.07};
            colour = Mix(c, Colour{0.80, 0.78, 0.82}, haze);
            best = cover;
        }
        return best;
    }
};

} // namespace

Image DrawAutumnPark(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const Stop sky[] = {{0.0, {0.30, 0.50, 0.80}}, {0.45, {0.70, 0.80, 0.90}}, {0.6, {0.93, 0.88, 0.80}}};
    const double sunU = aspect * 0.78, sunV = 0.12;
    const double horizon = 0.58;
    const TreeLine distant{0.575, 0.045, 0.035, 0.45, 951};
    const TreeLine closeBy{0.605, 0.075, 0.06, 0.15, 961};
    const Crown crowns[] = {{aspect * 0.05, 0.10, 0.34, 901}, {aspect * 0.20, 0.02, 0.20, 903},
                            {aspect * 0.97, 0.12, 0.36, 905}, {aspect * 0.91, 0.04, 0.24, 907}};
    const double trunks[][2] = {{aspect * 0.07, 0.032}, {aspect * 0.93, 0.036}};

    return Render(width, height, [&](int, double u, double v) {
        Colour c = Gradient(sky, v);
        const double sx = u - sunU, sy = v - sunV;
        c = c + Colour{0.45, 0.35, 0.18} * Glow(std::sqrt(sx * sx + sy * sy), 0.12);
        const double cloud = SmoothStep(0.5, 0.75, Fbm(u * 1.8, v * 5.0, 911, 5)) * SmoothStep(0.45, 0.1, v);
        c = Mix(c, Colour{0.98, 0.96, 0.93}, cloud * 0.8);

        // The lawn in perspective, littered with fallen leaves, and a path
        // winding toward the trees.
        if (v > horizon) {
            const double depth = v - horizon;
            // Ground cells shrink with distance, and flatten too, but less
            // than true perspective would: the leaves must read as leaves.
            const double cellSize = 0.05 * (depth + 0.002);
            const double gx = (u - aspect * 0.5) / cellSize;
            const double gz = 36.0 / std::sqrt(depth + 0.002);
            Colour ground = Mix(Colour{0.42, 0.44, 0.20}, Colour{0.20, 0.24, 0.08}, SmoothStep(0.0, 0.4, depth));
            ground = ground * (0.78 + 0.4 * Fbm(gx * 0.12, gz * 0.12, 931, 3));
            // A fallen leaf in most cells, a small rotated oval; far away,
            // where a leaf is smaller than a pixel, their mean colour.
            const double cellPixels = cellSize / px;
            const double cx = std::floor(gx), cz = std::floor(gz);
            const int32_t ix = static_cast<int32_t>(cx), iz = static_cast<int32_t>(cz);
            const double fx = gx - cx - 0.5 - 0.3 * (Random(ix, iz, 933) - 0.5);
            const double fz = gz - cz - 0.5 - 0.3 * (Random(ix, iz, 934) - 0.5);
            const double angle = TwoPi * Random(ix, iz, 935);
            const double ax = fx * Cos(angle) + fz * Sin(angle), ay = -fx * Sin(angle) + fz * Cos(angle);
            const double leaf = (0.36 - std::sqrt(ax * ax * 3.0 + ay * ay)) * cellPixels * 0.6;
            const Colour leafColour = AutumnColour(Random(ix, iz, 936)) * (0.65 + 0.45 * Random(ix, iz, 937));
            const double present = Random(ix, iz, 938) < 0.75 ? 1.0 : 0.0;
            const double sharp = SmoothStep(3.0, 8.0, cellPixels);
            ground = Mix(ground, Mix(AutumnColour(0.45) * 0.7, leafColour, sharp),
                         Mix(0.3, Coverage(leaf) * present, sharp));

            const double pathCentre = aspect * 0.5 + 0.25 * Sin(depth * 7.0 + 0.8) * depth;
            const double pathHalf = 0.004 + 0.45 * depth;
            const double onPath = Coverage((pathHalf - std::fabs(u - pathCentre)) / px);
            Colour path = Colour{0.62, 0.55, 0.45} * (0.85 + 0.2 * Fbm(gx * 0.5, gz * 0.5, 941, 2));
            path = path * (0.85 + 0.15 * SmoothStep(pathHalf, 0.0, std::fabs(u - pathCentre)));
            path = Mix(path, leafColour, Coverage(leaf) * present * sharp * (Random(ix, iz, 939) < 0.35 ? 1 : 0));
            ground = Mix(ground, path, onPath);
            c = Mix(c, ground, Coverage(depth / px));
        }

        // Two rows of trees at the far side of the lawn.
        Colour tree;
        double cover = distant.Cover(u, v, px, tree);
        if (cover > 0)
            c = Mix(c, tree, cover);
        cover = closeBy.Cover(u, v, px, tree);
        if (cover > 0)
            c = Mix(c, tree, cover);

        // Two old trees frame the park: their trunks, then their crowns.
        for (const auto& t : trunks) {
            const double half = t[1] * (1 + 0.6 * SmoothStep(0.85, 1.0, v)) * (0.8 + 0.2 * v);
            const double inside = (half - std::fabs(u - t[0])) / px;
            if (v > 0.15) {
                const double bark = Fbm(u * 90, v * 18, 945, 3);
                const Colour wood = Colour{0.20, 0.12, 0.08} * (0.55 + 0.6 * bark) *
                                    (0.6 + 0.7 * Clamp01((u - t[0] + half) / (2 * half)));
                c = Mix(c, wood, Coverage(inside));
            }
        }
        for (const Crown& k : crowns) {
            const double dx = (u - k.u) / k.radius, dy = (v - k.v) / (k.radius * 0.8);
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r > 1.15)
                continue;
            // Strongly round, so that no stray clump floats free of the crown.
            const double mass = Fbm(u * 5, v * 5, k.seed, 4) + 1.4 * (1 - r) - 0.75;
            const double leaves = SmoothStep(0.40, 0.43, mass);
            if (leaves <= 0)
                continue;
            const double hue = Fbm(u * 4, v * 4, k.seed + 1, 3);
            const double clumps = Fbm(u * 70, v * 70, k.seed + 2, 3);
            const double lit = Clamp01(0.55 + 0.25 * (dx - dy) * 0.5 + 0.6 * (clumps - 0.5) + 0.5 * (mass - 0.5));
            const Colour foliage = AutumnColour(hue) * (0.4 + 0.8 * lit);
            c = Mix(c, foliage, leaves);
        }
        return c;
    });
}

// --- A coral reef ----------------------------------------------------------

namespace {

enum class CoralKind { Brain, Branch, Fan };

struct Coral {
    CoralKind kind;
    double u, base, width, height;
    Colour colour;
    uint32_t seed;
    std::vector<Branch> limbs;
};

} // namespace

Image DrawCoralReef(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const Stop water[] = {{0.0, {0.16, 0.62, 0.72}}, {0.35, {0.05, 0.36, 0.55}}, {1.0, {0.02, 0.14, 0.32}}};
    std::vector<Coral> corals;
    const Colour palette[] = {{0.95, 0.45, 0.55}, {0.60, 0.35, 0.85}, {1.0, 0.58, 0.25},
                              {0.95, 0.80, 0.35}, {0.35, 0.75, 0.65}, {0.90, 0.30, 0.30}};
    constexpr int Corals = 24;
    for (int i = 0; i < Corals; ++i) {
        const double r = Random(i, 0, 1001);
        const CoralKind kind = r < 0.4 ? CoralKind::Brain : r < 0.75 ? CoralKind::Branch : CoralKind::Fan;
        const double u = (i + Random(i, 1, 1001)) / Corals * aspect * 1.08 - 0.04;
        const double base = 0.83 + 0.16 * Random(i, 2, 1001);
        const double size = (0.07 + 0.09 * Random(i, 3, 1001)) * (0.6 + 2.5 * (base - 0.8));
        Coral k{kind, u, base, size * (kind == CoralKind::Brain ? 1.5 : 1.0),
                size * (kind == CoralKind::Brain ? 0.8 : 1.5), palette[Hash(i, 4, 1001) % 6],
                1011 + static_cast<uint32_t>(i) * 5, {}};
        if (kind == CoralKind::Branch)
            for (int stem = 0; stem < 3; ++stem)
                GrowBranch(k.limbs, u + (stem - 1) * size * 0.35, base, Pi / 2 + 0.35 * (stem - 1),
                           size * 0.55, size * 0.09, 3, k.seed + static_cast<uint32_t>(stem), 0.85, 0.3);
        corals.push_back(std::move(k));
    }
    std::sort(corals.begin(), corals.end(), [](const Coral& a, const Coral& b) { return a.base < b.base; });

    return Render(width, height, [&](int, double u, double v) {
        Colour c = Gradient(water, v);
        // Light from the rippling surface, in shafts that fade with depth.
        const double surface = SmoothStep(0.06, 0.0, v);
        const double shimmer = Fbm(u * 18.0, v * 30.0, 1031, 3);
        c = c + Colour{0.35, 0.55, 0.55} * (surface * SmoothStep(0.35, 0.75, shimmer));
        const double slant = u - v * 0.35;
        const double shafts = SmoothStep(0.55, 0.9, Fbm(slant * 6.0, 1041, 3)) * SmoothStep(0.85, 0.05, v);
        c = c + Colour{0.20, 0.35, 0.32} * (shafts * 0.6);
        const Colour fog = Gradient(water, v);

        // Rocks far back in the blue.
        const double rocks = 0.72 - 0.12 * Fbm(u * 2.2, 1051, 4) * Fbm(u * 6.0, 1052, 2);
        const double rockCover = Coverage((v - rocks) / px);
        if (rockCover > 0) {
            const Colour rock = Mix(Colour{0.07, 0.24, 0.36}, Colour{0.03, 0.12, 0.24}, SmoothStep(0, 0.1, v - rocks));
            c = Mix(c, rock * (0.85 + 0.3 * Fbm(u * 20, v * 20, 1053, 3)), rockCover);
        }

        // The sandy floor, rippled and dappled with caustics.
        const double floor = 0.80 + 0.035 * Fbm(u * 2.5, 1061, 3);
        const double floorCover = Coverage((v - floor) / px);
        if (floorCover > 0) {
            const double depth = v - floor;
            const double ripples = Sin((u * 50.0 + Fbm(u * 4, v * 8, 1063, 3) * 12.0) / (0.3 + depth * 4));
            const double caustic = SmoothStep(0.06, 0.0, std::fabs(Fbm(u * 14, v * 30, 1065, 3) - 0.5));
            Colour sand = Colour{0.62, 0.60, 0.46} * (0.85 + 0.08 * ripples) + Colour{0.25, 0.35, 0.30} * caustic;
            sand = Mix(fog, sand, 0.35 + 0.65 * SmoothStep(0.0, 0.2, depth));
            c = Mix(c, sand, floorCover);
        }

        for (const Coral& k : corals) {
            const double x = (u - k.u) / k.width;
            const double y = (k.base - v) / k.height; // 0 at the foot, 1 at the top
            if (std::fabs(x) > 2.0 || y < -0.1 || y > 2.0)
                continue;
            double inside = -1;
            Colour tint = k.colour;
            switch (k.kind) {
            case CoralKind::Brain: {
                // A lumpy mound with meandering grooves, lit from above.
                const double r = std::sqrt(x * x + y * y);
                const double lumps = 0.12 * (Fbm(u / k.width * 3, v / k.width * 3, k.seed, 3) - 0.5);
                inside = (1 + lumps - r) * k.height / px;
                const double grooves = SmoothStep(0.25, 0.0, std::fabs(Sin(Fbm(u / k.width * 4, v / k.width * 4, k.seed + 1, 3) * 30.0)));
                tint = tint * (0.55 + 0.5 * Clamp01(y)) * (1 - 0.35 * grooves);
                break;
            }
            case CoralKind::Branch: {
                // Antler-like limbs with pale growing tips.
                double tip = 0;
                for (const Branch& b : k.limbs) {
                    const double d = b.Inside(u, v);
                    if (d > inside) {
                        inside = d;
                        tip = Clamp01((b.y0 - v) / (b.y0 - b.y1 + 1e-9)) * (b.r1 < k.width * 0.06 ? 1 : 0);
                    }
                }
                inside /= px;
                tint = Mix(tint * (0.6 + 0.3 * Noise(u / px * 0.3, v / px * 0.3, k.seed)), Colour{0.95, 0.90, 0.85}, 0.4 * tip * tip);
                break;
            }
            case CoralKind::Fan: {
                // A lacy fan on a short stalk: a net of fine veins over a
                // thin web that lets the blue through.
                const double fy = y - 0.15;
                const double r = std::sqrt(x * x + fy * fy * 0.7);
                const double edge = 0.08 * (Fbm(x * 3, fy * 3, k.seed, 2) - 0.5);
                if (fy > 0) {
                    inside = (1 + edge - r) * k.width / px;
                    const double net = std::min(std::fabs(Sin(x / (fy + 0.3) * 14.0)), std::fabs(Sin(r * 28.0)));
                    const double web = 0.45 + 0.55 * SmoothStep(0.25, 0.05, net);
                    tint = Mix(fog, tint * (0.75 + 0.3 * fy), web);
                } else {
                    inside = (0.05 - std::fabs(x)) * k.width / px;
                }
                break;
            }
            }
            const double cover = Coverage(inside);
            if (cover > 0) {
                // Farther corals sink into the blue.
                const double distance = SmoothStep(0.99, 0.82, k.base);
                c = Mix(c, Mix(tint, fog, 0.1 + 0.55 * distance), cover);
            }
        }
        return c;
    });
}

// --- An evening sky --------------------------------------------------------

Image DrawEveningSky(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const Stop sky[] = {{0.0, {0.09, 0.12, 0.33}},
                        {0.35, {0.32, 0.25, 0.50}},
                        {0.60, {0.82, 0.42, 0.40}},
                        {0.80, {1.0, 0.62, 0.28}},
                        {0.90, {1.0, 0.85, 0.50}}};
    const double sunU = aspect * 0.64, sunV = 0.875, sunR = 0.032;
    const auto clouds = [](double u, double v) {
        const double band = SmoothStep(0.12, 0.3, v) * SmoothStep(0.82, 0.6, v);
        return SmoothStep(0.48, 0.72, Fbm(u * 1.3, v * 7.5, 1101, 5)) * band;
    };

    return Render(width, height, [&](int, double u, double v) {
        Colour c = Gradient(sky, v);
        const double dx = u - sunU, dy = v - sunV;
        const double d = std::sqrt(dx * dx + dy * dy);
        c = c + Colour{0.6, 0.35, 0.12} * (0.6 * Glow(d, 0.06) + 0.4 * Glow(d, 0.3));
        c = Mix(c, Colour{1.0, 0.93, 0.72}, Coverage((sunR - d) / px));

        // Long clouds, lit from below by the low sun, dark on their tops.
        const double density = clouds(u, v);
        if (density > 0) {
            const double underside = Clamp01((density - clouds(u, v + 0.012)) * 3.0 + 0.5);
            const double sunward = SmoothStep(0.9, 0.3, std::fabs(u - sunU));
            Colour lit = Mix(Colour{0.95, 0.45, 0.40}, Colour{1.0, 0.78, 0.45}, SmoothStep(0.4, 0.8, v) * sunward);
            const Colour shade = Mix(Colour{0.18, 0.14, 0.30}, Colour{0.45, 0.25, 0.35}, SmoothStep(0.2, 0.8, v));
            lit = Mix(shade, lit, underside);
            c = Mix(c, lit, density * 0.92);
        }

        // Hills and a few round trees against the last light.
        const double ridge = 0.885 - 0.04 * Fbm(u * 3.0, 1111, 4);
        double inside = (v - ridge) / px;
        const double treeCells = 9.0;
        const double cell = u * treeCells / aspect;
        const int32_t which = static_cast<int32_t>(std::floor(cell));
        if (Random(which, 0, 1113) < 0.55) {
            const double cu = (which + 0.3 + 0.4 * Random(which, 1, 1113)) * aspect / treeCells;
            const double size = 0.03 + 0.04 * Random(which, 2, 1113);
            const double base = 0.885 - 0.04 * Fbm(cu * 3.0, 1111, 4);
            const double tx = (u - cu) / size, ty = (v - (base - size * 1.1)) / (size * 1.2);
            const double crown = (1 - std::sqrt(tx * tx + ty * ty)) + 0.15 * (Fbm(u * 120, v * 120, 1115, 2) - 0.5);
            inside = std::max(inside, crown * size / px);
            if (v > base - size)
                inside = std::max(inside, (size * 0.08 - std::fabs(u - cu)) / px);
        }
        c = Mix(c, Colour{0.10, 0.05, 0.10}, Coverage(inside));
        return c;
    });
}

// --- A haunted hill --------------------------------------------------------


Image DrawHauntedHill(int width, int height)
{
    const double px = 1.0 / height, aspect = double(width) / height;
    const Stop sky[] = {{0.0, {0.02, 0.02, 0.07}}, {0.5, {0.07, 0.07, 0.18}}, {0.8, {0.14, 0.14, 0.26}}};
    const double moonU = aspect * 0.68, moonV = 0.27, moonR = 0.10;
    const auto hill = [&](double u) { return 0.86 - 0.30 * SmoothStep(aspect * 0.25, aspect * 0.9, u) + 0.03 * Fbm(u * 4, 1201, 3); };
    std::vector<Branch> tree;
    const double treeU = aspect * 0.80;
    GrowBranch(tree, treeU, hill(treeU) + 0.01, Pi / 2 + 0.08, 0.16, 0.016, 7, 1211);
    struct Stone {
        double u, v, w, h, tilt;
        bool cross;
    };
    std::vector<Stone> stones;
    for (int i = 0; i < 9; ++i) {
        const double u = aspect * (0.30 + 0.58 * (i + Random(i, 0, 1221)) / 9.0);
        const double size = 0.016 + 0.014 * Random(i, 1, 1221);
        stones.push_back({u, hill(u) + 0.006, size, size * 2.2, 0.25 * (Random(i, 3, 1221) - 0.5),
                          Random(i, 4, 1221) < 0.3});
    }

    return Render(width, height, [&](int x, double u, double v) {
        Colour c = Gradient(sky, v);
        c = c + Stars(x, v * height, 8.0, 0.12, 1.2, 0.7, 1231) * SmoothStep(0.7, 0.2, v);
        const double mx = u - moonU, my = v - moonV;
        const double d = std::sqrt(mx * mx + my * my);
        c = c + Colour{0.35, 0.38, 0.45} * (0.7 * Glow(d, 0.14) + 0.3 * Glow(d, 0.5));
        if (d < moonR + 2 * px) {
            const double maria = SmoothStep(0.45, 0.7, Fbm(mx * 12, my * 12, 1241, 4));
            const double limb = 1 - 0.2 * (d / moonR) * (d / moonR);
            c = Mix(c, Colour{1.0, 0.97, 0.85} * ((1 - 0.22 * maria) * limb), Coverage((moonR - d) / px));
        }
        // Ragged clouds drifting across the moon.
        const double cloud = SmoothStep(0.52, 0.78, Fbm(u * 2.2, v * 6.0, 1251, 5)) * SmoothStep(0.05, 0.2, v) *
                             SmoothStep(0.6, 0.4, v);
        c = Mix(c, Mix(Colour{0.08, 0.08, 0.14}, Colour{0.55, 0.56, 0.62}, Clamp01(Glow(d, 0.12))), cloud * 0.85);

        const Colour black{0.015, 0.015, 0.03};
        double inside = (v - hill(u)) / px;
        for (const Branch& b : tree)
            inside = std::max(inside, b.Inside(u, v) / px);
        for (const Stone& s : stones) {
            const double lx = u - s.u + (s.v - v) * s.tilt, ly = s.v - v;
            if (s.cross) {
                const double upright = std::min(s.w * 0.22 - std::fabs(lx), std::min(ly, s.h * 1.2 - ly));
                const double arm = std::min(s.w * 0.7 - std::fabs(lx), s.w * 0.2 - std::fabs(ly - s.h * 0.8));
                inside = std::max(inside, std::max(upright, arm) / px);
            } else {
                const double body = std::min(s.w - std::fabs(lx), std::min(ly, s.h - s.w - ly) + 0.0);
                const double ax = lx, ay = ly - (s.h - s.w);
                const double top = ay > 0 ? s.w - std::sqrt(ax * ax + ay * ay) : -1;
                inside = std::max(inside, std::max(body, top) / px);
            }
        }
        c = Mix(c, black, Coverage(inside));
        // Moonlight catches the hill's crest.
        const double crest = Coverage((v - hill(u)) / px) * SmoothStep(0.006, 0.0, v - hill(u));
        c = c + Colour{0.10, 0.11, 0.16} * crest;

        // Mist pools at the foot of the hill.
        const double mist = SmoothStep(0.62, 0.98, v) * (0.4 + 0.6 * Fbm(u * 3.0, v * 10.0, 1261, 4));
        c = Mix(c, Colour{0.32, 0.36, 0.50}, mist * 0.75);
        return c;
    });
}

const std::vector<DemoPicture>& ParticleScenes()
{
    static const std::vector<DemoPicture> scenes = {
        {L"winter-wood.jpg", 1280, 720, DemoFormat::Jpeg, DrawWinterWood},
        {L"rainy-street.jpg", 1280, 720, DemoFormat::Jpeg, DrawRainyStreet},
        {L"autumn-park.jpg", 1280, 720, DemoFormat::Jpeg, DrawAutumnPark},
        {L"coral-reef.jpg", 1280, 720, DemoFormat::Jpeg, DrawCoralReef},
        {L"evening-sky.jpg", 1280, 720, DemoFormat::Jpeg, DrawEveningSky},
        {L"haunted-hill.jpg", 1280, 720, DemoFormat::Jpeg, DrawHauntedHill},
    };
    return scenes;
}
