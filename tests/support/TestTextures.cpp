#include "tests/support/TestTextures.h"

#include "tools/encoders/ImageWriters.h"

namespace {

const UINT SolidSide = 4;

} // namespace

ComHolder<IDirect3DTexture9> FilledTexture(IDirect3DDevice9* device, UINT width, UINT height, D3DFORMAT format,
                                           const TextureRowWriter& writeRow)
{
    ComHolder<IDirect3DTexture9> texture;
    if (FAILED(device->CreateTexture(width, height, 1, 0, format, D3DPOOL_MANAGED, texture.Out(), nullptr)))
        return ComHolder<IDirect3DTexture9>();
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(0, &locked, nullptr, 0)))
        return ComHolder<IDirect3DTexture9>();
    for (UINT y = 0; y < height; ++y)
        writeRow(static_cast<uint8_t*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch, y);
    texture->UnlockRect(0);
    return texture;
}

ComHolder<IDirect3DTexture9> ColourTexture(IDirect3DDevice9* device, UINT width, UINT height,
                                           const TexelColour& colour, D3DFORMAT format)
{
    return FilledTexture(device, width, height, format, [width, &colour](uint8_t* row, UINT y) {
        auto* texels = reinterpret_cast<D3DCOLOR*>(row);
        for (UINT x = 0; x < width; ++x)
            texels[x] = colour(x, y);
    });
}

ComHolder<IDirect3DTexture9> SolidTexture(IDirect3DDevice9* device, D3DCOLOR colour)
{
    return ColourTexture(device, SolidSide, SolidSide, [colour](UINT, UINT) { return colour; });
}

ComHolder<IDirect3DTexture9> TextureOf(IDirect3DDevice9* device, const Image& image)
{
    return ColourTexture(device, static_cast<UINT>(image.width), static_cast<UINT>(image.height),
                         [&image](UINT x, UINT y) {
                             const uint8_t* p = image.Pixel(static_cast<int>(x), static_cast<int>(y));
                             return D3DCOLOR_ARGB(p[3], p[0], p[1], p[2]);
                         });
}
