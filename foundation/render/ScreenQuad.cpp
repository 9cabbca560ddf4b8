#include "foundation/render/ScreenQuad.h"

#include "foundation/render/BackBuffer.h"
#include "foundation/resources/SizedTexture.h"

ScreenQuad ScreenQuad::FromBackBuffer()
{
    const D3DSURFACE_DESC desc = GetBackBufferDesc();
    return Rectangle(0.0f, 0.0f, static_cast<float>(desc.Width), static_cast<float>(desc.Height));
}

ScreenQuad ScreenQuad::Rectangle(float left, float top, float right, float bottom)
{
    ScreenQuad quad;
    quad.corners[BottomLeft].x = left;
    quad.corners[BottomLeft].y = bottom;
    quad.corners[TopLeft].x = left;
    quad.corners[TopLeft].y = top;
    quad.corners[BottomRight].x = right;
    quad.corners[BottomRight].y = bottom;
    quad.corners[TopRight].x = right;
    quad.corners[TopRight].y = top;
    return quad;
}

void ScreenQuad::FitImage(const SizedTexture& image, int w, int h)
{
    const float areaW = static_cast<float>(w);
    const float areaH = static_cast<float>(h);
    float fittedW = areaW;
    float fittedH = areaH;
    float x0 = 0.0f;
    float y0 = 0.0f;
    // Without a size (a picture that did not load) the aspect would be 0 / 0
    // and every corner NaN; such an image keeps the whole area.
    if (image.width != 0 && image.height != 0) {
        const float aspect = static_cast<float>(image.height) / static_cast<float>(image.width);
        if (areaH / areaW < aspect) {
            // The area is wider than the image: pillarbox.
            fittedW = areaH / aspect;
            fittedH = areaH;
            x0 = (areaW - fittedW) / 2.0f;
        } else {
            fittedW = areaW;
            fittedH = areaW * aspect;
            y0 = (areaH - fittedH) / 2.0f;
        }
    }
    const ScreenQuad fitted = Rectangle(x0, y0, x0 + fittedW, y0 + fittedH);
    for (int i = 0; i < 4; ++i) {
        corners[i].x = fitted.corners[i].x;
        corners[i].y = fitted.corners[i].y;
    }
}

void ScreenQuad::ScaleToBackBuffer(int w, int h)
{
    const D3DSURFACE_DESC desc = GetBackBufferDesc();
    // A layer of no width or height has no scale to undo; that axis stays.
    const float sx = w != 0 ? static_cast<float>(desc.Width) / static_cast<float>(w) : 1.0f;
    const float sy = h != 0 ? static_cast<float>(desc.Height) / static_cast<float>(h) : 1.0f;
    for (ScreenCorner& corner : corners) {
        corner.x *= sx;
        corner.y *= sy;
    }
}

namespace {

// What each format takes from a corner besides x and y.
void WriteRest(DX_V::SPC& vertex, const ScreenCorner& corner)
{
    vertex.rhw = corner.z;
}

void WriteRest(DX_V::PC&, const ScreenCorner&) {}

void WriteRest(DX_V::SPCT& vertex, const ScreenCorner& corner)
{
    vertex.rhw = corner.z;
    vertex.u = corner.u;
    vertex.v = corner.v;
}

template <class V>
void WriteCorners(const ScreenQuad& quad, DS_SimpleMesh<V>& mesh)
{
    if (!mesh.lockedVertices)
        return;
    for (int i = 0; i < 4; ++i) {
        V& vertex = mesh.lockedVertices[i];
        vertex.x = quad.corners[i].x;
        vertex.y = quad.corners[i].y;
        vertex.z = 0.0f;
        WriteRest(vertex, quad.corners[i]);
    }
}

} // namespace

void WriteCornersSPC(const ScreenQuad& quad, DS_SimpleMesh<DX_V::SPC>& mesh)
{
    WriteCorners(quad, mesh);
}

void WriteCornersPC(const ScreenQuad& quad, DS_SimpleMesh<DX_V::PC>& mesh)
{
    WriteCorners(quad, mesh);
}

void WriteCornersSPCT(const ScreenQuad& quad, DS_SimpleMesh<DX_V::SPCT>& mesh)
{
    WriteCorners(quad, mesh);
}
