// The waves brush: its record and clone, the direction, normal and timing it
// hands the waves effect, and the waves it draws through its mask.
#include "scene/brushes/DS_WavesFX.h"

#include "tests/support/BrushTestSupport.h"
#include "tests/scene/brushes/WaterBrushTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tools/document/WaterBrushRecords.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using WavesTest = WaterBrushTest;

// The waves brush of a typical document.
WavesContent DocumentWaves()
{
    WavesContent waves;
    waves.amplitude = 3;
    waves.wavelength = 6;
    waves.angle = 266;
    waves.normalMode = 0;
    waves.base.speed = 150;
    return waves;
}

DS_WavesFX* CloneOf(const DS_WavesFX& waves) { return static_cast<DS_WavesFX*>(waves.Clone()); }

} // namespace

// The record's values take effect, the angle and mode are stored as they
// stand: the brush read keeps the defaults' direction, its clone turns.
TEST(WavesRecord, ReadsTheFieldsAndTheCloneFollowsTheAngle)
{
    DS_WavesFX waves;
    EXPECT_EQ(0u, ReadRecordInto(WavesRecordBytes(DocumentWaves()), waves));
    EXPECT_FLOAT_EQ(0.00075f, waves.amplitude.result);
    EXPECT_FLOAT_EQ(0.004f, waves.wavelength.result);
    EXPECT_EQ(266u, waves.angle.value);
    EXPECT_FLOAT_EQ(150.0f, waves.speed.result);
    EXPECT_EQ(77, waves.effectLink.value.stamp);
    EXPECT_NEAR(1.0f, waves.direction[0], 1e-6f);

    const std::unique_ptr<DS_WavesFX> clone(CloneOf(waves));
    // 360 - 266 = 94 degrees.
    EXPECT_NEAR(-0.0697565f, clone->direction[0], 1e-6f);
    EXPECT_NEAR(0.9975641f, clone->direction[1], 1e-6f);
}

// "direction" is the opposite of (cos a, sin a) for a = 360 - angle;
// "direction_n" is perpendicular to it in mode 0 and backwards in any other
// mode; a change of either parameter recomputes both at once.
TEST_F(WavesTest, DirectionAndNormalFollowAngleAndMode)
{
    ShowPicture();
    struct Case {
        unsigned angle;
        int mode;
        float dx, dy, nx, ny;
    };
    const Case cases[] = {
        {0, 0, -1, 0, 0, 1},
        {90, 0, 0, 1, 1, 0},
        {0, 7, -1, 0, -1, 0},
        {90, -2, 0, 1, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.angle << " " << c.mode);
        DS_WavesFX waves;
        waves.angle.SetValue(c.angle, nullptr);
        waves.normalMode.SetValue(c.mode, nullptr);
        waves.BindResources(nullptr);
        ApplyOnce(waves);
        const std::vector<float> direction = ReadFloats(waves.effect.Get(), "direction", 2);
        const std::vector<float> normal = ReadFloats(waves.effect.Get(), "direction_n", 2);
        EXPECT_NEAR(c.dx, direction[0], 1e-6f);
        EXPECT_NEAR(c.dy, direction[1], 1e-6f);
        EXPECT_NEAR(c.nx, normal[0], 1e-6f);
        EXPECT_NEAR(c.ny, normal[1], 1e-6f);
    }
    // sin 2 pi in single precision: not quite 0.
    DS_WavesFX waves;
    EXPECT_NE(0.0f, waves.direction[1]);
    EXPECT_NEAR(0.0f, waves.direction[1], 2e-7f);
}

// "frequency" is the inverse of the wavelength; "time" is 0.08 of the brush
// time, whose clock runs at the speed value: 150 gives 12 a second.
TEST_F(WavesTest, FrequencyAmplitudeAndTime)
{
    ShowPicture();
    DS_WavesFX waves;
    EXPECT_EQ(0u, ReadRecordInto(WavesRecordBytes(DocumentWaves()), waves));
    waves.BindResources(nullptr);
    ASSERT_TRUE(waves.effect);
    RunFor(waves, 1.0f);
    ApplyOnce(waves);
    ID3DXEffect* e = waves.effect.Get();
    EXPECT_FLOAT_EQ(250.0f, ReadFloat(e, "frequency"));
    EXPECT_FLOAT_EQ(0.00075f, ReadFloat(e, "amplitude"));
    EXPECT_NEAR(12.0f, ReadFloat(e, "time"), 1e-4f);
}

// Waves move the picture under the mask and leave the rest exactly, in both
// techniques.
TEST_F(WavesTest, OnlyTheMaskedWavesMove)
{
    DS_WavesFX waves;
    ExpectOnlyTheMaskedHalfMoves(waves, 0.5f, 0.9f);
}
