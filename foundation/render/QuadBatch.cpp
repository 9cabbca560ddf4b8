#include "foundation/render/QuadBatch.h"

#include "foundation/geometry/IndexPatterns.h"
#include "foundation/geometry/MeshBuffers.h"
#include "foundation/core/CurrentDevice.h"

#include <algorithm>

namespace {

const int VerticesPerQuad = 4;
const int TrianglesPerQuad = 2;

// A quad's starting vertices: transparent black at the origin, the texture
// spanning the quad in strip order.
const DX_V::SPCT StartQuad[VerticesPerQuad] = {
    {0.0f, 0.0f, 0.0f, 1.0f, 0, 0.0f, 1.0f},
    {0.0f, 0.0f, 0.0f, 1.0f, 0, 0.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 1.0f, 0, 1.0f, 1.0f},
    {0.0f, 0.0f, 0.0f, 1.0f, 0, 1.0f, 0.0f},
};

void SetPosition(DX_V::SPCT& vertex, const D3DXVECTOR3& p)
{
    vertex.x = p.x;
    vertex.y = p.y;
    vertex.z = p.z;
    vertex.rhw = 1.0f;
}

} // namespace

QuadBatch::QuadBatch() : chunks(1) {}

void QuadBatch::EmptyChunk(Chunk& chunk)
{
    chunk.vertices.Release();
    chunk.indices.Release();
    chunk.vertexCount = 0;
    chunk.indexedPrimitiveCount = 0;
    chunk.primitiveType = D3DPT_TRIANGLELIST;
}

void QuadBatch::InitChunk(Chunk& chunk, int count)
{
    EmptyChunk(chunk);
    const UINT vertexCount = static_cast<UINT>(count * VerticesPerQuad);
    // Without both buffers, or with indices that could not be written (they
    // would draw whatever the buffer happens to hold), the chunk cannot draw:
    // it counts as empty.
    if (FAILED(CreateVertexBufferSPCT(vertexCount, chunk, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED)) ||
        FAILED(CreateQuadListIndexBuffer(chunk.indices, static_cast<UINT>(count)))) {
        EmptyChunk(chunk);
        return;
    }
    chunk.indexedPrimitiveCount = static_cast<uint32_t>(count * TrianglesPerQuad);

    void* data = nullptr;
    if (SUCCEEDED(chunk.vertices->Lock(0, 0, &data, 0)) && data) {
        DX_V::SPCT* vertex = static_cast<DX_V::SPCT*>(data);
        for (int j = 0; j < count; ++j)
            std::copy(StartQuad, StartQuad + VerticesPerQuad, vertex + VerticesPerQuad * j);
        chunk.vertices->Unlock();
    }
}

void QuadBatch::SetQuadCount(int n)
{
    Unlock();
    const int count = std::max(n, 0);
    const std::size_t chunkCount = count == 0 ? 1 : static_cast<std::size_t>((count + ChunkQuads - 1) / ChunkQuads);
    chunks.resize(chunkCount);
    for (std::size_t i = 0; i < chunkCount; ++i) {
        const int quads = std::min(ChunkQuads, count - ChunkQuads * static_cast<int>(i));
        if (quads > 0)
            InitChunk(chunks[i], quads);
        else
            EmptyChunk(chunks[i]);
        if (i > 0)
            chunks[i].texture = chunks[0].texture;
    }
    quadCount = count;
}

void QuadBatch::SetTexture(IDirect3DTexture9* texture)
{
    for (Chunk& chunk : chunks)
        if (chunk.texture.Get() != texture)
            chunk.texture = texture;
}

void QuadBatch::Lock()
{
    for (Chunk& chunk : chunks) {
        if (!chunk.vertices || chunk.lockedVertices)
            continue;
        void* data = nullptr;
        if (SUCCEEDED(chunk.vertices->Lock(0, 0, &data, 0)) && data)
            chunk.lockedVertices = static_cast<DX_V::SPCT*>(data);
    }
}

void QuadBatch::Unlock()
{
    for (Chunk& chunk : chunks) {
        if (!chunk.lockedVertices)
            continue;
        chunk.lockedVertices = nullptr;
        chunk.vertices->Unlock();
    }
}

DX_V::SPCT* QuadBatch::LockedQuad(int chunk, int slot)
{
    if (chunk < 0 || slot < 0 || static_cast<std::size_t>(chunk) >= chunks.size())
        return nullptr;
    Chunk& c = chunks[static_cast<std::size_t>(chunk)];
    if (!c.lockedVertices || static_cast<uint32_t>(slot) >= c.vertexCount / VerticesPerQuad)
        return nullptr;
    return c.lockedVertices + VerticesPerQuad * slot;
}

void QuadBatch::SetQuadCorners(int i, const D3DXVECTOR3& c, const D3DXVECTOR3& u, const D3DXVECTOR3& v)
{
    if (i < 0 || i >= quadCount)
        return;
    DX_V::SPCT* quad = LockedQuad(i / ChunkQuads, i % ChunkQuads);
    if (!quad)
        return;
    SetPosition(quad[0], c - u + v);
    SetPosition(quad[1], c - u - v);
    SetPosition(quad[2], c + u + v);
    SetPosition(quad[3], c + u - v);
}

void QuadBatch::SetQuadColor(int i, D3DCOLOR colour)
{
    if (i < 0 || i >= quadCount)
        return;
    DX_V::SPCT* quad = LockedQuad(i / ChunkQuads, i % ChunkQuads);
    if (!quad)
        return;
    for (int k = 0; k < VerticesPerQuad; ++k)
        quad[k].color = colour;
}

void QuadBatch::SetQuadTexCoords(float ua, float ub, int chunk, float va, float vb, int slot)
{
    DX_V::SPCT* quad = LockedQuad(chunk, slot);
    if (!quad)
        return;
    quad[0].u = ua;
    quad[0].v = vb;
    quad[1].u = ua;
    quad[1].v = va;
    quad[2].u = ub;
    quad[2].v = vb;
    quad[3].u = ub;
    quad[3].v = va;
}

void QuadBatch::Draw() const
{
    if (!CurrentDevice)
        return;
    for (const Chunk& chunk : chunks) {
        if (!chunk.vertices || !chunk.indices || chunk.indexedPrimitiveCount == 0)
            continue;
        CurrentDevice->SetTexture(0, chunk.texture.Get());
        BindIndexedStream(chunk);
        CurrentDevice->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, chunk.vertexCount, 0,
                                            chunk.indexedPrimitiveCount);
    }
}
