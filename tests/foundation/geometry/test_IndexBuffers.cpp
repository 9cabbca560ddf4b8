#include "foundation/geometry/BufferLocksForTesting.h"
#include "foundation/geometry/IndexBuffers.h"
#include "foundation/geometry/IndexPatterns.h"
#include "tests/foundation/geometry/GeometryFixture.h"
#include "tests/support/ScopedCurrentDevice.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

using IndexBuffersTest = GeometryFixture;

TEST_F(IndexBuffersTest, LockingAPartWithoutBufferFails)
{
    IndexBufferPart part;
    EXPECT_TRUE(FAILED(LockIndexBufferPart(part)));
    EXPECT_EQ(nullptr, part.lockedIndices);

    part = BuildGridIndexBuffer();
    ASSERT_EQ(D3D_OK, LockIndexBufferPart(part));
    EXPECT_NE(nullptr, part.lockedIndices);
    EXPECT_EQ(9u, static_cast<const WORD*>(part.lockedIndices)[2]);
    part.indices->Unlock();
}

// The buffer takes the place of the one held, which is released; the filler
// writes it from a lambda or a copy comes from memory, in the placement asked
// for (managed and write-only unless told).
TEST_F(IndexBuffersTest, FilledBuffersHoldWhatWasWrittenWhereAsked)
{
    ComHolder<IDirect3DIndexBuffer9> buffer;
    ASSERT_EQ(D3D_OK, CreateIndexBufferInto(buffer, 2, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    const ComHolder<IDirect3DIndexBuffer9> old = buffer;

    ASSERT_EQ(D3D_OK, CreateFilledIndexBuffer(buffer, 4, [](uint16_t* indices) {
                  const uint16_t written[] = {3, 1, 4, 1};
                  std::copy(written, written + 4, indices);
              }));
    EXPECT_NE(old.Get(), buffer.Get());
    EXPECT_EQ(1u, RefCount(old.Get()));
    EXPECT_EQ((std::vector<uint16_t>{3, 1, 4, 1}), ReadIndices(buffer.Get()));
    D3DINDEXBUFFER_DESC desc{};
    buffer->GetDesc(&desc);
    EXPECT_EQ(D3DFMT_INDEX16, desc.Format);
    EXPECT_EQ(static_cast<DWORD>(D3DUSAGE_WRITEONLY), desc.Usage);
    EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);

    const uint16_t source[] = {7, 0, 65535};
    ASSERT_EQ(D3D_OK, CreateFilledIndexBuffer(buffer, source, 3));
    EXPECT_EQ((std::vector<uint16_t>{7, 0, 65535}), ReadIndices(buffer.Get()));

    ASSERT_EQ(D3D_OK, CreateFilledIndexBuffer(buffer, 2, [](uint16_t* indices) { indices[0] = indices[1] = 5; }, 0,
                                              D3DPOOL_DEFAULT));
    buffer->GetDesc(&desc);
    EXPECT_EQ(0u, desc.Usage);
    EXPECT_EQ(D3DPOOL_DEFAULT, desc.Pool);
}

// A buffer that cannot be made or locked leaves the holder empty (the old
// buffer released all the same) and the filler uncalled.
TEST_F(IndexBuffersTest, ABufferThatCannotBeFilledIsNotKept)
{
    struct Case {
        const char* name;
        int failedLocks;
        bool device;
        UINT count;
    };
    const Case cases[] = {
        {"the lock fails", 1, true, 6},
        {"no device", 0, false, 6},
        {"the byte size would wrap", 0, true, UINT_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComHolder<IDirect3DIndexBuffer9> buffer;
        ASSERT_EQ(D3D_OK, CreateIndexBufferInto(buffer, 6, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
        const ComHolder<IDirect3DIndexBuffer9> old = buffer;
        bool filled = false;
        FailIndexBufferLocksForTesting(c.failedLocks);
        std::optional<ScopedCurrentDevice> noDevice;
        if (!c.device)
            noDevice.emplace(nullptr);
        const HRESULT hr = CreateFilledIndexBuffer(buffer, c.count, [&filled](uint16_t*) { filled = true; });
        noDevice.reset();
        FailIndexBufferLocksForTesting(0);

        EXPECT_TRUE(FAILED(hr));
        EXPECT_FALSE(buffer);
        EXPECT_FALSE(filled);
        EXPECT_EQ(1u, RefCount(old.Get()));
    }
}
