#include "tools/assets/FireArt.h"

#include "tools/assets/ArtKit.h"

#include <algorithm>
#include <cmath>

using namespace art;

namespace {

// The mask size of every brush.
constexpr int MaskSize = 512;

// The stars over the fires: a little smaller than the others.
const StarLook FireStars{0.9, 0.3, 0.7};

} // namespace

Image DrawFlameStreaks(int size, uint32_t seed)
{
    Image image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double u = double(x) / size, v = double(y) / size;
            // Seven streaks across, two down a tile: tongues taller than wide,
            // with finer flicker riding on them.
            const double broad = TileFbm(u * 7, v * 2, 7, 2, seed, 4);
            const double fine = TileFbm(u * 16, v * 5, 16, 5, seed + 11, 2);
            const double value = SmoothStep(0.28, 0.78, broad * 0.8 + fine * 0.3);
            PutGrey(image, x, y, value);
        }
    return image;
}

Image DrawFireNoise(int size)
{
    Image image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            PutGrey(image, x, y, TileFbm(4.0 * x / size, 4.0 * y / size, 4, 4, 0xF12E, 5));
    return image;
}

Image DrawHeatHazeBump(int size)
{
    Image image(size, size);
    // Cells of 16 texels: the distortion map is only a fifth of a picture
    // across, so its features must be small.
    const int cells = size / 16;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double u = double(cells) * x / size, v = double(cells) * y / size;
            uint8_t* p = image.Pixel(x, y);
            p[0] = Byte(TileFbm(u, v, cells, cells, 0x4A1, 3));
            p[1] = Byte(TileFbm(u, v, cells, cells, 0x4A2, 3));
            p[2] = 128;
            p[3] = 255;
        }
    return image;
}

Image DrawEmberNight(int width, int height)
{
    const double px = 1.0 / height;
    const Stop sky[] = {{0.0, {0.015, 0.015, 0.06}},
                        {0.30, {0.05, 0.03, 0.12}},
                        {0.48, {0.30, 0.09, 0.10}},
                        {0.60, {0.75, 0.28, 0.08}}};
    return Render(width, height, [&](int x, double u, double v) {
        Colour c = Gradient(sky, v);
        const double star = StarAt(x, v * height, 9.0, 0.22, 0xE1, FireStars) * SmoothStep(0.45, 0.1, v);
        c = c + Colour{0.85, 0.85, 1.0} * star;
        // Smoke drifting through the glow.
        const double smoke = Fbm(u * 2.2, v * 6.0, 0xE2, 5);
        c = Mix(c, Colour{0.20, 0.07, 0.06}, SmoothStep(0.55, 0.85, smoke) * SmoothStep(0.15, 0.45, v) * 0.6);

        // Far range, bluish and hazy; near range black, rimmed with the glow.
        const double far = 0.47 - 0.12 * Fbm(u * 2.6, 0xE3, 5);
        if (v > far) {
            const double depth = SmoothStep(0, 0.2, v - far);
            c = Mix(c, Mix(Colour{0.22, 0.08, 0.10}, Colour{0.06, 0.03, 0.06}, depth), Coverage((v - far) / px));
        }
        const double near = 0.58 - 0.10 * Fbm(u * 4.1 + 3.0, 0xE4, 5);
        if (v > near) {
            const double rim = SmoothStep(0.012, 0.0, v - near);
            const Colour ground = Mix(Colour{0.02, 0.012, 0.015}, Colour{0.55, 0.20, 0.05}, rim * 0.6);
            c = Mix(c, ground, Coverage((v - near) / px));
            // The ground in front glows where the fire will stand.
            c = c + Colour{0.35, 0.10, 0.02} * SmoothStep(0.75, 1.0, v) * (0.6 + 0.4 * Fbm(u * 12, v * 12, 0xE5, 3));
        }
        return c;
    });
}

namespace {

// The gate scene's layout, in picture heights from the top left.
struct GateLayout {
    double centre;      // the gate's centre line
    double torchOffset; // torches left and right of it
    double torchHead;   // the top of the torch heads
    double brazierTop;  // the brazier bowl's rim
    double ground;      // where the cobbles begin
};

GateLayout LayoutOf(int width, int height)
{
    const double aspect = double(width) / height;
    return {aspect / 2, 0.36, 0.40, 0.80, 0.88};
}

// Distance-weighted warm light from the three fires.
double FireLight(const GateLayout& g, double u, double v)
{
    const double torches[2] = {g.centre - g.torchOffset, g.centre + g.torchOffset};
    double light = 0;
    for (double t : torches) {
        const double dx = u - t, dy = v - (g.torchHead - 0.04);
        light += Glow(std::sqrt(dx * dx + dy * dy), 0.10);
    }
    const double dx = u - g.centre, dy = v - (g.brazierTop - 0.08);
    light += 1.4 * Glow(std::sqrt(dx * dx + dy * dy), 0.16);
    return light;
}

} // namespace

Image DrawTorchlitGate(int width, int height)
{
    const double px = 1.0 / height;
    const GateLayout g = LayoutOf(width, height);
    const Stop sky[] = {{0.0, {0.01, 0.015, 0.05}}, {0.2, {0.03, 0.05, 0.12}}};
    const double wallTop = 0.16;
    const double gateHalf = 0.15, gateTop = 0.42, archRadius = gateHalf;
    return Render(width, height, [&](int x, double u, double v) {
        Colour c = Gradient(sky, v) + Colour{0.8, 0.85, 1.0} * StarAt(x, v * height, 10.0, 0.25, 0xA1, FireStars);
        const double light = FireLight(g, u, v);
        const Colour warm{1.0, 0.55, 0.22};

        // Battlements along the wall's top.
        const double merlon = Fraction(u / 0.09) < 0.55 ? wallTop - 0.035 : wallTop;
        if (v > merlon) {
            // Courses of stone, each row offset by half a block.
            const double row = std::floor(v / 0.045);
            const double shift = Fraction(row * 0.5) * 0.12;
            const double bu = Fraction((u + shift) / 0.12), bv = Fraction(v / 0.045);
            const int32_t block = static_cast<int32_t>(std::floor((u + shift) / 0.12));
            const double mortar = std::min(SmoothStep(0.0, 0.05, bu) * SmoothStep(1.0, 0.95, bu),
                                           SmoothStep(0.0, 0.08, bv) * SmoothStep(1.0, 0.92, bv));
            const double tone = 0.75 + 0.25 * Random(block, static_cast<int32_t>(row), 0xA2);
            const double grain = 0.85 + 0.3 * Fbm(u * 60, v * 60, 0xA3, 3);
            Colour stone = Colour{0.16, 0.14, 0.13} * (tone * grain);
            stone = Mix(Colour{0.05, 0.04, 0.04}, stone, mortar);
            // Moonlight leaves the wall nearly black; the fires light it in
            // warm pools.
            stone = stone * 0.12 + Colour{stone.r * warm.r, stone.g * warm.g, stone.b * warm.b} * (light * light * 2.4);
            c = Mix(c, stone, Coverage((v - merlon) / px));

            // The gate: a dark arched opening with a portcullis.
            const double du = std::abs(u - g.centre);
            double inside = -1;
            if (v > gateTop)
                inside = gateHalf - du;
            else {
                const double dy = gateTop - v;
                inside = archRadius - std::sqrt(du * du + dy * dy);
            }
            inside = std::min(inside, g.ground - v);
            if (inside > -px) {
                const double bars = std::min(std::abs(Fraction((u - g.centre) / 0.05) - 0.5),
                                             std::abs(Fraction(v / 0.06) - 0.5));
                Colour gate = Colour{0.015, 0.012, 0.012} + warm * (light * 0.05);
                gate = Mix(Colour{0.10, 0.08, 0.07} * (0.4 + light), gate, SmoothStep(0.06, 0.12, bars));
                c = Mix(c, gate, Coverage(inside / px));
            }
        }

        // Torches: an iron bracket and a wooden shaft under a pitch head.
        for (int side = -1; side <= 1; side += 2) {
            const double tu = g.centre + side * g.torchOffset;
            const double du = u - tu;
            const double shaft = 0.008 - std::abs(du + (v - g.torchHead) * 0.12 * side);
            if (v > g.torchHead && v < g.torchHead + 0.13 && shaft > -px)
                c = Mix(c, Colour{0.20, 0.11, 0.05} * (0.6 + light * 0.5), Coverage(shaft / px));
            const double head = std::min(0.016 - std::abs(du), std::min(v - g.torchHead, g.torchHead + 0.035 - v));
            if (head > -px)
                c = Mix(c, Colour{0.10, 0.05, 0.02} + Colour{0.9, 0.35, 0.05} * 0.5 * SmoothStep(0.035, 0.0, v - g.torchHead),
                        Coverage(head / px));
            const double bracket = std::min(0.024 - std::abs(du), 0.006 - std::abs(v - (g.torchHead + 0.08)));
            if (bracket > -px)
                c = Mix(c, Colour{0.05, 0.05, 0.06} + warm * (light * 0.15), Coverage(bracket / px));
        }

        // Cobbles in front of the gate.
        if (v > g.ground) {
            const double cu = u / 0.05, cv = (v - g.ground) / 0.03;
            const double edge = std::min(std::abs(Fraction(cu + 0.5 * std::floor(cv)) - 0.5),
                                         std::abs(Fraction(cv) - 0.5));
            const double tone = 0.7 + 0.3 * Noise(cu * 3, cv * 3, 0xA4);
            Colour cobble = Colour{0.10, 0.09, 0.085} * tone * SmoothStep(0.0, 0.1, 0.5 - edge);
            cobble = cobble + Colour{cobble.r, cobble.g * 0.6, cobble.b * 0.3} * (light * 2.0);
            c = Mix(c, cobble, Coverage((v - g.ground) / px));
        }

        // The brazier: a wide iron bowl full of embers on three legs.
        const double bu = u - g.centre;
        const double bowlDepth = 0.05, bowlHalf = 0.085;
        const double bowlV = v - g.brazierTop;
        if (bowlV > -0.01 && bowlV < bowlDepth) {
            const double width = bowlHalf * std::sqrt(std::max(0.0, 1 - (bowlV / bowlDepth) * (bowlV / bowlDepth)));
            const double inBowl = std::min(width - std::abs(bu), bowlV + 0.01);
            if (inBowl > -px) {
                const double ember = bowlV < 0.004 ? 0.8 + 0.2 * Noise(bu * 200, 0xA5) : 0.0;
                Colour iron = Colour{0.06, 0.05, 0.05} + warm * (0.2 * SmoothStep(bowlDepth, 0.0, bowlV));
                iron = Mix(iron, Colour{1.0, 0.45, 0.1}, ember);
                c = Mix(c, iron, Coverage(inBowl / px));
            }
        }
        for (int leg = -1; leg <= 1; ++leg) {
            const double lu = g.centre + leg * 0.06;
            const double legV = v - (g.brazierTop + bowlDepth);
            const double along = std::abs(u - lu - leg * legV * 0.3);
            const double inLeg = std::min(0.005 - along, std::min(legV, g.ground + 0.05 - v));
            if (inLeg > -px)
                c = Mix(c, Colour{0.04, 0.035, 0.035} + warm * (light * 0.1), Coverage(inLeg / px));
        }
        return c;
    });
}

std::vector<FlamePlace> TorchlitGateFlames(int width, int height)
{
    const GateLayout g = LayoutOf(width, height);
    const float h = static_cast<float>(height);
    const float torchBase = static_cast<float>(g.torchHead + 0.012) * h;
    return {{static_cast<float>(g.centre - g.torchOffset) * h, torchBase, 0.07f * h, 0.17f * h},
            {static_cast<float>(g.centre + g.torchOffset) * h, torchBase, 0.07f * h, 0.17f * h},
            {static_cast<float>(g.centre) * h, static_cast<float>(g.brazierTop + 0.008) * h, 0.19f * h, 0.30f * h}};
}

std::vector<uint8_t> DrawFlameMask(const FlamePlace& flame, int pictureWidth, int pictureHeight)
{
    std::vector<uint8_t> alpha(static_cast<std::size_t>(MaskSize) * MaskSize);
    for (int y = 0; y < MaskSize; ++y)
        for (int x = 0; x < MaskSize; ++x) {
            const double px = (x + 0.5) * pictureWidth / MaskSize, py = (y + 0.5) * pictureHeight / MaskSize;
            // Height above the base, 0 to 1 at the tip; below the base the
            // mask ends within a few pixels.
            const double up = (flame.y - py) / flame.height;
            const double half = flame.width / 2 * (1.0 - 0.55 * Clamp01(up));
            const double across = std::abs(px - flame.x) / std::max(1.0, half);
            const double value = SmoothStep(1.0, 0.55, across) * SmoothStep(1.0, 0.8, up) *
                                 SmoothStep(-0.06, 0.0, up);
            alpha[static_cast<std::size_t>(y) * MaskSize + x] = Byte(value);
        }
    return alpha;
}
