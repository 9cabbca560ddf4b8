#include "foundation/geometry/BufferLocksForTesting.h"
#include "foundation/geometry/IndexPatterns.h"
#include "tests/foundation/geometry/GeometryFixture.h"

#include <vector>

using IndexPatternsTest = GeometryFixture;

TEST_F(IndexPatternsTest, GridIndicesRunRowByRow)
{
    const IndexBufferPart grid = BuildGridIndexBuffer();
    ASSERT_TRUE(grid.indices);
    EXPECT_EQ(128u, grid.indexedPrimitiveCount);
    EXPECT_EQ(nullptr, grid.lockedIndices);
    D3DINDEXBUFFER_DESC desc{};
    grid.indices->GetDesc(&desc);
    EXPECT_EQ(2048u, desc.Size);
    EXPECT_EQ(D3DFMT_INDEX16, desc.Format);
    EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);

    std::vector<WORD> indices = ReadIndices(grid.indices.Get());
    // The grid's own indices; the rest of the buffer is never drawn.
    indices.resize(384);
    EXPECT_EQ((std::vector<WORD>{0, 1, 9, 9, 1, 10}), std::vector<WORD>(indices.begin(), indices.begin() + 6));
    // Row 0, column 1.
    EXPECT_EQ((std::vector<WORD>{1, 2, 10, 10, 2, 11}), std::vector<WORD>(indices.begin() + 6, indices.begin() + 12));
    // Row 1, column 0.
    EXPECT_EQ((std::vector<WORD>{9, 10, 18, 18, 10, 19}),
              std::vector<WORD>(indices.begin() + 48, indices.begin() + 54));
    EXPECT_EQ((std::vector<WORD>{70, 71, 79, 79, 71, 80}), std::vector<WORD>(indices.end() - 6, indices.end()));
}

TEST_F(IndexPatternsTest, QuadListsShareEachQuadsMiddleEdge)
{
    ComHolder<IDirect3DIndexBuffer9> quads;
    ASSERT_EQ(D3D_OK, CreateQuadListIndexBuffer(quads, 3));
    D3DINDEXBUFFER_DESC desc{};
    quads->GetDesc(&desc);
    EXPECT_EQ(36u, desc.Size);
    EXPECT_EQ(static_cast<DWORD>(D3DUSAGE_WRITEONLY), desc.Usage);
    EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
    EXPECT_EQ((std::vector<WORD>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7, 8, 9, 10, 10, 9, 11}),
              ReadIndices(quads.Get()));
}

// A pattern that cannot be written would draw whatever the buffer holds: it
// is not kept, and the grid has no triangles.
TEST_F(IndexPatternsTest, PatternsThatCannotBeWrittenAreNotKept)
{
    FailIndexBufferLocksForTesting(2);
    const IndexBufferPart grid = BuildGridIndexBuffer();
    ComHolder<IDirect3DIndexBuffer9> quads;
    const HRESULT quadsResult = CreateQuadListIndexBuffer(quads, 3);
    FailIndexBufferLocksForTesting(0);

    EXPECT_FALSE(grid.indices);
    EXPECT_EQ(0u, grid.indexedPrimitiveCount);
    EXPECT_TRUE(FAILED(quadsResult));
    EXPECT_FALSE(quads);
}
