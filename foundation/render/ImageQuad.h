// The quad that shows a picture in picture pixels: the layer's picture quad
// (0..width × 0..height, drawn through the scene view's transforms) with the
// picture and its size.
#pragma once

#include "foundation/render/TexturedQuad.h"
#include "foundation/resources/SizedTexture.h"

#include <d3d9.h>

#include <cstdint>

class DS_ImageFileLink;

class ImageQuad : public TexturedQuadT<DX_V::PT> {
public:
    // A new four-vertex strip with texture coordinates spanning the texture;
    // positions follow from SetExtent.
    HRESULT CreateBuffer();
    // Positions (0, h), (0, 0), (w, h), (w, 0); texture coordinates kept.
    void SetExtent(float w, float h);
    // Shows image's texture over image's size. `image` itself is not changed.
    void SetImage(const SizedTexture& picture);
    // image := the first picture of the link's textures in the current
    // resource manager (none without one), then shown over its size.
    void LoadLinkImage(DS_ImageFileLink& link);
    // image's texture := a square copy of source's top level, 128 × 2^n
    // pixels on a side (none when that side is beyond any texture's). The
    // size in `image` stays the picture's.
    void MakePowerOfTwoCopy(uint32_t n, IDirect3DTexture9* source);

    // Destroyed before the quad's own texture reference.
    SizedTexture image;
};
