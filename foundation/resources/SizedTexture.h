// A texture with the pixel size of the picture it was made from.
#pragma once

#include "foundation/core/ComHolder.h"

#include <d3d9.h>
#include <d3dx9tex.h>

// The texture may be larger than the picture (rounded up to powers of two);
// width, height and aspect are always the picture's. Copies share the texture
// with one reference each.
struct SizedTexture {
    ComHolder<IDirect3DTexture9> texture;
    UINT width = 0;
    UINT height = 0;
    float aspect = 1.0f; // height / width
};

// Holds texture in sized (one reference of its own; the same texture is not
// referenced twice) and takes the picture size from info.
void AssignSizedTexture(SizedTexture& sized, IDirect3DTexture9* texture, const D3DXIMAGE_INFO& info);
