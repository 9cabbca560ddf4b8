// The light brush: its record, the multiplier of each mode over the brush
// time, and the light it sheds through its mask.
#include "scene/brushes/DS_LightFX.h"

#include "foundation/core/Numeric.h"
#include "tests/support/BrushTestSupport.h"
#include "tests/scene/brushes/WaterBrushTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tools/document/WaterBrushRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using LightTest = WaterBrushTest;

// The multiplier the brush hands its effect once its clock shows T (the
// speed set so that one second of updates makes one unit per speed step).
float MultiplierAt(DS_LightFX& light, DS_2D_Light& layer, float T)
{
    light.speed.SetValue(static_cast<unsigned>(T * 5), nullptr);
    light.speed.time = 0;
    light.speed.last = 0;
    RunFor(light, 0.2f);
    IDirect3DDevice9* device = CurrentDevice;
    device->BeginScene();
    light.Apply(layer);
    device->EndScene();
    return ReadFloat(light.effect.Get(), "multiplier");
}

} // namespace

TEST(LightRecord, ReadsStrengthAndMode)
{
    LightBrushContent content;
    content.strength = 65;
    content.mode = 2;
    content.base.speed = 12;
    DS_LightFX light;
    EXPECT_EQ(0u, ReadRecordInto(LightBrushRecordBytes(content), light));
    EXPECT_FLOAT_EQ(0.65f, light.strength.result);
    EXPECT_EQ(2, light.mode.value);
    EXPECT_FLOAT_EQ(12.0f, light.speed.result);
    EXPECT_EQ(76, light.effectLink.value.stamp);

    const std::unique_ptr<DS_LightFX> clone(static_cast<DS_LightFX*>(light.Clone()));
    EXPECT_FLOAT_EQ(0.65f, clone->strength.result);
    EXPECT_EQ(2, clone->mode.value);
}

// Smooth: half the strength at T = 0, following sin(0.2 T); modes below 0
// pulse the same way. Blink: the whole strength while the sine is positive,
// nothing otherwise (0 at exactly one half). Flicker, for every mode from 2:
// two octaves of noise at 10 T / 75.
TEST_F(LightTest, MultiplierOfEachMode)
{
    ShowPicture();
    DS_LightFX light;
    light.BindResources(nullptr);
    ASSERT_TRUE(light.effect);
    const float strength = 0.4f;
    const auto smooth = [&](float T) { return strength * (std::sin(0.2f * T) + 1.0f) * 0.5f; };
    const auto flicker = [&](float T) {
        return strength * (static_cast<float>(FractalNoise1D(10.0 * T, 75.0, 0.5, 2)) + 1.0f) * 0.5f;
    };
    struct Case {
        int mode;
        float T;
        float expected;
    };
    const Case cases[] = {
        {0, 0, strength * 0.5f},  {0, 5, smooth(5)},  {-3, 5, smooth(5)}, {-3, 0, strength * 0.5f},
        {1, 5, strength},         {1, 20, 0.0f},      {1, 0, 0.0f},       {2, 7, flicker(7)},
        {5, 7, flicker(7)},       {5, 33, flicker(33)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " T " << c.T);
        light.mode.value = c.mode;
        EXPECT_NEAR(c.expected, MultiplierAt(light, layer, c.T), 1e-6f);
    }
    EXPECT_NE(flicker(7), flicker(33));
}

// Under the mask the picture brightens when the light is up and is left as
// it was when the light is out; outside the mask nothing changes. Both
// techniques.
TEST_F(LightTest, TheMaskedAreaBrightensAndDims)
{
    ShowPicture();
    DS_LightFX light;
    const int half = WaterSide / 2;
    for (const int flag : {0, 1}) {
        SCOPED_TRACE(flag);
        light.backgroundFlag.value = flag;
        // At 40 units a second the sine peaks near 0.2 s and bottoms out
        // near 0.6 s.
        const Pixels unmasked = UnmaskedFrame(light, 0.2f);
        const Pixels up = FrameAfter(light, 0.2f);
        const Pixels out = FrameAfter(light, 0.6f);
        EXPECT_GT(up.Mean(0, 0, half - 2, WaterSide).Brightness(),
                  unmasked.Mean(0, 0, half - 2, WaterSide).Brightness() + 30);
        EXPECT_LT(MeanDifference(unmasked, out, 0, 0, half - 2, WaterSide), 1.0);
        EXPECT_LT(MeanDifference(unmasked, up, half + 2, 0, WaterSide, WaterSide), 0.01);
    }
}
