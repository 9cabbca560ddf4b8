#include "tools/assets/GlassArt.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

// The ball's outline as a fraction of half the picture: just inside the
// disc through which the layer shows the ball.
const double BallRadius = 0.985;

const int OverlaySide = 512;
const int ShadowWidth = 512;
const int ShadowHeight = 256;

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double SmoothStep(double e0, double e1, double x)
{
    const double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

uint8_t Byte(double v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0)); }

struct Rgba {
    double r, g, b, a;
};

// a over b, both straight (not premultiplied).
Rgba Over(const Rgba& top, const Rgba& under)
{
    const double a = top.a + under.a * (1 - top.a);
    if (a <= 0)
        return {top.r, top.g, top.b, 0};
    auto mix = [&](double t, double u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
    return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), a};
}

void Put(Image& image, int x, int y, const Rgba& c)
{
    uint8_t* p = image.Pixel(x, y);
    p[0] = Byte(c.r);
    p[1] = Byte(c.g);
    p[2] = Byte(c.b);
    p[3] = Byte(c.a);
}

// Calls shade(nx, ny, pixel) for each pixel of a square picture, nx and ny
// running from -1 to 1 across it (y downwards), averaged over 4 × 4 samples
// so that every edge is smooth.
template <class Shader>
Image RenderBall(int size, Shader shade)
{
    Image image(size, size);
    const int n = 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgba sum{0, 0, 0, 0};
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    const double nx = (x + (sx + 0.5) / n) / size * 2 - 1;
                    const double ny = (y + (sy + 0.5) / n) / size * 2 - 1;
                    const Rgba c = shade(nx, ny);
                    sum.r += c.r * c.a;
                    sum.g += c.g * c.a;
                    sum.b += c.b * c.a;
                    sum.a += c.a;
                }
            const double a = sum.a / (n * n);
            // Where nothing covers the pixel, keep white: filtering then
            // never darkens a fading edge.
            Put(image, x, y,
                a > 0 ? Rgba{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, a} : Rgba{1, 1, 1, 0});
        }
    return image;
}

// The reflected direction seen at a point of the ball (x right, y down, z
// towards the viewer), as azimuth and elevation in radians; false outside.
bool Reflection(double nx, double ny, double& azimuth, double& elevation)
{
    const double x = nx / BallRadius;
    const double y = ny / BallRadius;
    const double d2 = x * x + y * y;
    if (d2 >= 1)
        return false;
    const double z = std::sqrt(1 - d2);
    // The view ray (0, 0, -1) mirrored about the normal (x, y, z).
    const double rx = 2 * z * x;
    const double ry = 2 * z * y;
    const double rz = 2 * z * z - 1;
    azimuth = std::atan2(rx, rz);
    elevation = std::atan2(-ry, std::hypot(rx, rz));
    return true;
}

// 1 inside [lo, hi] with soft edges of the given width.
double Band(double v, double lo, double hi, double soft)
{
    return SmoothStep(lo - soft, lo + soft, v) * (1 - SmoothStep(hi - soft, hi + soft, v));
}

} // namespace

Image DrawGlassHighlight(int size)
{
    return RenderBall(size, [](double nx, double ny) {
        double azimuth = 0;
        double elevation = 0;
        if (!Reflection(nx, ny, azimuth, elevation))
            return Rgba{1, 1, 1, 0};
        const double d = std::hypot(nx, ny) / BallRadius;

        // A tall window behind the viewer, up and to the left, mirrored as a
        // soft curved pane; brighter towards its top, like sky light.
        const double window = Band(azimuth, -1.30, -0.55, 0.06) * Band(elevation, 0.35, 1.15, 0.07);
        const double pane = window * (0.45 + 0.45 * SmoothStep(0.35, 1.15, elevation));

        // The broad gloss of the upper left, hugging the rim.
        const double angle = std::atan2(ny, nx);
        const double facing = std::pow(std::max(0.0, std::cos(angle + 3 * Pi / 4)), 2.0);
        const double gloss = facing * Band(d, 0.60, 0.93, 0.10);

        // A small hot spot where a light far up and left is mirrored.
        const double sx = nx + 0.33;
        const double sy = ny + 0.40;
        const double r2 = sx * sx + sy * sy;
        const double spot = std::exp(-r2 / (2 * 0.035 * 0.035));
        const double halo = 0.25 * std::exp(-r2 / (2 * 0.11 * 0.11));

        // A faint sheen over the upper half, gone before the rim.
        const double sheen = 0.07 * SmoothStep(0.3, -0.8, ny) * (1 - SmoothStep(0.80, 0.97, d));

        const double a = Clamp01(0.30 * pane + 0.38 * gloss + spot + halo + sheen);
        // Cool white in the wide glow, pure white in the spot.
        const double white = Clamp01(spot + halo);
        return Rgba{0.86 + 0.14 * white, 0.92 + 0.08 * white, 1.0, a};
    });
}

Image DrawGlassRim(int size)
{
    return RenderBall(size, [](double nx, double ny) {
        const double d = std::hypot(nx, ny) / BallRadius;
        if (d >= 1)
            return Rgba{1, 1, 1, 0};
        const double angle = std::atan2(ny, nx); // pi / 2: straight down

        // Darkening towards the rim, as the glass bends the dark
        // surroundings in; a little stronger at the top.
        const double top = 0.5 - 0.5 * std::sin(angle);
        const Rgba dark{0.0, 0.01, 0.03, (0.55 + 0.2 * top) * std::pow(SmoothStep(0.62, 1.0, d), 1.6)};

        // Light gathered along the lower inside edge: a warm crescent.
        const double below = std::pow(std::max(0.0, std::sin(angle)), 3.0);
        const double crescent = below * Band(d, 0.84, 0.96, 0.05);
        const Rgba caustic{0.90, 0.95, 1.0, 0.22 * crescent};

        // A thin bright edge, strongest at the lower right.
        const double lit = 0.45 + 0.55 * std::pow(std::max(0.0, std::cos(angle - Pi / 4)), 2.0);
        const Rgba edge{0.85, 0.92, 1.0, 0.40 * lit * Band(d, 0.972, 0.995, 0.008)};

        return Over(edge, Over(caustic, dark));
    });
}

Image DrawGlassShadow(int width, int height)
{
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double u = (x + 0.5) / width;
            const double v = (y + 0.5) / height;
            const double ex = (u - 0.5) / 0.46;
            const double ey = (v - 0.47) / 0.36;
            const double q = ex * ex + ey * ey;
            // A wide penumbra and a denser core where the ball nears the
            // ground; nothing at the picture's edges.
            const double penumbra = std::pow(Clamp01(1 - q), 1.8);
            const double core = std::exp(-q * 7.0);
            const double fadeTop = SmoothStep(0.20, 0.45, v);
            const double a = Clamp01((0.45 * penumbra + 0.40 * core) * fadeTop);
            Put(image, x, y, Rgba{0.0, 0.0, 0.02, a});
        }
    return image;
}

Bytes MakeGlassHighlightFile() { return EncodePng(DrawGlassHighlight(OverlaySide), true); }

Bytes MakeGlassRimFile() { return EncodePng(DrawGlassRim(OverlaySide), true); }

Bytes MakeGlassShadowFile() { return EncodePng(DrawGlassShadow(ShadowWidth, ShadowHeight), true); }
