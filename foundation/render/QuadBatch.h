// Many textured, coloured quads with one texture, drawn in a few indexed draw
// calls: pre-transformed DX_V::SPCT vertices (back-buffer pixels) split into
// chunks of at most ChunkQuads quads, so that every chunk's vertices stay
// addressable by 16-bit indices.
//
// Quad i lies in chunk i / ChunkQuads at slot i % ChunkQuads; slot k owns
// vertices 4k to 4k + 3 (bottom left, top left, bottom right, top right, the
// strip order of ScreenQuad) and indices 6k to 6k + 5, the triangles (0, 1, 2)
// and (2, 1, 3). The index buffers are written once per SetQuadCount; per
// frame only the vertex buffers are locked, each once.
#pragma once

#include "foundation/geometry/TexturedMesh.h"
#include "foundation/geometry/VertexFormats.h"

#include <d3d9.h>
#include <d3dx9math.h>

#include <vector>

class QuadBatch {
public:
    static constexpr int ChunkQuads = 16383;

    // One chunk without buffers; SetQuadCount sizes the batch before use.
    QuadBatch();

    // n quads in as few chunks as hold them. A count of 0 or less keeps one
    // chunk without buffers (it holds the texture and draws nothing), and a
    // multiple of ChunkQuads ends with a full chunk: no chunk ever has a
    // buffer of size 0. Every chunk takes chunk 0's texture. Each quad starts
    // transparent black at the origin, its texture spanning the whole quad.
    void SetQuadCount(int n);
    int QuadCount() const { return quadCount; }

    // Every chunk shows the texture (one reference each).
    void SetTexture(IDirect3DTexture9* texture);

    // Locks every chunk's vertex buffer for the setters below; Unlock lets
    // them all go. A chunk whose buffer does not lock is left out: the
    // setters skip its quads.
    void Lock();
    void Unlock();

    // Between Lock and Unlock: vertex 0 := c - u + v, 1 := c - u - v,
    // 2 := c + u + v, 3 := c + u - v, each with rhw 1. With u along x and v
    // along y (y downwards) that is bottom left, top left, bottom right, top
    // right. Quads outside the batch or in a chunk that is not locked are
    // left alone.
    void SetQuadCorners(int i, const D3DXVECTOR3& c, const D3DXVECTOR3& u, const D3DXVECTOR3& v);
    // The colour (0xAARRGGBB) of all four vertices of quad i.
    void SetQuadColor(int i, D3DCOLOR colour);
    // The texture coordinates of the slot of a chunk: vertex 0 (ua, vb),
    // 1 (ua, va), 2 (ub, vb), 3 (ub, va).
    void SetQuadTexCoords(float ua, float ub, int chunk, float va, float vb, int slot);

    // Every chunk with quads in one indexed draw: its texture on stage 0, its
    // index buffer, no vertex shader, the DX_V::SPCT stream. Render and
    // texture-stage states are the caller's.
    void Draw() const;

    std::vector<TexturedMesh<DX_V::SPCT>> chunks;

private:
    using Chunk = TexturedMesh<DX_V::SPCT>;

    // count quads (at least 1): a new vertex and index buffer, the indices
    // written once, every quad at its starting state.
    static void InitChunk(Chunk& chunk, int count);
    // Lets go of the chunk's buffers: a chunk with no quads.
    static void EmptyChunk(Chunk& chunk);
    // The locked vertices of quad i's first vertex, or none.
    DX_V::SPCT* LockedQuad(int chunk, int slot);

    int quadCount = 0;
};
