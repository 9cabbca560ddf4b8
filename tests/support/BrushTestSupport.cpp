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

ComHolder<IDirect3DTexture9> AlphaTexture(IDirect3DDevice9* device, UINT columns, UINT rows,
                                          const std::vector<uint8_t>& alphas)
{
    return FilledTexture(device, columns, rows, D3DFMT_A8, [columns, &alphas](uint8_t* row, UINT y) {
        std::memcpy(row, alphas.data() + static_cast<std::size_t>(y) * columns, columns);
    });
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
