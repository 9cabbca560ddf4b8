#include "tools/assets/SpriteKit.h"

#include <algorithm>
#include <cmath>

namespace art {

double Power(double x, int n)
{
    double result = 1;
    for (int i = 0; i < n; ++i)
        result *= x;
    return result;
}

double SegmentDistance(Point p, Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? Clamp01(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2) : 0.0;
    const double ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

double PathDistance(Point p, const std::vector<Point>& path)
{
    double best = 1e9;
    for (std::size_t i = 1; i < path.size(); ++i)
        best = std::min(best, SegmentDistance(p, path[i - 1], path[i]));
    return best;
}

std::vector<Point> JaggedPath(Point a, Point b, int levels, double roughness, uint32_t seed)
{
    std::vector<Point> path{a, b};
    for (int level = 0; level < levels; ++level) {
        std::vector<Point> finer;
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            const Point p = path[i], q = path[i + 1];
            const double dx = q.x - p.x, dy = q.y - p.y;
            const double shift = (Random(level, static_cast<int32_t>(i), seed) * 2 - 1) * roughness;
            finer.push_back(p);
            finer.push_back({(p.x + q.x) / 2 - dy * shift, (p.y + q.y) / 2 + dx * shift});
        }
        finer.push_back(path.back());
        path.swap(finer);
    }
    return path;
}

double Jag(double t, int count, uint32_t seed)
{
    const double position = Clamp01(t) * (count - 1);
    const int i = std::min(count - 2, static_cast<int>(position));
    const auto value = [&](int k) { return k == 0 || k == count - 1 ? 0.0 : Random(k, 0, seed) * 2 - 1; };
    return Mix(value(i), value(i + 1), position - i);
}

Paint Over(Paint a, Paint b)
{
    const double alpha = b.alpha + a.alpha * (1 - b.alpha);
    if (alpha <= 0)
        return {b.colour, 0};
    const Colour c = (b.colour * b.alpha + a.colour * (a.alpha * (1 - b.alpha))) * (1.0 / alpha);
    return {c, alpha};
}

} // namespace art
