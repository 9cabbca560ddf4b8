// The mesh chain over a vertex format V: a frame with a vertex buffer
// (DS_SimpleMesh), plus a 16-bit index buffer (DS_IndexedMesh). Particle
// geometry adds its controller above them (objects/particles/DS_SpriteArrayT.h).
//
// Each mesh owns one reference to each buffer. The holders make copies take a
// reference of their own and assignments release the old buffer and take the
// new one; assigning a mesh to itself leaves the counts as they are.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/geometry/DS_Frame.h"
#include "foundation/geometry/VertexFormats.h"

#include <d3d9.h>

#include <cstdint>

template <class V>
class DS_SimpleMesh : public DS_Frame {
public:
    using Vertex = V;

    ComHolder<IDirect3DVertexBuffer9> vertices;
    // Set only while an operation has the buffer locked.
    V* lockedVertices = nullptr;
    uint32_t vertexCount = 0;
    D3DPRIMITIVETYPE primitiveType = D3DPT_TRIANGLESTRIP;
    // Primitives of a draw without indices.
    uint32_t primitiveCount = 0;
};

template <class V>
class DS_IndexedMesh : public DS_SimpleMesh<V> {
public:
    ComHolder<IDirect3DIndexBuffer9> indices;
    // Primitives of a draw through the index buffer.
    uint32_t indexedPrimitiveCount = 0;
    uint16_t* lockedIndices = nullptr;
};
