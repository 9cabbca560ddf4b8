#include "foundation/resources/TextureLoaders.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/ResourceModule.h"

#include <cstdint>
#include <cstring>

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

// Bits per pixel of the uncompressed formats a DDS file may hold; 0 for the
// rest.
uint32_t BitsPerPixel(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8:
    case D3DFMT_X8B8G8R8:
    case D3DFMT_A2R10G10B10:
    case D3DFMT_A2B10G10R10:
    case D3DFMT_G16R16:
    case D3DFMT_V16U16:
    case D3DFMT_Q8W8V8U8:
    case D3DFMT_R32F:
    case D3DFMT_G16R16F:
    case D3DFMT_X8L8V8U8:
    case D3DFMT_A2W10V10U10:
        return 32;
    case D3DFMT_R8G8B8:
        return 24;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_A8R3G3B2:
    case D3DFMT_A8L8:
    case D3DFMT_A8P8:
    case D3DFMT_V8U8:
    case D3DFMT_L6V5U5:
    case D3DFMT_L16:
    case D3DFMT_R16F:
        return 16;
    case D3DFMT_A8:
    case D3DFMT_L8:
    case D3DFMT_P8:
    case D3DFMT_R3G3B2:
    case D3DFMT_A4L4:
        return 8;
    case D3DFMT_A16B16G16R16:
    case D3DFMT_Q16W16V16U16:
    case D3DFMT_A16B16G16R16F:
    case D3DFMT_G32R32F:
        return 64;
    case D3DFMT_A32B32G32R32F:
        return 128;
    default:
        return 0;
    }
}

// Bytes of the first level (all its slices) of a DDS file of that
// description; 0 when the format's size is not known here.
uint64_t FirstLevelBytes(const D3DXIMAGE_INFO& info)
{
    const uint64_t width = info.Width;
    const uint64_t height = info.Height;
    const uint64_t depth = info.Depth > 0 ? info.Depth : 1;
    uint64_t blockBytes = 0;
    switch (info.Format) {
    case D3DFMT_DXT1:
        blockBytes = 8;
        break;
    case D3DFMT_DXT2:
    case D3DFMT_DXT3:
    case D3DFMT_DXT4:
    case D3DFMT_DXT5:
        blockBytes = 16;
        break;
    default:
        break;
    }
    if (blockBytes)
        return ((width + 3) / 4) * ((height + 3) / 4) * blockBytes * depth;
    const uint64_t bits = BitsPerPixel(info.Format);
    return (width * bits + 7) / 8 * height * depth;
}

// A DDS file: its tag, its 124-byte header, and a further 20-byte header
// when its pixel format says 'DX10'.
uint64_t DdsHeaderBytes(const uint8_t* bytes, UINT size)
{
    constexpr UINT FourCcAt = 84;
    if (size >= FourCcAt + 4 && std::memcmp(bytes + FourCcAt, "DX10", 4) == 0)
        return 148;
    return 128;
}

// The header of a picture gives a size that the device can hold and, for a
// DDS file, that its bytes can hold: the scaling filter reads the picture as
// its header describes it.
bool PictureFitsDevice(const void* data, UINT size)
{
    D3DXIMAGE_INFO info{};
    if (FAILED(D3DXGetImageInfoFromFileInMemory(data, size, &info)))
        return false;
    D3DCAPS9 caps{};
    if (FAILED(CurrentDevice->GetDeviceCaps(&caps)))
        return false;
    if (info.Width == 0 || info.Height == 0 || info.Width > caps.MaxTextureWidth ||
        info.Height > caps.MaxTextureHeight)
        return false;
    if (info.ImageFileFormat != D3DXIFF_DDS)
        return true;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    return DdsHeaderBytes(bytes, size) + FirstLevelBytes(info) <= size;
}

// One level, scaled into the power-of-two texture with a triangle filter:
// the form of every picture that is drawn stretched over a quad.
HRESULT CreateFilteredTexture(const void* data, UINT size, ComHolder<IDirect3DTexture9>& texture,
                              D3DXIMAGE_INFO& info)
{
    texture.Release();
    if (!CurrentDevice || !data || size == 0)
        return E_FAIL;
    if (!PictureFitsDevice(data, size))
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
