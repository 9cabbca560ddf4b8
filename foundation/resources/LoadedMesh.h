// A mesh copied into drawable buffers, with its bounding sphere.
#pragma once

#include "foundation/core/ComHolder.h"

#include <d3d9.h>
#include <d3dx9math.h>

// Vertices of FVF D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1 (32 bytes) and
// 16-bit triangle-list indices, both write-only in the managed pool so they
// survive a device reset. Copies share both buffers with one reference each.
struct LoadedMesh {
    // Declared before the indices so that destruction releases the index
    // buffer first, then the vertex buffer.
    ComHolder<IDirect3DVertexBuffer9> vertices;
    ComHolder<IDirect3DIndexBuffer9> indices;
    UINT vertexCount = 0;
    UINT faceCount = 0;
    float radius = 0.0f;
    D3DXVECTOR3 centre = D3DXVECTOR3(0.0f, 0.0f, 0.0f);

    bool IsLoaded() const { return vertexCount != 0; }
};
