#include "foundation/resources/D3DUtilities.h"

#include "foundation/core/CurrentDevice.h"

#include <d3dx9tex.h>

namespace {

constexpr UINT GridCells = 8;
constexpr UINT GridVerticesPerRow = GridCells + 1;
constexpr UINT GridTriangles = GridCells * GridCells * 2;
// Larger than the grid's 384 indices (768 bytes); the rest is never written
// or drawn.
constexpr UINT GridIndexBufferBytes = 2048;

} // namespace

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

IndexBufferPart BuildGridIndexBuffer()
{
    IndexBufferPart part;
    if (!CurrentDevice ||
        FAILED(CurrentDevice->CreateIndexBuffer(GridIndexBufferBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                                D3DPOOL_MANAGED, part.indices.Out(), nullptr)) ||
        FAILED(LockIndexBufferPart(part)))
        return IndexBufferPart();

    WORD* index = static_cast<WORD*>(part.lockedIndices);
    for (UINT row = 0; row < GridCells; ++row) {
        for (UINT column = 0; column < GridCells; ++column) {
            const WORD v = static_cast<WORD>(GridVerticesPerRow * row + column);
            const WORD below = static_cast<WORD>(v + GridVerticesPerRow);
            *index++ = v;
            *index++ = static_cast<WORD>(v + 1);
            *index++ = below;
            *index++ = below;
            *index++ = static_cast<WORD>(v + 1);
            *index++ = static_cast<WORD>(below + 1);
        }
    }
    part.indices->Unlock();
    part.lockedIndices = nullptr;
    part.indexedPrimitiveCount = GridTriangles;
    return part;
}

ComHolder<IDirect3DTexture9> ResampleTexture(UINT width, UINT height, IDirect3DTexture9* source, D3DFORMAT format)
{
    ComHolder<IDirect3DTexture9> result;
    if (!source || !CurrentDevice)
        return result;
    if (FAILED(D3DXCreateTexture(CurrentDevice, width, height, 0, 0, format, D3DPOOL_MANAGED, result.Out())))
        return ComHolder<IDirect3DTexture9>();

    ComHolder<IDirect3DSurface9> from;
    ComHolder<IDirect3DSurface9> to;
    if (FAILED(source->GetSurfaceLevel(0, from.Out())) || FAILED(result->GetSurfaceLevel(0, to.Out())) ||
        FAILED(D3DXLoadSurfaceFromSurface(to.Get(), nullptr, nullptr, from.Get(), nullptr, nullptr,
                                          D3DX_FILTER_TRIANGLE, 0)))
        return ComHolder<IDirect3DTexture9>();
    return result;
}

ComHolder<ID3DXBuffer> SaveTextureToDdsMemory(IDirect3DTexture9* texture)
{
    ComHolder<ID3DXBuffer> file;
    if (!texture || FAILED(D3DXSaveTextureToFileInMemory(file.Out(), D3DXIFF_DDS, texture, nullptr)))
        return ComHolder<ID3DXBuffer>();
    return file;
}

D3DSURFACE_DESC GetBackBufferDesc()
{
    D3DSURFACE_DESC desc{};
    if (!CurrentDevice)
        return desc;
    ComHolder<IDirect3DSurface9> back;
    if (SUCCEEDED(CurrentDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.Out())) && back &&
        FAILED(back->GetDesc(&desc)))
        desc = D3DSURFACE_DESC{};
    return desc;
}
