#include "foundation/render/TexturedQuad.h"

#include "foundation/geometry/MeshBuffers.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/QuadColours.h"
#include "foundation/render/VertexLock.h"
#include "foundation/render/BackBuffer.h"
#include "foundation/resources/TextureLoaders.h"

namespace {

const D3DCOLOR OpaqueWhite = 0xFFFFFFFF;
// The program's resources hold no image of this number.
const int32_t DefaultImageResource = 0;

} // namespace

void TexturedQuad::BindForDraw() const
{
    if (!CurrentDevice)
        return;
    CurrentDevice->SetTexture(0, texture.Get());
    BindVertexStream(*this);
}

void TexturedQuad::WriteWhiteQuad(const ScreenQuad& quad)
{
    CreateQuadBufferSPCT(*this);
    VertexLock<DX_V::SPCT> lock(*this, 4);
    if (!lock)
        return;
    WriteCornersSPCT(quad, *this);
    for (int i = 0; i < 4; ++i)
        lock.Vertices()[i].color = OpaqueWhite;
}

HRESULT TexturedQuad::LoadCenteredImage(int32_t resourceId)
{
    texture.Release();
    const HRESULT loaded = LoadResourceTexture(resourceId, false, texture);

    const D3DSURFACE_DESC desc = GetBackBufferDesc();
    const int w = static_cast<int>(desc.Width);
    const int h = static_cast<int>(desc.Height);
    const float side = 2.0f * static_cast<float>(h) / 3.0f;
    const float x0 = (static_cast<float>(w) - side) / 2.0f;
    const float y0 = (static_cast<float>(h) - side) / 2.0f;
    WriteWhiteQuad(ScreenQuad::Rectangle(x0, y0, x0 + side, y0 + side));
    return loaded;
}

void TexturedQuad::SetTexture(IDirect3DTexture9* newTexture, const ScreenQuad& quad)
{
    if (newTexture != texture.Get())
        texture = newTexture;
    WriteWhiteQuad(quad);
}

void TexturedQuad::LoadDefaultImage(const ScreenQuad& quad)
{
    texture.Release();
    LoadResourceTexture(DefaultImageResource, false, texture);
    WriteWhiteQuad(quad);
}

void TexturedQuad::SetCorners(const ScreenQuad& quad)
{
    VertexLock<DX_V::SPCT> lock(*this, 4);
    if (lock)
        WriteCornersSPCT(quad, *this);
}

void TexturedQuad::SetAlpha(uint8_t alpha, float factor)
{
    VertexLock<DX_V::SPCT> lock(*this, 4);
    if (!lock)
        return;
    const uint8_t scaled = AlphaByte(factor * static_cast<float>(alpha));
    for (int i = 0; i < 4; ++i) {
        D3DCOLOR& colour = lock.Vertices()[i].color;
        colour = WithAlpha(colour, scaled);
    }
}
