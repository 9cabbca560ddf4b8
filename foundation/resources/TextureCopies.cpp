#include "foundation/resources/TextureCopies.h"

#include "foundation/core/CurrentDevice.h"

#include <d3dx9tex.h>

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
