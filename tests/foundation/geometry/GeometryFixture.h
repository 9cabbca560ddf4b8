// A test device published as CurrentDevice, and small helpers for buffers.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/core/CurrentDevice.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

class GeometryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dev.Ok());
        current.emplace(dev.Device());
    }
    void TearDown() override { current.reset(); }

    TestDevice dev{64, 64};
    std::optional<ScopedCurrentDevice> current;
};

// The reference count of a live interface, measured without changing it.
inline ULONG RefCount(IUnknown* p)
{
    p->AddRef();
    return p->Release();
}

// Writes the vertices into the buffer; false when it would not lock.
template <class V>
bool FillVertices(IDirect3DVertexBuffer9* buffer, const std::vector<V>& vertices)
{
    void* data = nullptr;
    if (!buffer || FAILED(buffer->Lock(0, 0, &data, 0)))
        return false;
    std::memcpy(data, vertices.data(), vertices.size() * sizeof(V));
    buffer->Unlock();
    return true;
}

// Every index the buffer holds, as it stands (managed buffers keep a readable
// copy); empty when it would not lock.
inline std::vector<uint16_t> ReadIndices(IDirect3DIndexBuffer9* buffer)
{
    std::vector<uint16_t> indices;
    D3DINDEXBUFFER_DESC desc{};
    void* data = nullptr;
    if (!buffer || FAILED(buffer->GetDesc(&desc)) || FAILED(buffer->Lock(0, 0, &data, D3DLOCK_READONLY)))
        return indices;
    const uint16_t* first = static_cast<const uint16_t*>(data);
    indices.assign(first, first + desc.Size / sizeof(uint16_t));
    buffer->Unlock();
    return indices;
}
