#include "foundation/resources/TextureLoaders.h"

#include "foundation/render/CurrentDevice.h"
#include "foundation/resources/ResourceModule.h"

namespace {

// What a D3DX texture creation gave: its failure code with no texture left
// behind, E_FAIL when it succeeded without a texture, else S_OK with the
// image information passed on (info is untouched on failure).
HRESULT TakeLoadResult(HRESULT hr, ComHolder<IDirect3DTexture9>& texture, const D3DXIMAGE_INFO& loaded,
                       D3DXIMAGE_INFO& info)
{
    if (FAILED(hr)) {
        texture.Release();
        return hr;
    }
    if (!texture)
        return E_FAIL;
    info = loaded;
    return S_OK;
}

// One level, scaled into the power-of-two texture with a triangle filter:
// the form of every picture that is drawn stretched over a quad.
HRESULT CreateFilteredTexture(const void* data, UINT size, ComHolder<IDirect3DTexture9>& texture,
                              D3DXIMAGE_INFO& info)
{
    texture.Release();
    if (!CurrentDevice || !data || size == 0)
        return E_FAIL;
    D3DXIMAGE_INFO loaded{};
    const HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(
        CurrentDevice, data, size, D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
        D3DX_FILTER_TRIANGLE, D3DX_FILTER_NONE, 0, &loaded, nullptr, texture.Out());
    return TakeLoadResult(hr, texture, loaded, info);
}

} // namespace

HRESULT LoadResourceTexture(int32_t number, bool fullChain, ComHolder<IDirect3DTexture9>& texture)
{
    texture.Release();
    const ResourceBytes bytes = FindResourceBytes(nullptr, number, PictureResourceType);
    if (!bytes || !CurrentDevice)
        return E_FAIL;
    // Unscaled: these pictures are made to the size they are drawn at.
    const HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(
        CurrentDevice, bytes.data, bytes.size, D3DX_DEFAULT, D3DX_DEFAULT, fullChain ? D3DX_DEFAULT : 1, 0,
        D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_NONE, fullChain ? D3DX_DEFAULT : D3DX_FILTER_NONE, 0,
        nullptr, nullptr, texture.Out());
    if (FAILED(hr)) {
        texture.Release();
        return hr;
    }
    return texture ? S_OK : E_FAIL;
}

HRESULT LoadModuleTexture(HMODULE module, int32_t number, ComHolder<IDirect3DTexture9>& texture,
                          D3DXIMAGE_INFO& info)
{
    texture.Release();
    const ResourceBytes bytes = FindResourceBytes(module, number, PictureResourceType);
    if (!bytes)
        return E_FAIL;
    return CreateFilteredTexture(bytes.data, bytes.size, texture, info);
}

HRESULT LoadTextureFromMemory(const uint8_t* bytes, int32_t size, ComHolder<IDirect3DTexture9>& texture,
                              D3DXIMAGE_INFO& info)
{
    if (size <= 0) {
        texture.Release();
        return E_FAIL;
    }
    return CreateFilteredTexture(bytes, static_cast<UINT>(size), texture, info);
}

SizedTexture CreateSizedTextureFromMemory(const uint8_t* bytes, int32_t size)
{
    SizedTexture sized;
    ComHolder<IDirect3DTexture9> texture;
    D3DXIMAGE_INFO info{};
    if (SUCCEEDED(LoadTextureFromMemory(bytes, size, texture, info)))
        AssignSizedTexture(sized, texture.Get(), info);
    return sized;
}

HRESULT LoadTextureFromFile(const ds_string& path, ComHolder<IDirect3DTexture9>& texture, D3DXIMAGE_INFO& info)
{
    texture.Release();
    if (!CurrentDevice || path.empty())
        return E_FAIL;
    D3DXIMAGE_INFO loaded{};
    const HRESULT hr = D3DXCreateTextureFromFileExW(CurrentDevice, path.c_str(), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0,
                                                    D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_TRIANGLE,
                                                    D3DX_FILTER_NONE, 0, &loaded, nullptr, texture.Out());
    return TakeLoadResult(hr, texture, loaded, info);
}
