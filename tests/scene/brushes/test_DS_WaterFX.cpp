// The water brush: its record and clone, the parameters it hands the water
// effect, the wave profile kept finite for every shape, and the water it
// draws through its mask.
#include "scene/brushes/DS_WaterFX.h"

#include "scene/brushes/DS_BrushObj.h"
#include "tests/support/BrushTestSupport.h"
#include "tests/scene/brushes/WaterBrushTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tools/document/WaterBrushRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using WaterTest = WaterBrushTest;

constexpr double Degree = 3.14159265358979323846 / 180;

// The first water brush of a typical document.
WaterContent DocumentWater()
{
    WaterContent water;
    water.shape = 100;
    water.ripple = 6;
    water.drift = 12;
    water.wave = 26;
    water.angle = 226;
    water.base.speed = 73;
    water.base.scale = 41;
    return water;
}

DS_WaterFX* CloneOf(const DS_WaterFX& water) { return static_cast<DS_WaterFX*>(water.Clone()); }

// "P2"'s middle value as the formula gives it, NaN or infinite where it
// breaks down.
float FormulaHeight(float w1)
{
    const float k = 2.0f / w1 - 1.0f;
    const float root = std::sqrt(k);
    return (root + k) / (k - 1.0f);
}

} // namespace

// The record stores the values (their results follow) and the angle as it
// stands: the brush read keeps the default direction, its clone turns to the
// angle read.
TEST(WaterRecord, ReadsTheFieldsAndTheCloneFollowsTheAngle)
{
    DS_WaterFX water;
    EXPECT_EQ(0u, ReadRecordInto(WaterRecordBytes(DocumentWater()), water));
    EXPECT_FLOAT_EQ(0.01f, water.shape.result);
    EXPECT_FLOAT_EQ(0.006f, water.ripple.result);
    EXPECT_FLOAT_EQ(0.003f, water.drift.result);
    EXPECT_FLOAT_EQ(0.014f, water.wave.result);
    EXPECT_EQ(226u, water.angle.value);
    EXPECT_EQ(0x00FFFFFFul, water.colour.value);
    EXPECT_EQ(89, water.bumpLink.value.stamp);
    EXPECT_EQ(90, water.effectLink.value.stamp);
    EXPECT_FLOAT_EQ(1.46f, water.speed.result);
    EXPECT_FLOAT_EQ(0.82f, water.scale.result);
    EXPECT_NEAR(std::cos(40.0 * Degree), water.direction[0], 1e-6);
    EXPECT_NEAR(std::sin(40.0 * Degree), water.direction[1], 1e-6);

    const std::unique_ptr<DS_WaterFX> clone(CloneOf(water));
    EXPECT_FLOAT_EQ(0.006f, clone->ripple.result);
    EXPECT_EQ(water.bumpLink.value.stamp, clone->bumpLink.value.stamp);
    EXPECT_NEAR(std::cos(226.0 * Degree), clone->direction[0], 1e-6);
    EXPECT_NEAR(std::sin(226.0 * Degree), clone->direction[1], 1e-6);
}

// The direction is (cos a, sin a) of the angle in degrees, taken in single
// precision (so 90 degrees leaves a tiny negative cosine), beyond 360 as
// well; an angle set through the parameter turns it at once, in a clone too.
TEST(WaterDirection, FollowsTheAngle)
{
    struct Case {
        unsigned angle;
        float x, y;
    };
    for (const Case& c : {Case{0, 1.0f, 0.0f}, Case{90, -4.371139e-8f, 1.0f}, Case{400, 0.76604444f, 0.64278761f}}) {
        SCOPED_TRACE(c.angle);
        DS_WaterFX water;
        water.angle.SetValue(c.angle, nullptr);
        EXPECT_NEAR(c.x, water.direction[0], 1e-7);
        EXPECT_NEAR(c.y, water.direction[1], 1e-7);
        EXPECT_EQ(0.0f, water.direction[2]);
        EXPECT_EQ(0.0f, water.direction[3]);
    }
    DS_WaterFX water;
    const std::unique_ptr<DS_WaterFX> clone(CloneOf(water));
    clone->angle.SetValue(180, nullptr);
    EXPECT_NEAR(-1.0f, clone->direction[0], 1e-6);
    EXPECT_NEAR(std::cos(40.0 * Degree), water.direction[0], 1e-6);
}

// The default brush hands the effect its worked values; "Time" is twice the
// brush time and the bump transform turns 4.5 radians per unit of it, scaled
// by the ripple.
TEST_F(WaterTest, ParametersOfTheDefaultBrush)
{
    ShowPicture();
    DS_WaterFX water;
    water.BindResources(nullptr);
    ASSERT_TRUE(water.effect);
    ASSERT_TRUE(water.bumpTexture);
    RunFor(water, 1.0f);
    ApplyOnce(water);
    ID3DXEffect* e = water.effect.Get();

    const std::vector<float> p1 = ReadFloats(e, "P1", 3);
    EXPECT_FLOAT_EQ(-0.998f, p1[0]);
    EXPECT_FLOAT_EQ(-1.0f, p1[1]);
    EXPECT_FLOAT_EQ(-0.998f, p1[2]);
    const std::vector<float> p2 = ReadFloats(e, "P2", 3);
    EXPECT_FLOAT_EQ(1.0f, p2[0]);
    EXPECT_FLOAT_EQ(1.0326723f, p2[1]);
    EXPECT_FLOAT_EQ(1.0f, p2[2]);
    const std::vector<float> d1 = ReadFloats(e, "Direction1", 2);
    EXPECT_NEAR(-34.82f, d1[0], 0.005f);
    EXPECT_NEAR(-29.22f, d1[1], 0.005f);
    const std::vector<float> d2 = ReadFloats(e, "Direction2", 2);
    EXPECT_NEAR(-0.001915f, d2[0], 1e-6f);
    EXPECT_NEAR(-0.001607f, d2[1], 1e-6f);
    EXPECT_EQ((std::vector<float>{0.4472136f, 0.8944272f, 0.0f}), ReadFloats(e, "Vhalf", 3));
    EXPECT_EQ((std::vector<float>{1, 1, 1}), ReadFloats(e, "Color", 3));
    EXPECT_EQ(0.0f, ReadFloat(e, "Shadows"));
    EXPECT_FLOAT_EQ(2.0f, ReadFloat(e, "Time"));

    const float r = 0.02f;
    const float c = std::cos(4.5f), s = std::sin(4.5f);
    const std::vector<float> turn = ReadFloats(e, "BampTrans", 4);
    EXPECT_NEAR(r * c, turn[0], 1e-6f);
    EXPECT_NEAR(-r * s, turn[1], 1e-6f);
    EXPECT_NEAR(r * s, turn[2], 1e-6f);
    EXPECT_NEAR(r * c, turn[3], 1e-6f);
    // Scale 0.6 over a square picture.
    EXPECT_NEAR(1.6666666f, ReadFloats(e, "Scale", 2)[1], 1e-5f);
}

// Colour channels come from the COLORREF's bytes, red the low one; the
// light's height tilts the half-vector up; shadows pass as they are.
TEST_F(WaterTest, ColourHeightAndShadows)
{
    ShowPicture();
    DS_WaterFX water;
    water.colour.SetValue(0x000000FF, nullptr);
    water.height.SetValue(20, nullptr);
    water.shadows.SetValue(40, nullptr);
    water.BindResources(nullptr);
    ApplyOnce(water);
    ID3DXEffect* e = water.effect.Get();
    EXPECT_EQ((std::vector<float>{1, 0, 0}), ReadFloats(e, "Color", 3));
    const std::vector<float> half = ReadFloats(e, "Vhalf", 3);
    EXPECT_NEAR(1 / 3.0f, half[0], 1e-6f);
    EXPECT_NEAR(2 / 3.0f, half[1], 1e-6f);
    EXPECT_NEAR(2 / 3.0f, half[2], 1e-6f);
    EXPECT_FLOAT_EQ(0.4f, ReadFloat(e, "Shadows"));
}

// Before its first update a brush, and a clone of one that has run, hands
// the effect a bump transform of zeros rather than whatever memory held.
TEST_F(WaterTest, BumpTransformIsZeroBeforeTheFirstUpdate)
{
    ShowPicture();
    DS_WaterFX water;
    water.BindResources(nullptr);
    ApplyOnce(water);
    EXPECT_EQ((std::vector<float>{0, 0, 0, 0}), ReadFloats(water.effect.Get(), "BampTrans", 4));

    RunFor(water, 1.0f);
    const std::unique_ptr<DS_WaterFX> clone(CloneOf(water));
    clone->BindResources(nullptr);
    ApplyOnce(*clone);
    EXPECT_EQ((std::vector<float>{0, 0, 0, 0}), ReadFloats(clone->effect.Get(), "BampTrans", 4));
}

// Every shape reaches the effect as finite numbers: where the profile's
// formula breaks down (0, at or past 20000, exactly 10000) the height stands
// in finitely, and wherever the formula is finite its value is kept.
TEST_F(WaterTest, ProfileStaysFiniteForEveryShape)
{
    ShowPicture();
    DS_WaterFX water;
    water.BindResources(nullptr);
    for (const unsigned shape : {0u, 20u, 100u, 5000u, 9999u, 10000u, 10001u, 19999u, 20000u, 30000u, 4000000000u}) {
        SCOPED_TRACE(shape);
        water.shape.SetValue(shape, nullptr);
        ApplyOnce(water);
        const std::vector<float> p1 = ReadFloats(water.effect.Get(), "P1", 3);
        const std::vector<float> p2 = ReadFloats(water.effect.Get(), "P2", 3);
        for (const float v : {p1[0], p1[1], p1[2], p2[0], p2[1], p2[2]})
            EXPECT_TRUE(std::isfinite(v));
        const float formula = FormulaHeight(water.shape.result);
        if (std::isfinite(formula)) {
            EXPECT_EQ(formula, p2[1]);
        }
    }
    // Beside the breakdowns the stand-ins match what the formula tends to.
    EXPECT_EQ(1.0f, DS_WaterFX::ProfileHeight(0.0f));
    EXPECT_NEAR(0.25f, DS_WaterFX::ProfileHeight(3.0f), 1e-6f);
    EXPECT_GT(DS_WaterFX::ProfileHeight(1.0f), DS_WaterFX::ProfileHeight(0.9999f));
}

// Water moves the picture under the mask and leaves the rest exactly, in
// both techniques.
TEST_F(WaterTest, OnlyTheMaskedWaterMoves)
{
    DS_WaterFX water;
    ExpectOnlyTheMaskedHalfMoves(water, 0.5f, 0.9f);
}

// Without its ripple map the water is calm: only the travelling wave
// pushes the picture, by a fraction of a pixel here, where a sampler left
// unbound would shift the whole area by several pixels. The rest of the
// picture stays as it was.
TEST_F(WaterTest, WithoutTheRippleMapTheWaterIsCalm)
{
    ShowPicture();
    DS_WaterFX water;
    const Pixels rippled = FrameAfter(water, 0.5f);
    water.bumpLink.value = FileKey{L"absent.dll", 4444};
    MaskLeftHalf(water);
    const Pixels calm = FrameAfter(water, 0.5f);
    const int half = WaterSide / 2;
    EXPECT_LT(MeanDifference(plain, calm, half + 3, 0, WaterSide, WaterSide), 0.01);
    EXPECT_LT(MeanDifference(plain, calm, 0, 0, half - 3, WaterSide),
              MeanDifference(plain, rippled, 0, 0, half - 3, WaterSide) / 3);
}
