// Copies of a texture made on CurrentDevice: resized into a new texture, or
// saved as a DDS file in memory.
#pragma once

#include "foundation/core/ComHolder.h"

#include <d3d9.h>
#include <d3dx9core.h>

// A new managed texture of the given size and format with a full mip chain,
// whose top level is source's top level filtered to that size; the lower
// levels are left for the caller. None when there is no source or a step
// fails.
ComHolder<IDirect3DTexture9> ResampleTexture(UINT width, UINT height, IDirect3DTexture9* source,
                                             D3DFORMAT format = D3DFMT_A8R8G8B8);

// The texture as a DDS file in memory; none when it cannot be saved.
ComHolder<ID3DXBuffer> SaveTextureToDdsMemory(IDirect3DTexture9* texture);
