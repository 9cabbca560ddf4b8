#include "tests/support/BrushTestSupport.h"

#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/TestDevice.h"
#include "tools/assets/FireArt.h"

#include <cstring>

Pixels DrawSlideFrame(TestDevice& device, DS_2D_Light& layer, const std::vector<CountedPtr<DS_ABObj>>& objects)
{
    int readers = layer.NeedsSceneCapture() ? 1 : 0;
    for (const CountedPtr<DS_ABObj>& object : objects)
        readers += object->NeedsBackground() && object->WillDraw(layer) ? 1 : 0;
    IDirect3DDevice9* d = device.Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    d->BeginScene();
    if (readers > 0)
        layer.BeginSceneCapture();
    layer.DrawBackground(false);
    DS_2D_Light::RenderObjects(layer, objects, readers);
    layer.FinishFrame();
    d->EndScene();
    return device.ReadBackBuffer();
}

ComHolder<IDirect3DTexture9> TextureOf(IDirect3DDevice9* device, const Image& image)
{
    ComHolder<IDirect3DTexture9> texture;
    if (FAILED(device->CreateTexture(static_cast<UINT>(image.width), static_cast<UINT>(image.height), 1, 0,
                                     D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Out(), nullptr)))
        return texture;
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(0, &locked, nullptr, 0)))
        return texture;
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            row[x] = D3DCOLOR_ARGB(p[3], p[0], p[1], p[2]);
        }
    }
    texture->UnlockRect(0);
    return texture;
}

ComHolder<IDirect3DTexture9> AlphaTexture(IDirect3DDevice9* device, UINT columns, UINT rows,
                                          const std::vector<uint8_t>& alphas)
{
    ComHolder<IDirect3DTexture9> texture;
    if (FAILED(device->CreateTexture(columns, rows, 1, 0, D3DFMT_A8, D3DPOOL_MANAGED, texture.Out(), nullptr)))
        return texture;
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(0, &locked, nullptr, 0)))
        return texture;
    for (UINT y = 0; y < rows; ++y)
        std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, alphas.data() + y * columns, columns);
    texture->UnlockRect(0);
    return texture;
}

void AddFirePictures(IDirect3DDevice9* device, DS_DocResManager& manager)
{
    const struct {
        int64_t number;
        Image image;
    } pictures[] = {{7, DrawFlameStreaks(128, 7)},
                    {93, DrawFlameStreaks(128, 93)},
                    {8, DrawFireNoise(128)},
                    {62, DrawHeatHazeBump(128)}};
    for (const auto& picture : pictures)
        AddPicture(manager, FileKey{L"common_res.dll", picture.number}, TextureOf(device, picture.image).Get(),
                   static_cast<UINT>(picture.image.width), static_cast<UINT>(picture.image.height));
}
