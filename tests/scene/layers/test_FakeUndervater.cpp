// The underwater layer: its record with the nested brush (or the old speed
// alone), and the captured scene, objects included, drawn through the
// brush's wobble on every frame, without its effect and after a device
// reset.
#include "scene/layers/FakeUndervater.h"

#include "foundation/render/SceneView.h"
#include "scene/brushes/DS_LightFX.h"
#include "tests/support/BrushTestSupport.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tests/support/RenderTestSupport.h"
#include "tools/document/WaterBrushRecords.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const FileKey PictureKey{L"picture.png", 3};
constexpr int Side = 128;

class UnderwaterLayerTest : public LayerTest<Side, Side> {
protected:
    void Show(DS_2D_Light& layer)
    {
        if (!picture)
            picture = TextureOf(Device(), Checks());
        AddPicture(manager, PictureKey, picture.Get(), Side, Side);
        ActivateLayer(layer, PictureKey, Side, Side, SceneView::Stretch);
    }

    // A light brush over the whole picture at its peak, drawn over the
    // picture or reading the scene drawn before it.
    CountedPtr<DS_ABObj> LampAtItsPeak(int backgroundFlag)
    {
        DS_LightFX light;
        light.backgroundFlag.value = backgroundFlag;
        CountedPtr<DS_ABObj> lamp(light.CreateObject());
        lamp->Update(0.1f);
        lamp->Update(0.2f);
        return lamp;
    }

    ComHolder<IDirect3DTexture9> picture;

private:
    // Cells of 8 pixels in two colours.
    static Image Checks()
    {
        Image image(Side, Side);
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x) {
                const bool light = ((x / 8) + (y / 8)) % 2 == 0;
                uint8_t* p = image.Pixel(x, y);
                p[0] = light ? 190 : 20;
                p[1] = light ? 170 : 50;
                p[2] = light ? 110 : 90;
                p[3] = 255;
            }
        return image;
    }
};

// The largest difference of any colour channel of any pixel.
int LargestDifference(const Pixels& a, const Pixels& b)
{
    int largest = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            largest = std::max(largest, a.At(x, y).ColourDistance(b.At(x, y)));
    return largest;
}

// Stripes of 3 pixels in two colours, across x (vertical stripes) or y.
Image Stripes(int width, int height, bool acrossX)
{
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool light = ((acrossX ? x : y) / 3) % 2 == 0;
            uint8_t* p = image.Pixel(x, y);
            p[0] = light ? 230 : 10;
            p[1] = light ? 200 : 40;
            p[2] = light ? 120 : 90;
            p[3] = 255;
        }
    return image;
}

void Advance(DS_2D_Light& layer, float from, float to)
{
    for (float t = from; t <= to + 1e-4f; t += 0.1f)
        layer.FrameMove(t);
}

} // namespace

// Version 2 nests the whole brush record; version 1 holds the brush's speed
// alone, which is halved; either way the base record follows.
TEST(UnderwaterLayerRecord, ReadsTheBrushOrItsSpeed)
{
    UnderwaterLayerContent content;
    content.water.amplitude = 80;
    content.water.wavelength = 20;
    content.water.base.speed = 30;
    content.base.pictureStamp = 12;
    FakeUndervater layer;
    EXPECT_EQ(0u, ReadRecordInto(UnderwaterLayerRecordBytes(content), layer));
    EXPECT_FLOAT_EQ(0.01f, layer.water.amplitude.result);
    EXPECT_FLOAT_EQ(0.041f, layer.water.wavelength.result);
    EXPECT_FLOAT_EQ(30.0f, layer.water.speed.result);
    EXPECT_EQ(12, layer.pictureLink.value.stamp);

    for (const auto& [stored, kept] : {std::pair<uint32_t, float>{51, 25.0f}, {0, 0.0f}, {1, 0.0f}}) {
        SCOPED_TRACE(stored);
        UnderwaterLayerContent old;
        old.version = 1;
        old.speed = stored;
        FakeUndervater oldLayer;
        EXPECT_EQ(0u, ReadRecordInto(UnderwaterLayerRecordBytes(old), oldLayer));
        EXPECT_FLOAT_EQ(kept, oldLayer.water.speed.result);
        EXPECT_FLOAT_EQ(0.00625f, oldLayer.water.amplitude.result);
    }
}

// The scene reaches the screen only through the brush: without any wobble
// it arrives as the plain layer draws it, with the defaults it wobbles, and
// differently from one moment to the next.
TEST_F(UnderwaterLayerTest, TheCapturedSceneWobbles)
{
    DS_2D_Light plainLayer;
    Show(plainLayer);
    const Pixels plain = DrawSlideFrame(device, plainLayer);

    FakeUndervater still;
    still.water.amplitude.SetValue(0, nullptr);
    Show(still);
    EXPECT_TRUE(still.NeedsSceneCapture());
    Advance(still, 0.1f, 1.0f);
    EXPECT_LE(LargestDifference(plain, DrawSlideFrame(device, still)), 1);

    FakeUndervater layer;
    layer.water.amplitude.SetValue(400, nullptr);
    Show(layer);
    Advance(layer, 0.1f, 1.0f);
    const Pixels first = DrawSlideFrame(device, layer);
    Advance(layer, 1.1f, 1.5f);
    const Pixels second = DrawSlideFrame(device, layer);
    EXPECT_GT(MeanDifference(plain, first), 10.0);
    EXPECT_GT(MeanDifference(first, second), 10.0);
}

// The slide's objects are part of the captured scene, whether they draw
// over it or read it: still water shows them as the plain layer does.
TEST_F(UnderwaterLayerTest, ObjectsAreDrawnIntoTheScene)
{
    for (const int flag : {0, 1}) {
        SCOPED_TRACE(flag);
        DS_2D_Light plainLayer;
        Show(plainLayer);
        const Pixels picture = DrawSlideFrame(device, plainLayer);
        const Pixels lit = DrawSlideFrame(device, plainLayer, {LampAtItsPeak(flag)});
        ASSERT_GT(lit.Mean(0, 0, Side, Side).Brightness(), picture.Mean(0, 0, Side, Side).Brightness() + 20);

        FakeUndervater layer;
        layer.water.amplitude.SetValue(0, nullptr);
        Show(layer);
        Advance(layer, 0.1f, 0.5f);
        EXPECT_LE(LargestDifference(lit, DrawSlideFrame(device, layer, {LampAtItsPeak(flag)})), 1);
    }
}

// Without its effect the layer still shows the scene as it was drawn, not
// a black or stale back buffer.
TEST_F(UnderwaterLayerTest, WithoutItsEffectTheSceneStillShows)
{
    DS_2D_Light plainLayer;
    Show(plainLayer);
    const Pixels plain = DrawSlideFrame(device, plainLayer);

    FakeUndervater layer;
    layer.water.effectLink.value = FileKey{L"absent.dll", 999};
    Show(layer);
    ASSERT_FALSE(layer.water.effect);
    Advance(layer, 0.1f, 0.5f);
    EXPECT_LE(LargestDifference(plain, DrawSlideFrame(device, layer)), 1);

    // What the layer's other draws find: no capture bound, the layer's own
    // addressing.
    DWORD address = 0;
    IDirect3DBaseTexture9* bound = nullptr;
    Device()->GetTexture(0, &bound);
    EXPECT_EQ(nullptr, bound);
    if (bound)
        bound->Release();
    Device()->GetSamplerState(0, D3DSAMP_ADDRESSU, &address);
    EXPECT_EQ(static_cast<DWORD>(D3DTADDRESS_MIRROR), address);
}

// The captured scene comes back texel for texel: still water, with its
// effect and without, shows exactly what the plain layer draws directly, in
// every picture position. The stripes run across the axis that both ways
// draw at one texel per pixel (the other axis, which the capture stretches
// and the redraw squeezes back, holds one colour), so that a shift of half
// a pixel along it shows at every stripe's edge.
TEST_F(UnderwaterLayerTest, StillWaterRedrawsTheSceneTexelForTexel)
{
    const struct {
        int mode;
        int width, height;
        bool acrossX;
    } cases[] = {
        {SceneView::Stretch, Side, Side, true},   {SceneView::Stretch, Side, Side, false},
        {SceneView::Fit, Side, Side / 2, true},   {SceneView::Fit, Side / 2, Side, false},
        {SceneView::Fill, Side, Side / 2, false}, {SceneView::Fill, Side / 2, Side, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.width << " x " << c.height);
        picture = TextureOf(Device(), Stripes(c.width, c.height, c.acrossX));
        AddPicture(manager, PictureKey, picture.Get(), c.width, c.height);
        DS_2D_Light plainLayer;
        ActivateLayer(plainLayer, PictureKey, Side, Side, c.mode);
        const Pixels plain = DrawSlideFrame(device, plainLayer);
        for (const bool withEffect : {true, false}) {
            SCOPED_TRACE(withEffect ? "still water" : "no effect");
            FakeUndervater layer;
            layer.water.amplitude.SetValue(0, nullptr);
            if (!withEffect)
                layer.water.effectLink.value = FileKey{L"absent.dll", 999};
            ActivateLayer(layer, PictureKey, Side, Side, c.mode);
            ASSERT_EQ(withEffect, static_cast<bool>(layer.water.effect));
            Advance(layer, 0.1f, 0.5f);
            EXPECT_LE(LargestDifference(plain, DrawSlideFrame(device, layer)), 1);
        }
    }
}

// After a device reset the layer captures and wobbles again: the frame
// matches the one before the reset at the same brush time.
TEST_F(UnderwaterLayerTest, WobblesAfterADeviceReset)
{
    FakeUndervater layer;
    Show(layer);
    Advance(layer, 0.1f, 1.0f);
    const Pixels before = DrawSlideFrame(device, layer);

    layer.OnDeviceInvalidated();
    ASSERT_EQ(D3D_OK, device.Reset());
    layer.OnDeviceRestored();
    const Pixels after = DrawSlideFrame(device, layer);
    EXPECT_LT(MeanDifference(before, after), 0.5);
    EXPECT_GT(after.Mean(0, 0, Side, Side).Brightness(), 60.0);
}
