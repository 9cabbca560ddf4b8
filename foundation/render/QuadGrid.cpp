#include "foundation/render/QuadGrid.h"

#include "foundation/render/VertexLock.h"

#include <cstddef>
#include <cstdint>

namespace {

// A corner as a five-component vector (x, y, z, u, v).
struct Point5 {
    float c[5];

    static Point5 Of(const ScreenCorner& corner) { return {{corner.x, corner.y, corner.z, corner.u, corner.v}}; }
    Point5 operator+(const Point5& o) const
    {
        Point5 r;
        for (int i = 0; i < 5; ++i)
            r.c[i] = c[i] + o.c[i];
        return r;
    }
    Point5 operator-(const Point5& o) const
    {
        Point5 r;
        for (int i = 0; i < 5; ++i)
            r.c[i] = c[i] - o.c[i];
        return r;
    }
    Point5 operator*(float f) const
    {
        Point5 r;
        for (int i = 0; i < 5; ++i)
            r.c[i] = c[i] * f;
        return r;
    }
    Point5 operator/(float f) const
    {
        Point5 r;
        for (int i = 0; i < 5; ++i)
            r.c[i] = c[i] / f;
        return r;
    }
};

} // namespace

void FillQuadGrid(DS_SimpleMesh<DX_V::PT>& grid, int rows, int columns, const ScreenQuad& quad)
{
    if (rows <= 0 || columns <= 0)
        return;
    const uint64_t needed = (static_cast<uint64_t>(rows) + 1) * (static_cast<uint64_t>(columns) + 1);
    if (needed > grid.vertexCount)
        return;
    VertexLock<DX_V::PT> lock(grid, static_cast<uint32_t>(needed));
    if (!lock)
        return;

    const Point5 bottomLeft = Point5::Of(quad.corners[ScreenQuad::BottomLeft]);
    const Point5 topLeft = Point5::Of(quad.corners[ScreenQuad::TopLeft]);
    // Steps are taken once and scaled by the counter, so every column and row
    // lies exactly where c / C and r / R put it, without accumulated error.
    const Point5 bottomStep =
        (Point5::Of(quad.corners[ScreenQuad::BottomRight]) - bottomLeft) / static_cast<float>(columns);
    const Point5 topStep = (Point5::Of(quad.corners[ScreenQuad::TopRight]) - topLeft) / static_cast<float>(columns);
    for (int column = 0; column <= columns; ++column) {
        const Point5 bottom = bottomLeft + bottomStep * static_cast<float>(column);
        const Point5 top = topLeft + topStep * static_cast<float>(column);
        const Point5 rowStep = (top - bottom) / static_cast<float>(rows);
        DX_V::PT* columnVertices = lock.Vertices() + static_cast<std::size_t>(rows + 1) * static_cast<std::size_t>(column);
        for (int row = 0; row <= rows; ++row) {
            const Point5 p = bottom + rowStep * static_cast<float>(row);
            DX_V::PT& vertex = columnVertices[row];
            vertex.x = p.c[0];
            vertex.y = p.c[1];
            vertex.z = p.c[2];
            vertex.u = p.c[3];
            vertex.v = p.c[4];
        }
    }
}
