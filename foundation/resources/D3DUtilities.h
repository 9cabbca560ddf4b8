// Small Direct3D helpers shared by the layers, brushes and quads; all work on
// CurrentDevice.
#pragma once

#include "foundation/core/ComHolder.h"

#include <d3d9.h>
#include <d3dx9core.h>

// The index half of an indexed mesh: its buffer, the number of triangles it
// draws and, while it is locked, the locked data.
struct IndexBufferPart {
    ComHolder<IDirect3DIndexBuffer9> indices;
    UINT indexedPrimitiveCount = 0;
    void* lockedIndices = nullptr;
};

// Locks the whole buffer into lockedIndices (none on failure).
HRESULT LockIndexBufferPart(IndexBufferPart& part);

// The 16-bit triangle-list indices of an 8 × 8 grid of quads over 9 × 9
// vertices numbered row by row: 128 triangles. Empty when it cannot be made.
IndexBufferPart BuildGridIndexBuffer();

// A new managed texture of the given size and format with a full mip chain,
// whose top level is source's top level filtered to that size; the lower
// levels are left for the caller. None when there is no source or a step
// fails.
ComHolder<IDirect3DTexture9> ResampleTexture(UINT width, UINT height, IDirect3DTexture9* source,
                                             D3DFORMAT format = D3DFMT_A8R8G8B8);

// The texture as a DDS file in memory; none when it cannot be saved.
ComHolder<ID3DXBuffer> SaveTextureToDdsMemory(IDirect3DTexture9* texture);

// The description of CurrentDevice's first back buffer; all zero when there
// is none.
D3DSURFACE_DESC GetBackBufferDesc();
