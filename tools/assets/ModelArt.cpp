// The object pictures: body skin, wings, clock face and hand, petal. The
// scenes are in ModelSceneArt.cpp.
#include "tools/assets/ModelArt.h"

#include "tools/assets/ArtKit.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace art;

namespace {

double Square(double x) { return x * x; }

double SegmentDistance(double pu, double pv, double au, double av, double bu, double bv)
{
    const double du = bu - au, dv = bv - av;
    const double t = Clamp01(((pu - au) * du + (pv - av) * dv) / (du * du + dv * dv));
    return std::sqrt(Square(pu - au - t * du) + Square(pv - av - t * dv));
}

// A colour with its alpha; colour is kept where alpha is 0 too, so filtering
// at the silhouette does not darken it.
void PutColour(Image& image, int x, int y, Colour c, double alpha)
{
    PutPixel(image, x, y, c);
    image.Pixel(x, y)[3] = Byte(alpha);
}

template <class Shader>
Image RenderAlpha(int width, int height, Shader shade)
{
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double alpha = 1.0;
            const Colour c = shade((x + 0.5) / width, (y + 0.5) / height, alpha);
            PutColour(image, x, y, c, alpha);
        }
    return image;
}

struct Point {
    double u, v;
};

struct Segment {
    Point a, b;
};

Point Lerp(Point a, Point b, double t) { return {a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t}; }

// Signed distance from the line a → b: positive on its right as seen on the
// picture (v down), which for a line running right is below it.
double Side(Point a, Point b, double u, double v)
{
    const double du = b.u - a.u, dv = b.v - a.v;
    return (du * (v - a.v) - dv * (u - a.u)) / std::sqrt(du * du + dv * dv);
}

// 1 halfway along a → b, falling to 0 at both ends.
double Bulge(Point a, Point b, double u, double v)
{
    const double du = b.u - a.u, dv = b.v - a.v;
    const double t = Clamp01(((u - a.u) * du + (v - a.v) * dv) / (du * du + dv * dv));
    return 4.0 * t * (1.0 - t);
}

// ---- Body ----

const Colour BodyDark{0.075, 0.058, 0.048};

} // namespace

Image DrawButterflySkin(int width, int height)
{
    return Render(width, height, [&](int x, double, double v) {
        const double u = (x + 0.5) / width;
        // How far round from the back (0, at u = 0.75) to the belly (1, at 0.25).
        const double belly = 0.5 + 0.5 * Sine(u);
        const double hair = Fbm(u * 24.0, v * 70.0, 0x61, 3);
        Colour c = BodyDark * (0.8 + 0.5 * hair);
        // The thorax wears a golden fur, thickest on the back.
        const double thorax = SmoothStep(0.10, 0.15, v) * SmoothStep(0.40, 0.34, v);
        c = Mix(c, Colour{0.42, 0.30, 0.16} * (0.7 + 0.6 * hair), thorax * (0.55 - 0.3 * belly));
        // The abdomen's rings, paler underneath.
        const double ring = Fraction((v - 0.38) / 0.058);
        const double abdomen = SmoothStep(0.36, 0.40, v);
        const double band = SmoothStep(0.70, 0.92, ring) * abdomen;
        c = Mix(c, Colour{0.34, 0.27, 0.18}, band * (0.35 + 0.4 * belly));
        c = Mix(c, Colour{0.55, 0.48, 0.36} * (0.8 + 0.3 * hair), 0.45 * belly * abdomen);
        // The eyes on either side of the head, with a glint.
        for (double side : {0.0, 0.5, 1.0}) {
            const double d = std::sqrt(Square((u - side) * 3.0) + Square(v - 0.055));
            c = Mix(c, Colour{0.02, 0.02, 0.03}, Coverage((0.05 - d) * height));
            const double glint = std::sqrt(Square((u - side + 0.03) * 3.0) + Square(v - 0.04));
            c = Mix(c, Colour{0.75, 0.75, 0.8}, 0.8 * Coverage((0.012 - glint) * height));
        }
        return c;
    });
}

Image DrawButterflyWing(WingKind kind, int size)
{
    const double px = 1.0 / size;
    // The forewing: a rounded triangle from its root on the body (v 0.31 to
    // 0.50) to its apex in the top right corner, its outer margin bulging
    // between the apex and the tornus.
    const Point root{0.0, 0.31}, apex{0.97, 0.05}, tornus{0.58, 0.57}, rootBack{0.0, 0.50};
    // The hind wing: a round lobe hanging below it.
    const Point lobe{0.27, 0.69};
    constexpr double LobeRadius = 0.29;
    const auto shape = [&](double u, double v) {
        const double costa = Side(root, apex, u, v);
        const double inner = -Side(rootBack, tornus, u, v);
        const double outer = Side(apex, tornus, u, v) + 0.06 * Bulge(apex, tornus, u, v);
        const double fore = std::min({costa, inner, outer});
        const double hind = LobeRadius - std::sqrt(Square(u - lobe.u) + Square(v - lobe.v)) +
                            0.006 * Sine((u * 0.7 + v) * 14.0) * SmoothStep(0.1, 0.3, u);
        return std::min(std::max(fore, hind), u);
    };

    // The veins fan out from the roots to the margins.
    std::vector<Segment> veins;
    for (int i = 0; i < 7; ++i) {
        const double t = i / 6.0;
        veins.push_back({{0.0, 0.36 + 0.06 * t}, Lerp(apex, tornus, t * 0.95 + 0.02)});
    }
    for (int i = 0; i < 6; ++i) {
        const double t = 0.15 + 0.75 * i / 5.0;
        veins.push_back({{0.0, 0.58}, {lobe.u + LobeRadius * Sine(0.14 - 0.45 * t + 0.25) * 0.97,
                                        lobe.v + LobeRadius * Sine(0.14 - 0.45 * t) * -0.97}});
    }

    return RenderAlpha(size, size, [&](double u, double v, double& alpha) {
        const double inside = shape(u, v);
        alpha = Coverage(inside / px);

        double veinDistance = 1.0;
        for (const Segment& vein : veins)
            veinDistance = std::min(veinDistance, SegmentDistance(u, v, vein.a.u, vein.a.v, vein.b.u, vein.b.v));
        const double vein = Coverage((0.0045 + 0.004 * (1 - u) - veinDistance) / px);
        const double border = SmoothStep(0.07, 0.045, inside);
        const double tone = Fbm(u * 9.0, v * 9.0, 0x62, 3);

        // Spots in the border, one per cell whose centre lies in it.
        const double cell = 0.034;
        const int32_t ci = static_cast<int32_t>(std::floor(u / cell)), cj = static_cast<int32_t>(std::floor(v / cell));
        const double su = (ci + 0.3 + 0.4 * Random(ci, cj, 0x64)) * cell, sv = (cj + 0.3 + 0.4 * Random(ci, cj, 0x65)) * cell;
        const double spotDepth = shape(su, sv);
        const bool spotted = spotDepth > 0.014 && spotDepth < 0.040;
        const double spot =
            spotted ? Coverage((0.0085 - std::sqrt(Square(u - su) + Square(v - sv))) / px) : 0.0;

        Colour c;
        if (kind == WingKind::Monarch) {
            c = Mix(Colour{0.93, 0.46, 0.06}, Colour{0.80, 0.30, 0.03}, tone);
            c = Mix(c, Colour{0.98, 0.66, 0.20}, 0.35 * SmoothStep(0.45, 0.0, u));
            c = Mix(c, Colour{0.05, 0.04, 0.03}, std::max(vein * 0.95, border));
            // The black apex with its pale bar.
            const double apexPatch = SmoothStep(0.60, 0.75, u + 0.6 * (0.25 - v)) * SmoothStep(0.40, 0.25, v);
            c = Mix(c, Colour{0.05, 0.04, 0.03}, apexPatch);
            const double bar = Coverage((0.018 - SegmentDistance(u, v, 0.66, 0.20, 0.84, 0.12)) / px);
            c = Mix(c, Colour{0.97, 0.86, 0.62}, bar * apexPatch);
            c = Mix(c, Colour{0.96, 0.94, 0.88}, spot);
        } else {
            // Iridescent blue, brightest across the middle of each wing.
            const double sheen = SmoothStep(0.02, 0.16, inside) * (0.75 + 0.45 * tone);
            c = Mix(Colour{0.04, 0.10, 0.32}, Colour{0.20, 0.62, 1.0}, Clamp01(sheen));
            c = c + Colour{0.25, 0.35, 0.40} * (0.25 * Square(Sine(u * 3.0 + v * 2.0 + tone)));
            const double dark = std::max(border, SmoothStep(0.70, 0.9, u) * SmoothStep(0.35, 0.15, v));
            c = Mix(c, Colour{0.03, 0.04, 0.08}, std::max(vein * 0.45, dark));
            c = Mix(c, Colour{0.85, 0.90, 1.0}, 0.85 * spot * SmoothStep(0.3, 0.6, u));
        }
        // Darker where the wing meets the body.
        return c * (0.65 + 0.35 * SmoothStep(0.0, 0.12, u));
    });
}

Image DrawClockFace(int size)
{
    const double px = 1.0 / size;
    constexpr double DialRadius = 0.485;
    constexpr double BezelInner = 0.455;
    constexpr double NumeralRadius = 0.335;
    constexpr double NumeralHeight = 0.070;

    // The numerals' strokes in picture units, made once: thick and thin
    // strokes as in carved capitals, with a bar over and under each numeral.
    struct Stroke {
        double au, av, bu, bv, half;
    };
    std::vector<Stroke> strokes;
    const char* const numerals[] = {"XII", "I", "II", "III", "IIII", "V", "VI", "VII", "VIII", "IX", "X", "XI"};
    constexpr double Thick = 0.0054, Thin = 0.0024, Serif = 0.0021, Gap = 0.011;
    for (int hour = 0; hour < 12; ++hour) {
        const char* text = numerals[hour];
        const auto widthOf = [](char letter) { return letter == 'I' ? 0.011 : 0.040; };
        double total = 0.0;
        for (const char* p = text; *p; ++p)
            total += widthOf(*p) + (p[1] ? Gap : 0.0);
        const double cu = 0.5 + NumeralRadius * Sine(hour / 12.0);
        const double cv = 0.5 - NumeralRadius * Sine(hour / 12.0 + 0.25);
        const double top = cv - NumeralHeight / 2, bottom = cv + NumeralHeight / 2;
        double left = cu - total / 2;
        for (const char* p = text; *p; ++p) {
            const double w = widthOf(*p);
            if (*p == 'I') {
                strokes.push_back({left + w / 2, top, left + w / 2, bottom, Thick});
            } else if (*p == 'V') {
                strokes.push_back({left, top, left + w / 2, bottom, Thick});
                strokes.push_back({left + w, top, left + w / 2, bottom, Thin});
            } else {
                strokes.push_back({left, top, left + w, bottom, Thick});
                strokes.push_back({left + w, top, left, bottom, Thin});
            }
            left += w + Gap;
        }
        strokes.push_back({cu - total / 2 - 0.006, top, cu + total / 2 + 0.006, top, Serif});
        strokes.push_back({cu - total / 2 - 0.006, bottom, cu + total / 2 + 0.006, bottom, Serif});
    }
    // The minute ring's ticks, longer and bolder at the hours.
    for (int minute = 0; minute < 60; ++minute) {
        const double su = Sine(minute / 60.0), sv = -Sine(minute / 60.0 + 0.25);
        const bool hour = minute % 5 == 0;
        const double inner = hour ? 0.392 : 0.410;
        strokes.push_back(
            {0.5 + inner * su, 0.5 + inner * sv, 0.5 + 0.432 * su, 0.5 + 0.432 * sv, hour ? 0.0055 : 0.0025});
    }

    return RenderAlpha(size, size, [&](double u, double v, double& alpha) {
        const double r = std::sqrt(Square(u - 0.5) + Square(v - 0.5));
        alpha = Coverage((DialRadius - r) / px);
        // Frosted glass lit from behind: warmest in the middle.
        const double grain = Fbm(u * 40.0, v * 40.0, 0x71, 3);
        Colour c = Mix(Colour{1.0, 0.95, 0.80}, Colour{0.90, 0.76, 0.52}, SmoothStep(0.05, 0.45, r));
        c = c * (0.96 + 0.06 * grain);
        // A fine ring on either side of the minute ticks.
        for (double ring : {0.386, 0.438})
            c = Mix(c, Colour{0.12, 0.09, 0.06}, Coverage((0.0022 - std::fabs(r - ring)) / px));
        if (r > 0.22 && r < 0.44) {
            double ink = 0.0;
            for (const Stroke& s : strokes)
                ink = std::max(ink, Coverage((s.half - SegmentDistance(u, v, s.au, s.av, s.bu, s.bv)) / px));
            c = Mix(c, Colour{0.08, 0.06, 0.05}, ink);
        }
        // The pivot's boss.
        c = Mix(c, Colour{0.10, 0.08, 0.06}, Coverage((0.028 - r) / px));
        c = Mix(c, Colour{0.55, 0.45, 0.28}, Coverage((0.010 - std::sqrt(Square(u - 0.494) + Square(v - 0.494))) / px));
        // The bronze bezel, catching the glow on its inner edge.
        if (r > BezelInner - 2 * px) {
            const double t = Clamp01((r - BezelInner) / (DialRadius - BezelInner));
            const Colour bronze = Mix(Colour{0.55, 0.40, 0.20}, Colour{0.20, 0.13, 0.07}, t) * (0.85 + 0.3 * grain);
            c = Mix(c, bronze, Coverage((r - BezelInner) / px));
        }
        return c;
    });
}

Image DrawClockHand(int width, int height)
{
    const double pivot = 0.835;
    return RenderAlpha(width, height, [&](double u, double v, double& alpha) {
        const double x = std::fabs(u - 0.5) * 2.0; // 0 on the axis, 1 at the sides
        // Half width along the hand: a counterweight below the pivot, the
        // boss, a tapering shaft and a spade near the tip.
        // The picture is squeezed to a narrow strip on the plate, so the
        // shaft fills most of the width to stay visible.
        double half = 0.0;
        if (v > 0.93)
            half = 0.95 * SmoothStep(1.0, 0.97, v);
        else if (v > 0.88)
            half = 0.6;
        else if (std::fabs(v - pivot) < 0.045)
            half = std::max(0.6, std::sqrt(Clamp01(1.0 - Square((v - pivot) / 0.045))));
        else if (v > 0.2)
            half = 0.55 + 0.25 * (v - 0.2) / (pivot - 0.2);
        else if (v > 0.085)
            half = 0.55 + 0.45 * (1.0 - std::fabs(v - 0.14) / 0.06);
        else
            half = 0.55 * v / 0.085;
        alpha = Coverage((half - x) * width * 0.5);
        // Dark iron with a soft sheen along the middle.
        return Mix(Colour{0.13, 0.11, 0.10}, Colour{0.04, 0.035, 0.03}, SmoothStep(0.0, 0.8, x));
    });
}

Image DrawPetal(int size)
{
    const double px = 1.0 / size;
    return RenderAlpha(size, size, [&](double u, double v, double& alpha) {
        // Narrow at the base (u = 0), full from the middle on, round at the
        // tip with a notch in it.
        const double across = std::fabs(v - 0.5) * 2.0;
        const double width = 0.96 * std::sqrt(Clamp01(u / 0.55));
        const double notch = 0.10 * Clamp01(1.0 - across / 0.2);
        const double tip = 0.985 - notch - 0.30 * Square(across);
        const double shape = std::min((width - across) * 0.5, tip - u);
        alpha = Coverage(shape / px) * 0.95;
        const double veins = 0.5 + 0.5 * Sine(v * 7.0 + 0.05 * Sine(u * 1.3));
        Colour c = Mix(Colour{1.0, 0.97, 0.97}, Colour{0.98, 0.70, 0.80}, SmoothStep(0.1, 0.95, u));
        c = Mix(c, Colour{0.93, 0.50, 0.64}, 0.3 * SmoothStep(0.3, 0.0, u));
        return c * (0.97 + 0.03 * veins);
    });
}

Image DrawAutumnLeaf(int width, int height)
{
    const double pxU = 1.0 / width, pxV = 1.0 / height;
    return RenderAlpha(width, height, [&](double u, double v, double& alpha) {
        const double across = std::fabs(v - 0.5) * 2.0;
        // The blade from u 0.1 to its tip, widest a little before the middle,
        // its edge finely toothed; the stalk before it.
        const double t = Clamp01((u - 0.1) / 0.89);
        const double blade = 0.94 * Sine(0.5 * std::sqrt(t) * std::sqrt(std::sqrt(t))) + 0.025 * Sine(u * 26.0) * SmoothStep(0.1, 0.3, t);
        const double bladeCover = Coverage((blade - across) * 0.5 / pxV) * Coverage(t / pxU * 0.1);
        const double stalk = Coverage((0.05 - across) * 0.5 / pxV) * Coverage((0.16 - u) / pxU) * Coverage((u - 0.01) / pxU);
        alpha = std::max(bladeCover, stalk);

        // The midrib and side veins running out toward the tip.
        const double midrib = Coverage((0.022 - across) * 0.5 / pxV);
        const double sideVein = std::fabs(Fraction((u - across * 0.55) * 7.0) - 0.5);
        const double vein = Coverage((0.05 - sideVein) * 0.15 / pxU) * SmoothStep(0.1, 0.25, t);
        const double spots = SmoothStep(0.62, 0.78, Noise(u * 14.0, v * 7.0, 0x66));
        Colour c = Mix(Colour{0.97, 0.74, 0.16}, Colour{0.86, 0.28, 0.06}, SmoothStep(0.2, 0.95, across + 0.3 * t));
        c = c * (0.88 + 0.2 * Fbm(u * 12.0, v * 6.0, 0x67, 3));
        c = Mix(c, Colour{0.50, 0.22, 0.06}, 0.35 * spots);
        c = Mix(c, Colour{1.0, 0.86, 0.45}, 0.55 * std::max(midrib, vein * 0.6));
        return Mix(c, Colour{0.42, 0.26, 0.10}, stalk * (1.0 - bladeCover));
    });
}
