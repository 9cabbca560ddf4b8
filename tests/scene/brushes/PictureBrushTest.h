// The fixture of the tests of the brushes that paint over, copy or move the
// picture: a 64 × 64 back buffer showing a picture stretched over it, masks
// by rows, and effect parameters read back.
#pragma once

#include "scene/brushes/DS_FX_Constructor.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/BrushTestSupport.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/RenderTestSupport.h"

#include <cmath>
#include <vector>

class PictureBrushTest : public LayerTest<64, 64> {
protected:
    static constexpr int Side = 64;

    // The layer over a picture of the given size, stretched over the back
    // buffer.
    void ShowPicture(IDirect3DTexture9* texture, UINT width = Side, UINT height = Side)
    {
        picture = texture;
        AddPicture(manager, FileKey{L"picture.png", 3}, picture.Get(), width, height);
        ActivateLayer(layer, FileKey{L"picture.png", 3}, Side, Side, SceneView::Stretch);
    }

    // The brush's mask: opaque over the back buffer's rows [top, bottom),
    // clear elsewhere.
    void MaskRows(DS_FX_Constructor& brush, int top, int bottom)
    {
        std::vector<uint8_t> rows(Side, 0);
        for (int row = top; row < bottom; ++row)
            rows[row] = 255;
        manager.GuidTexture(brush.maskIdentity) = AlphaTexture(Device(), 1, Side, rows).Get();
    }

    // The brush drawn alone over the picture, its parameters set.
    Pixels DrawBrush(DS_FX_Constructor& brush) { return DrawSlideFrame(device, layer, {Object(brush)}); }

    CountedPtr<DS_ABObj> Object(DS_FX_Constructor& brush) { return CountedPtr<DS_ABObj>(brush.CreateObject()); }

    // The cell picture's colour at the fractions (u, v).
    static Rgba CellOf(double u, double v)
    {
        return CellColour(static_cast<int>(u * CellsPerSide), static_cast<int>(v * CellsPerSide));
    }

    DS_2D_Light layer;
    ComHolder<IDirect3DTexture9> picture;
};

// count floats of the effect's parameter; NaN where it has none.
inline std::vector<float> EffectFloats(ID3DXEffect* effect, const char* name, UINT count)
{
    std::vector<float> values(count, NAN);
    effect->GetFloatArray(name, values.data(), count);
    return values;
}
