// The flame layer: its record, the flame band over the picture's lower part,
// the heat haze drawn from the captured scene, and what happens without its
// effects and after a device reset.
#include "scene/layers/DS_FlameLight.h"

#include "foundation/render/SceneView.h"
#include "tests/support/BrushTestSupport.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tests/support/RenderTestSupport.h"
#include "tools/assets/ArtKit.h"
#include "tools/document/BrushRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const FileKey PictureKey{L"picture.png", 3};
constexpr int Side = 200;

class FlameLightTest : public LayerTest<Side, Side> {
protected:
    void SetUp() override
    {
        LayerTest<Side, Side>::SetUp();
        AddFirePictures(Device(), manager);
    }

    void ShowPicture(DS_FlameLight& layer, const Image& image)
    {
        picture = TextureOf(Device(), image);
        AddPicture(manager, PictureKey, picture.Get(), static_cast<UINT>(image.width),
                   static_cast<UINT>(image.height));
        ActivateLayer(layer, PictureKey, Side, Side, SceneView::Stretch);
    }

    ComHolder<IDirect3DTexture9> picture;
};

// Dark blue, or with stripes: dark and light columns eight pixels wide.
Image Picture(bool striped)
{
    Image image(Side, Side);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            uint8_t* p = image.Pixel(x, y);
            const bool light = striped && (x / 8) % 2 == 1;
            p[0] = light ? 230 : 10;
            p[1] = light ? 230 : 10;
            p[2] = light ? 230 : 40;
            p[3] = 255;
        }
    return image;
}

// The brightest pixel of each row.
std::vector<double> RowBrightness(const Pixels& pixels)
{
    std::vector<double> rows(static_cast<std::size_t>(pixels.Height()), 0.0);
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            rows[static_cast<std::size_t>(y)] = std::max(rows[static_cast<std::size_t>(y)], pixels.At(x, y).Brightness());
    return rows;
}

void Advance(DS_FlameLight& layer, float seconds)
{
    for (float t = 0.1f; t <= seconds + 1e-4f; t += 0.1f)
        layer.FrameMove(t);
}

} // namespace

// The layer of a document: fire off, distortion on, the haze's speed,
// strength and tiling, and the nested fire brush. Version 1 gives the fire's
// speed after the drop and two old links in place of the fire record.
TEST(FlameLightRecord, ReadsTheSwitchesTheHazeAndTheFire)
{
    FlameLightContent content;
    content.fireSwitch = 0;
    content.distortionSpeed = 16;
    content.strength = 3;
    content.fire.base.speed = 55;
    DS_FlameLight layer;
    EXPECT_EQ(0u, ReadRecordInto(FlameLightRecordBytes(content), layer));
    EXPECT_EQ(0, layer.fireSwitch.value);
    EXPECT_EQ(1, layer.distortionSwitch.value);
    EXPECT_EQ(0u, layer.flameDrop.value);
    EXPECT_EQ(62, layer.distortion.bumpImage.value.stamp);
    EXPECT_EQ(63, layer.distortion.effectLink.value.stamp);
    EXPECT_FLOAT_EQ(0.016f, layer.distortion.speed.result);
    EXPECT_FLOAT_EQ(0.006f, layer.distortion.strength.result);
    EXPECT_FLOAT_EQ(0.208f, layer.distortion.bumpScale.result);
    EXPECT_EQ(7, layer.fire.patternLink.value.stamp);
    EXPECT_FLOAT_EQ(1.1f, layer.fire.speed.result);

    FlameLightContent old;
    old.version = 1;
    old.fireSpeed = 70;
    old.flameDrop = 4;
    DS_FlameLight oldLayer;
    EXPECT_EQ(0u, ReadRecordInto(FlameLightRecordBytes(old), oldLayer));
    EXPECT_EQ(4u, oldLayer.flameDrop.value);
    EXPECT_FLOAT_EQ(1.4f, oldLayer.fire.speed.result);
    EXPECT_EQ(7, oldLayer.fire.patternLink.value.stamp);
    EXPECT_EQ(92, oldLayer.fire.effectLink.value.stamp);
}

// Flames rise from the picture's bottom and never above its lower 65 %; a
// drop of 20 lowers the band's top to 45 %.
TEST_F(FlameLightTest, FlameBandCoversTheLowerPartOfThePicture)
{
    for (const unsigned drop : {0u, 20u}) {
        SCOPED_TRACE(drop);
        DS_FlameLight layer;
        layer.distortionSwitch.value = 0;
        layer.flameDrop.value = drop;
        ShowPicture(layer, Picture(false));
        Advance(layer, 1.0f);
        const std::vector<double> rows = RowBrightness(DrawSlideFrame(device, layer));
        const int bandTop = static_cast<int>(Side * (drop == 0 ? 0.35 : 0.45));
        for (int y = 0; y < bandTop - 1; ++y)
            ASSERT_LT(rows[static_cast<std::size_t>(y)], 30.0) << "row " << y;
        EXPECT_GT(*std::max_element(rows.begin() + Side * 3 / 4, rows.end()), 150.0);
    }
}

// The haze's parameters after each step: "stenght" is the strength result
// times 0.05, "Offset" the haze clock and its negative, "bump_scale" the
// tiling and the picture's aspect times it: a 1024 × 768 picture gives
// {s, 0.75 s}, a square one {s, s}.
TEST_F(FlameLightTest, HazeParametersFollowStrengthClockAndAspect)
{
    const struct {
        UINT width, height;
        unsigned strength, bumpScale, speed;
        float stenght, scale, aspect;
    } cases[] = {
        {1024, 768, 3, 88, 16, 0.006f * 0.05f, 0.208f, 0.75f},
        {1024, 768, 25, 0, 50, 0.05f * 0.05f, 1.0f, 0.75f},
        {Side, Side, 500, 100, 16, 1.0f * 0.05f, 0.1f, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " strength " << c.strength);
        DS_FlameLight layer;
        layer.fireSwitch.value = 0;
        layer.distortion.strength.SetValue(c.strength, nullptr);
        layer.distortion.bumpScale.SetValue(c.bumpScale, nullptr);
        layer.distortion.speed.SetValue(c.speed, nullptr);
        picture = TextureOf(Device(), Picture(false));
        AddPicture(manager, PictureKey, picture.Get(), c.width, c.height);
        ActivateLayer(layer, PictureKey, Side, Side, SceneView::Stretch);
        ID3DXEffect* effect = layer.distortion.effect.Get();
        ASSERT_NE(nullptr, effect);
        const float factor = layer.distortion.speed.result;
        // The clock steps at most 0.2 s at a time, times the speed.
        const float previous = layer.distortion.speed.last;
        float last = previous;
        float clock = layer.distortion.speed.time;
        for (const float t : {previous + 0.1f, previous + 0.2f, previous + 0.5f}) {
            layer.FrameMove(t);
            clock += std::min(t - last, 0.2f) * factor;
            last = t;
            float stenght = 0.0f;
            float offset[2] = {};
            float scale[2] = {};
            ASSERT_TRUE(SUCCEEDED(effect->GetFloat("stenght", &stenght)));
            ASSERT_TRUE(SUCCEEDED(effect->GetFloatArray("Offset", offset, 2)));
            ASSERT_TRUE(SUCCEEDED(effect->GetFloatArray("bump_scale", scale, 2)));
            EXPECT_FLOAT_EQ(c.stenght, stenght);
            EXPECT_NEAR(clock, offset[0], 1e-5f) << t;
            EXPECT_NEAR(-clock, offset[1], 1e-5f) << t;
            EXPECT_NEAR(c.scale, scale[0], 1e-6f);
            EXPECT_NEAR(c.aspect * c.scale, scale[1], 1e-6f);
        }
    }
}

// The haze moves the captured scene: stripes come out shifted, by more the
// stronger it is, and not at all at strength 0.
TEST_F(FlameLightTest, HazeShiftsTheCapturedScene)
{
    const auto frame = [&](unsigned strength) {
        DS_FlameLight layer;
        layer.fireSwitch.value = 0;
        layer.distortion.strength.SetValue(strength, nullptr);
        ShowPicture(layer, Picture(true));
        EXPECT_TRUE(layer.NeedsSceneCapture());
        Advance(layer, 1.0f);
        return DrawSlideFrame(device, layer);
    };
    const Pixels plain = frame(0);
    EXPECT_TRUE(ColourNear(plain.At(12, 100), {230, 230, 230, 255}, 8));
    EXPECT_TRUE(ColourNear(plain.At(4, 100), {10, 10, 40, 255}, 8));
    const double weak = MeanDifference(plain, frame(3));
    const double strong = MeanDifference(plain, frame(25));
    EXPECT_GT(weak, 1.0);
    EXPECT_GT(strong, weak * 2);
}

// At strength 0 the haze redraws the captured scene texel for texel: the
// frame is the one the layer draws directly, without the haze, where a
// shift of half a pixel would show at every stripe's edge.
TEST_F(FlameLightTest, StillHazeRedrawsTheSceneTexelForTexel)
{
    DS_FlameLight direct;
    direct.fireSwitch.value = 0;
    direct.distortionSwitch.value = 2;
    ShowPicture(direct, Picture(true));
    const Pixels plain = DrawSlideFrame(device, direct);

    DS_FlameLight still;
    still.fireSwitch.value = 0;
    still.distortion.strength.SetValue(0, nullptr);
    ShowPicture(still, Picture(true));
    ASSERT_TRUE(still.NeedsSceneCapture());
    Advance(still, 1.0f);
    const Pixels hazed = DrawSlideFrame(device, still);
    int largest = 0;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            largest = std::max(largest, plain.At(x, y).ColourDistance(hazed.At(x, y)));
    EXPECT_LE(largest, 1);
}

// Techniques the device refuses (ValidateTechnique) are missing effects: a
// refused haze switches itself off as a missing one does, and a refused
// flame band leaves the fire without its effect; the picture shows.
TEST_F(FlameLightTest, RefusedTechniquesAreMissingEffects)
{
    AddEffectRecord(manager, FileKey{L"common_res.dll", 63}, EffectWithRefusedTechniques({"BumpmapDistortLow2"}, {}));
    AddEffectRecord(manager, FileKey{L"common_res.dll", 92}, EffectWithRefusedTechniques({"AsEffect"}, {"Main"}));
    DS_FlameLight layer;
    ShowPicture(layer, Picture(true));
    EXPECT_FALSE(layer.distortion.effect);
    EXPECT_EQ(0, layer.distortionSwitch.value);
    EXPECT_FALSE(layer.NeedsSceneCapture());
    EXPECT_FALSE(layer.fire.effect);
    const Pixels shown = DrawSlideFrame(device, layer);
    EXPECT_TRUE(ColourNear(shown.At(12, 100), {230, 230, 230, 255}, 8));
    EXPECT_TRUE(ColourNear(shown.At(4, 180), {10, 10, 40, 255}, 8));
}

// Without its effect the haze switches itself off: no capture, and the
// picture shows as the plain layer draws it. A switch value other than 1 is
// off in every respect.
TEST_F(FlameLightTest, WithoutTheHazeThePictureStillShows)
{
    DS_FlameLight missing;
    missing.fireSwitch.value = 0;
    missing.distortion.effectLink.value = FileKey{L"absent.dll", 999};
    ShowPicture(missing, Picture(true));
    EXPECT_EQ(0, missing.distortionSwitch.value);
    EXPECT_FALSE(missing.NeedsSceneCapture());
    const Pixels shown = DrawSlideFrame(device, missing);
    EXPECT_TRUE(ColourNear(shown.At(12, 100), {230, 230, 230, 255}, 8));
    EXPECT_TRUE(ColourNear(shown.At(4, 100), {10, 10, 40, 255}, 8));

    DS_FlameLight other;
    other.fireSwitch.value = 0;
    ShowPicture(other, Picture(true));
    other.distortionSwitch.value = 2;
    EXPECT_FALSE(other.NeedsSceneCapture());
    EXPECT_LT(MeanDifference(shown, DrawSlideFrame(device, other)), 0.5);
}

// After a device reset the haze's effect works again: the frame shows the
// shifted scene, not a black or unshifted one.
TEST_F(FlameLightTest, HazeWorksAfterADeviceReset)
{
    DS_FlameLight layer;
    layer.fireSwitch.value = 0;
    layer.distortion.strength.SetValue(25, nullptr);
    ShowPicture(layer, Picture(true));
    Advance(layer, 1.0f);
    const Pixels before = DrawSlideFrame(device, layer);

    layer.OnDeviceInvalidated();
    ASSERT_EQ(D3D_OK, device.Reset());
    layer.OnDeviceRestored();
    const Pixels after = DrawSlideFrame(device, layer);
    EXPECT_LT(MeanDifference(before, after), 1.0);
    EXPECT_GT(after.Mean(0, 0, Side, Side).Brightness(), 60.0);
}
