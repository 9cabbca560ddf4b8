#include "foundation/render/QuadBatch.h"

#include "foundation/geometry/BufferLocksForTesting.h"
#include "tests/support/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using QuadBatchTest = DeviceTest<256, 256>;

std::vector<uint16_t> ReadIndices(const TexturedMesh<DX_V::SPCT>& chunk)
{
    std::vector<uint16_t> out;
    D3DINDEXBUFFER_DESC desc{};
    void* data = nullptr;
    if (!chunk.indices || FAILED(chunk.indices->GetDesc(&desc)) ||
        FAILED(chunk.indices->Lock(0, 0, &data, D3DLOCK_READONLY)))
        return out;
    const uint16_t* first = static_cast<const uint16_t*>(data);
    out.assign(first, first + desc.Size / sizeof(uint16_t));
    chunk.indices->Unlock();
    return out;
}

// The quads each chunk holds, 0 for a chunk without buffers.
std::vector<int> ChunkQuadCounts(const QuadBatch& batch)
{
    std::vector<int> counts;
    for (const auto& chunk : batch.chunks)
        counts.push_back(chunk.vertices ? static_cast<int>(chunk.vertexCount / 4) : 0);
    return counts;
}

} // namespace

// Full chunks of 16383 quads and a last chunk with the rest; an exact
// multiple ends on a full chunk, and no count leaves a chunk with buffers of
// size 0.
TEST_F(QuadBatchTest, SplitsQuadsIntoChunksOfAtMost16383)
{
    const struct {
        int n;
        std::vector<int> chunks;
    } cases[] = {
        {100, {100}},
        {20000, {16383, 3617}},
        {16383, {16383}},
        {32766, {16383, 16383}},
        {0, {0}},
        {-7, {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        QuadBatch batch;
        batch.SetQuadCount(c.n);
        EXPECT_EQ(c.chunks, ChunkQuadCounts(batch));
        for (const auto& chunk : batch.chunks) {
            const uint32_t quads = chunk.vertexCount / 4;
            EXPECT_EQ(2 * quads, chunk.indexedPrimitiveCount);
            EXPECT_EQ(6 * quads, ReadIndices(chunk).size());
            EXPECT_EQ(quads > 0, static_cast<bool>(chunk.indices));
        }
    }
}

TEST_F(QuadBatchTest, EveryQuadGetsTwoTrianglesInStripOrderAndStartsTransparentAtTheOrigin)
{
    QuadBatch batch;
    batch.SetQuadCount(20000);
    ASSERT_EQ(2u, batch.chunks.size());

    const std::vector<uint16_t> first = ReadIndices(batch.chunks[0]);
    const std::vector<uint16_t> quads01(first.begin(), first.begin() + 12);
    EXPECT_EQ((std::vector<uint16_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7}), quads01);
    // The last quad of a full chunk stays within 16-bit indices.
    const std::vector<uint16_t> last(first.end() - 6, first.end());
    EXPECT_EQ((std::vector<uint16_t>{65528, 65529, 65530, 65530, 65529, 65531}), last);
    const std::vector<uint16_t> second = ReadIndices(batch.chunks[1]);
    EXPECT_EQ((std::vector<uint16_t>{0, 1, 2, 2, 1, 3}), std::vector<uint16_t>(second.begin(), second.begin() + 6));

    const std::vector<DX_V::SPCT> vertices = ReadVertices(batch.chunks[1]);
    ASSERT_EQ(4u * 3617u, vertices.size());
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
    for (int k = 0; k < 4; ++k) {
        const DX_V::SPCT& v = vertices[4 * 3616 + k];
        EXPECT_EQ(0u, v.color);
        EXPECT_EQ(0.0f, v.x);
        EXPECT_EQ(0.0f, v.y);
        EXPECT_EQ(1.0f, v.rhw);
        EXPECT_EQ(uv[k][0], v.u);
        EXPECT_EQ(uv[k][1], v.v);
    }
}

// The setters write quad i at slot i % 16383 of chunk i / 16383, only
// between Lock and Unlock and only inside the batch.
TEST_F(QuadBatchTest, SettersWriteTheLockedQuadAndNothingElse)
{
    QuadBatch batch;
    batch.SetQuadCount(20000);

    // Not locked: nothing is written.
    batch.SetQuadColor(1, 0xFF112233);
    EXPECT_EQ(0u, ReadVertices(batch.chunks[0])[4].color);

    batch.Lock();
    batch.SetQuadCorners(1, D3DXVECTOR3(100, 100, 0), D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(0, 5, 0));
    batch.SetQuadColor(16383, 0xFF00FF00);
    batch.SetQuadTexCoords(0.25f, 0.75f, 1, 0.5f, 0.625f, 0);
    // Outside the batch and its chunks: ignored.
    batch.SetQuadColor(20000, 0xFFFFFFFF);
    batch.SetQuadColor(-1, 0xFFFFFFFF);
    batch.SetQuadCorners(20000, D3DXVECTOR3(1, 1, 1), D3DXVECTOR3(1, 1, 1), D3DXVECTOR3(1, 1, 1));
    batch.SetQuadTexCoords(0.3f, 0.6f, 1, 0.3f, 0.6f, 3617);
    batch.SetQuadTexCoords(0.3f, 0.6f, 2, 0.3f, 0.6f, 0);
    batch.Unlock();
    EXPECT_FALSE(batch.chunks[0].lockedVertices);

    const std::vector<DX_V::SPCT> first = ReadVertices(batch.chunks[0]);
    const float corners[4][2] = {{90, 105}, {90, 95}, {110, 105}, {110, 95}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(corners[k][0], first[4 + k].x);
        EXPECT_EQ(corners[k][1], first[4 + k].y);
        EXPECT_EQ(1.0f, first[4 + k].rhw);
    }
    const std::vector<DX_V::SPCT> second = ReadVertices(batch.chunks[1]);
    const float uv[4][2] = {{0.25f, 0.625f}, {0.25f, 0.5f}, {0.75f, 0.625f}, {0.75f, 0.5f}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(0xFF00FF00u, second[k].color);
        EXPECT_EQ(uv[k][0], second[k].u);
        EXPECT_EQ(uv[k][1], second[k].v);
    }
    EXPECT_EQ(0u, second[4 * 3616].color);
    EXPECT_EQ(0.0f, second[4 * 3616].u);
    EXPECT_EQ(1.0f, second[4 * 3616].v);
}

TEST_F(QuadBatchTest, EveryChunkShowsChunkZerosTexture)
{
    ComHolder<IDirect3DTexture9> red = SolidTexture(Device(), 0xFFFF0000);
    ComHolder<IDirect3DTexture9> blue = SolidTexture(Device(), 0xFF0000FF);
    QuadBatch batch;
    batch.SetQuadCount(0);
    batch.SetTexture(red.Get());
    batch.SetQuadCount(40000);
    ASSERT_EQ(3u, batch.chunks.size());
    for (const auto& chunk : batch.chunks)
        EXPECT_EQ(red.Get(), chunk.texture.Get());

    batch.SetTexture(blue.Get());
    batch.SetQuadCount(100);
    ASSERT_EQ(1u, batch.chunks.size());
    EXPECT_EQ(blue.Get(), batch.chunks[0].texture.Get());
}

// Quads of both chunks reach the back buffer in their texture × vertex
// colour; the quads left at their start draw nothing.
TEST_F(QuadBatchTest, DrawShowsTheQuadsOfEveryChunk)
{
    IDirect3DDevice9* d = Device();
    ComHolder<IDirect3DTexture9> white = SolidTexture(d, 0xFFFFFFFF);
    QuadBatch batch;
    batch.SetQuadCount(QuadBatch::ChunkQuads + 10);
    batch.SetTexture(white.Get());
    batch.Lock();
    batch.SetQuadCorners(3, D3DXVECTOR3(64, 128, 0), D3DXVECTOR3(20, 0, 0), D3DXVECTOR3(0, 20, 0));
    batch.SetQuadColor(3, 0xFFFF0000);
    batch.SetQuadCorners(QuadBatch::ChunkQuads + 9, D3DXVECTOR3(192, 128, 0), D3DXVECTOR3(20, 0, 0),
                         D3DXVECTOR3(0, 20, 0));
    batch.SetQuadColor(QuadBatch::ChunkQuads + 9, 0xFF00FF00);
    batch.Unlock();

    SetPlainTextureStates(d);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    d->BeginScene();
    batch.Draw();
    d->EndScene();
    const Pixels shown = device.ReadBackBuffer();

    EXPECT_TRUE(ColourNear(shown.At(64, 128), Rgba{255, 0, 0, 255}, 2));
    EXPECT_TRUE(ColourNear(shown.At(192, 128), Rgba{0, 255, 0, 255}, 2));
    EXPECT_TRUE(shown.AllNear(100, 0, 160, 256, Rgba{0, 0, 0, 255}, 2));
    EXPECT_TRUE(ColourNear(shown.At(64, 160), Rgba{0, 0, 0, 255}, 2));
}

// A chunk whose indices could not be written holds no buffers and draws
// nothing, while the chunks around it draw; the next sizing writes them.
TEST_F(QuadBatchTest, AChunkWhoseIndicesDoNotLockDrawsNothing)
{
    IDirect3DDevice9* d = Device();
    ComHolder<IDirect3DTexture9> white = SolidTexture(d, 0xFFFFFFFF);
    const auto frame = [&](QuadBatch& batch) {
        batch.SetTexture(white.Get());
        batch.Lock();
        batch.SetQuadCorners(3, D3DXVECTOR3(64, 128, 0), D3DXVECTOR3(20, 0, 0), D3DXVECTOR3(0, 20, 0));
        batch.SetQuadColor(3, 0xFFFF0000);
        batch.SetQuadCorners(QuadBatch::ChunkQuads + 9, D3DXVECTOR3(192, 128, 0), D3DXVECTOR3(20, 0, 0),
                             D3DXVECTOR3(0, 20, 0));
        batch.SetQuadColor(QuadBatch::ChunkQuads + 9, 0xFF00FF00);
        batch.Unlock();
        SetPlainTextureStates(d);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        d->BeginScene();
        batch.Draw();
        d->EndScene();
        return device.ReadBackBuffer();
    };

    QuadBatch batch;
    FailIndexBufferLocksForTesting(1);
    batch.SetQuadCount(QuadBatch::ChunkQuads + 10);
    FailIndexBufferLocksForTesting(0);
    ASSERT_EQ(2u, batch.chunks.size());
    EXPECT_FALSE(batch.chunks[0].vertices);
    EXPECT_FALSE(batch.chunks[0].indices);
    EXPECT_EQ(0u, batch.chunks[0].indexedPrimitiveCount);
    EXPECT_EQ(20u, batch.chunks[1].indexedPrimitiveCount);
    const Pixels partly = frame(batch);
    EXPECT_TRUE(partly.AllNear(0, 0, 160, 256, Rgba{0, 0, 0, 255}, 2));
    EXPECT_TRUE(ColourNear(partly.At(192, 128), Rgba{0, 255, 0, 255}, 2));

    batch.SetQuadCount(QuadBatch::ChunkQuads + 10);
    EXPECT_EQ(2u * QuadBatch::ChunkQuads, batch.chunks[0].indexedPrimitiveCount);
    const std::vector<uint16_t> indices = ReadIndices(batch.chunks[0]);
    ASSERT_EQ(6u * QuadBatch::ChunkQuads, indices.size());
    EXPECT_EQ((std::vector<uint16_t>{12, 13, 14, 14, 13, 15}),
              std::vector<uint16_t>(indices.begin() + 18, indices.begin() + 24));
    const Pixels whole = frame(batch);
    EXPECT_TRUE(ColourNear(whole.At(64, 128), Rgba{255, 0, 0, 255}, 2));
    EXPECT_TRUE(ColourNear(whole.At(192, 128), Rgba{0, 255, 0, 255}, 2));
}
