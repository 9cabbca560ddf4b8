#include "tests/scene/brushes/WaterBrushTestSupport.h"

#include "foundation/model/DS_ABObj.h"
#include "scene/brushes/DS_FX_Constructor.h"
#include "tests/support/BrushTestSupport.h"
#include "tools/assets/WaterBrushArt.h"

#include <algorithm>
#include <cmath>

namespace {

const FileKey PictureKey{L"picture.png", 3};
const FileKey RippleKey{L"common_res.dll", 89};

// Cells of 6 pixels in two colours, with a gradient across: no two nearby
// pixels a shift could swap look alike.
Image CheckedPicture()
{
    Image image(WaterSide, WaterSide);
    for (int y = 0; y < WaterSide; ++y)
        for (int x = 0; x < WaterSide; ++x) {
            const bool light = ((x / 6) + (y / 6)) % 2 == 0;
            uint8_t* p = image.Pixel(x, y);
            p[0] = static_cast<uint8_t>(light ? 200 : 30);
            p[1] = static_cast<uint8_t>(light ? 180 : 40 + x / 2);
            p[2] = static_cast<uint8_t>(light ? 120 : 60 + y / 2);
            p[3] = 255;
        }
    return image;
}

} // namespace

float ReadFloat(ID3DXEffect* effect, const char* name)
{
    float value = NAN;
    effect->GetFloat(name, &value);
    return value;
}

std::vector<float> ReadFloats(ID3DXEffect* effect, const char* name, UINT count)
{
    std::vector<float> values(count, NAN);
    effect->GetFloatArray(name, values.data(), count);
    return values;
}

void WaterBrushTest::SetUp()
{
    LayerTest<WaterSide, WaterSide>::SetUp();
    const Image ripples = DrawRippleBump(64);
    AddPicture(manager, RippleKey, TextureOf(Device(), ripples).Get(), 64, 64);
}

void WaterBrushTest::ShowPicture()
{
    picture = TextureOf(Device(), CheckedPicture());
    AddPicture(manager, PictureKey, picture.Get(), WaterSide, WaterSide);
    ActivateLayer(layer, PictureKey, WaterSide, WaterSide, SceneView::Stretch);
    plain = DrawSlideFrame(device, layer);
}

void WaterBrushTest::MaskLeftHalf(DS_FX_Constructor& brush)
{
    std::vector<uint8_t> alphas(WaterSide, 0);
    std::fill(alphas.begin(), alphas.begin() + WaterSide / 2, uint8_t{255});
    manager.GuidTexture(brush.maskIdentity) = AlphaTexture(Device(), WaterSide, 1, alphas).Get();
}

void WaterBrushTest::MaskNothing(DS_FX_Constructor& brush)
{
    manager.GuidTexture(brush.maskIdentity) = AlphaTexture(Device(), 1, 1, {0}).Get();
}

Pixels WaterBrushTest::UnmaskedFrame(DS_FX_Constructor& brush, float seconds)
{
    MaskNothing(brush);
    const Pixels frame = FrameAfter(brush, seconds);
    MaskLeftHalf(brush);
    return frame;
}

Pixels WaterBrushTest::FrameAfter(DS_FX_Constructor& brush, float seconds)
{
    const CountedPtr<DS_ABObj> object(brush.CreateObject());
    for (float t = 0.1f; t <= seconds + 1e-4f; t += 0.1f)
        object->Update(t);
    return DrawSlideFrame(device, layer, {object});
}

void WaterBrushTest::ExpectOnlyTheMaskedHalfMoves(DS_FX_Constructor& brush, float first, float second)
{
    ShowPicture();
    for (const int flag : {0, 1}) {
        SCOPED_TRACE(flag);
        brush.backgroundFlag.value = flag;
        const Pixels unmasked = UnmaskedFrame(brush, first);
        if (flag == 0) {
            EXPECT_LT(MeanDifference(plain, unmasked, 0, 0, WaterSide, WaterSide), 0.01);
        }
        MaskLeftHalf(brush);
        const Pixels early = FrameAfter(brush, first);
        const Pixels late = FrameAfter(brush, second);
        const int half = WaterSide / 2;
        // The mask's edge is filtered over a texel or two.
        EXPECT_LT(MeanDifference(unmasked, early, half + 3, 0, WaterSide, WaterSide), 0.01);
        EXPECT_LT(MeanDifference(unmasked, late, half + 3, 0, WaterSide, WaterSide), 0.01);
        EXPECT_GT(MeanDifference(unmasked, early, 0, 0, half - 3, WaterSide), 2.0);
        EXPECT_GT(MeanDifference(early, late, 0, 0, half - 3, WaterSide), 2.0);
    }
}

void WaterBrushTest::ApplyOnce(DS_FX_Constructor& brush)
{
    Device()->BeginScene();
    brush.Apply(layer);
    Device()->EndScene();
}
