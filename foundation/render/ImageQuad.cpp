#include "foundation/render/ImageQuad.h"

#include "foundation/geometry/MeshBuffers.h"
#include "foundation/render/VertexLock.h"
#include "foundation/resources/TextureCopies.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "foundation/resources/FirstLinkTexture.h"

namespace {

const uint32_t SmallestCopySide = 128;
// 128 × 2^n beyond this exceeds every texture size a device offers (and,
// soon after, the width of the shift).
const uint32_t LargestCopyExponent = 7;

} // namespace

HRESULT ImageQuad::CreateBuffer()
{
    const HRESULT hr = CreateQuadBufferPT(*this);
    VertexLock<DX_V::PT> lock(*this, 4);
    if (!lock)
        return hr;
    const ScreenQuad spanning;
    for (int i = 0; i < 4; ++i) {
        lock.Vertices()[i].u = spanning.corners[i].u;
        lock.Vertices()[i].v = spanning.corners[i].v;
    }
    return hr;
}

void ImageQuad::SetExtent(float w, float h)
{
    VertexLock<DX_V::PT> lock(*this, 4);
    if (!lock)
        return;
    const float positions[4][2] = {{0.0f, h}, {0.0f, 0.0f}, {w, h}, {w, 0.0f}};
    for (int i = 0; i < 4; ++i) {
        DX_V::PT& vertex = lock.Vertices()[i];
        vertex.x = positions[i][0];
        vertex.y = positions[i][1];
        vertex.z = 0.0f;
    }
}

void ImageQuad::SetImage(const SizedTexture& picture)
{
    texture = picture.texture;
    SetExtent(static_cast<float>(picture.width), static_cast<float>(picture.height));
}

void ImageQuad::LoadLinkImage(DS_ImageFileLink& link)
{
    // Without a document there is nothing to look the link up in: the quad
    // then shows no picture, as for a link that yields none.
    image = GetFirstLinkTexture(link);
    SetImage(image);
}

void ImageQuad::MakePowerOfTwoCopy(uint32_t n, IDirect3DTexture9* source)
{
    if (n > LargestCopyExponent) {
        image.texture.Release();
        return;
    }
    const UINT side = SmallestCopySide << n;
    image.texture = ResampleTexture(side, side, source);
}
