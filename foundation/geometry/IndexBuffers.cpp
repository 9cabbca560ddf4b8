#include "foundation/geometry/IndexBuffers.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/geometry/BufferLocksForTesting.h"

#include <algorithm>
#include <limits>

namespace {

int IndexLocksToFail = 0;

} // namespace

void FailIndexBufferLocksForTesting(int count) { IndexLocksToFail = count; }

HRESULT LockIndexBufferPart(IndexBufferPart& part)
{
    part.lockedIndices = nullptr;
    if (!part.indices)
        return E_FAIL;
    const HRESULT hr = part.indices->Lock(0, 0, &part.lockedIndices, 0);
    if (FAILED(hr))
        part.lockedIndices = nullptr;
    return hr;
}

HRESULT CreateIndexBufferInto(ComHolder<IDirect3DIndexBuffer9>& target, UINT count, DWORD usage, D3DPOOL pool)
{
    target.Release();
    if (!CurrentDevice)
        return D3DERR_INVALIDCALL;
    // The byte length is a UINT: a count that would wrap it is refused
    // instead of making a buffer smaller than the indices written to it.
    if (count > std::numeric_limits<UINT>::max() / sizeof(uint16_t))
        return E_INVALIDARG;
    IDirect3DIndexBuffer9* created = nullptr;
    const HRESULT hr = CurrentDevice->CreateIndexBuffer(count * static_cast<UINT>(sizeof(uint16_t)), usage,
                                                        D3DFMT_INDEX16, pool, &created, nullptr);
    if (SUCCEEDED(hr))
        target.Attach(created);
    return hr;
}

HRESULT LockIndexBuffer(IDirect3DIndexBuffer9* buffer, void** data)
{
    *data = nullptr;
    if (!buffer)
        return D3DERR_INVALIDCALL;
    if (IndexLocksToFail > 0) {
        --IndexLocksToFail;
        return D3DERR_INVALIDCALL;
    }
    const HRESULT hr = buffer->Lock(0, 0, data, 0);
    if (SUCCEEDED(hr) && !*data) {
        buffer->Unlock();
        return E_FAIL;
    }
    return hr;
}

HRESULT CreateLockedIndexBuffer(ComHolder<IDirect3DIndexBuffer9>& target, UINT count, uint16_t** indices,
                                DWORD usage, D3DPOOL pool)
{
    *indices = nullptr;
    HRESULT hr = CreateIndexBufferInto(target, count, usage, pool);
    if (FAILED(hr))
        return hr;
    void* data = nullptr;
    hr = LockIndexBuffer(target.Get(), &data);
    if (FAILED(hr)) {
        target.Release();
        return hr;
    }
    *indices = static_cast<uint16_t*>(data);
    return hr;
}

HRESULT CreateFilledIndexBuffer(ComHolder<IDirect3DIndexBuffer9>& target, const uint16_t* source, UINT count)
{
    return CreateFilledIndexBuffer(target, count,
                                   [source, count](uint16_t* indices) { std::copy(source, source + count, indices); });
}
