// Making and filling the 16-bit index buffers of the meshes on CurrentDevice.
//
// Every index buffer the program fills is made one way: created in place of
// what its holder held, locked whole through LockIndexBuffer, written,
// unlocked. A buffer that cannot be made or locked is not kept, since an
// unfilled buffer would draw whatever its memory happens to hold; the
// HRESULT of the failing step is returned.
#pragma once

#include "foundation/core/ComHolder.h"

#include <d3d9.h>

#include <cstdint>

// The index half of an indexed mesh: its buffer, the number of triangles it
// draws and, while it is locked, the locked data.
struct IndexBufferPart {
    ComHolder<IDirect3DIndexBuffer9> indices;
    UINT indexedPrimitiveCount = 0;
    void* lockedIndices = nullptr;
};

// Locks the whole buffer into lockedIndices (none on failure).
HRESULT LockIndexBufferPart(IndexBufferPart& part);

// Makes a buffer of count 16-bit indices into target, which is emptied first
// and stays empty on failure. The buffer is left unwritten.
HRESULT CreateIndexBufferInto(ComHolder<IDirect3DIndexBuffer9>& target, UINT count, DWORD usage, D3DPOOL pool);

// Locks the whole index buffer for writing (flags 0); a lock that succeeds
// without giving memory counts as failed and is undone.
HRESULT LockIndexBuffer(IDirect3DIndexBuffer9* buffer, void** data);

// Makes target a new buffer of count 16-bit indices, locked for writing, and
// hands its memory out in indices; the caller writes and unlocks. On failure
// target is empty and indices null.
HRESULT CreateLockedIndexBuffer(ComHolder<IDirect3DIndexBuffer9>& target, UINT count, uint16_t** indices,
                                DWORD usage, D3DPOOL pool);

// Makes target a new buffer of count 16-bit indices and calls fill(indices)
// on its memory, count entries of it; fill is not called when the buffer
// cannot be made or locked. Indices written once and only drawn suit the
// default placement, a managed write-only buffer.
template <class Fill>
HRESULT CreateFilledIndexBuffer(ComHolder<IDirect3DIndexBuffer9>& target, UINT count, Fill&& fill,
                                DWORD usage = D3DUSAGE_WRITEONLY, D3DPOOL pool = D3DPOOL_MANAGED)
{
    uint16_t* indices = nullptr;
    const HRESULT hr = CreateLockedIndexBuffer(target, count, &indices, usage, pool);
    if (FAILED(hr))
        return hr;
    fill(indices);
    target->Unlock();
    return hr;
}

// A managed write-only buffer holding a copy of count indices from source.
HRESULT CreateFilledIndexBuffer(ComHolder<IDirect3DIndexBuffer9>& target, const uint16_t* source, UINT count);
