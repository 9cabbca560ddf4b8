// The move brush: its record, the direction its angle gives (kept up to date
// by the binder and recomputed by copies), the shift of each mode, and the
// masked part of the picture moved on screen.
#include "tests/scene/brushes/PictureBrushTest.h"

#include "foundation/core/Numeric.h"
#include "scene/brushes/DS_BrushObj.h"
#include "scene/brushes/DS_MoveFX.h"
#include "tests/support/RecordReading.h"
#include "tools/document/MotionBrushRecords.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const float HalfPi = 1.5707964f;

using MoveTest = PictureBrushTest;

// The brush's clock set to T, then one update that does not move it.
void UpdateAt(DS_MoveFX& brush, float time)
{
    brush.speed.time = time;
    brush.speed.last = 10.0f;
    brush.Update(10.0f);
}

} // namespace

// The record stores the angle without telling the binder, so the brush read
// keeps the direction of angle 0; its copy (the one a slide draws) turns to
// the angle read. Changes through the parameter turn it at once. Written
// back, the record is the same.
TEST(MoveRecord, DirectionFollowsTheAngleOnceCopiedOrChanged)
{
    MoveContent content;
    content.mode = 1;
    content.amplitude = 100;
    content.angle = 90;
    content.base.speed = 25;
    const DocumentBuilder::Bytes bytes = MoveRecordBytes(content);
    DS_MoveFX read;
    EXPECT_EQ(0u, ReadRecordInto(bytes, read));
    WritingHandle out;
    read.Write(out.handle);
    EXPECT_TRUE(bytes == out.archive->Bytes());
    EXPECT_EQ(1, read.mode.value);
    EXPECT_FLOAT_EQ(0.02f, read.amplitude.result);
    EXPECT_EQ(90u, read.angle.value);
    EXPECT_FLOAT_EQ(0.5f, read.speed.result);
    EXPECT_EQ(91, read.effectLink.value.stamp);
    EXPECT_FLOAT_EQ(1.0f, read.direction[0]);
    EXPECT_NEAR(0.0f, read.direction[1], 1e-6f);

    const std::unique_ptr<DS_FX_Constructor> copy(read.Clone());
    const auto& moved = static_cast<const DS_MoveFX&>(*copy);
    EXPECT_NEAR(0.0f, moved.direction[0], 1e-6f);
    EXPECT_FLOAT_EQ(-1.0f, moved.direction[1]);

    read.angle.SetValue(180, nullptr);
    EXPECT_FLOAT_EQ(-1.0f, read.direction[0]);
    EXPECT_NEAR(0.0f, read.direction[1], 1e-6f);
}

// The shift is direction × amplitude × sin T, or × noise of T in mode 1 only;
// angle 0 leaves the rounding of sin 2π in y.
TEST(MoveShift, ModeChoosesSineOrNoise)
{
    struct Case {
        int mode;
        float time;
        float k;
    };
    const float noise = static_cast<float>(FractalNoise1D(50.0 * 2.5f, 75.0, 0.5, 1));
    for (const Case& c : {Case{0, HalfPi, 1.0f}, Case{2, HalfPi, 1.0f}, Case{-1, 2.5f, std::sin(2.5f)},
                          Case{1, 2.5f, noise}}) {
        SCOPED_TRACE(c.mode);
        DS_MoveFX brush;
        brush.mode.value = c.mode;
        UpdateAt(brush, c.time);
        EXPECT_NEAR(0.01f * c.k, brush.shift[0], 1e-7f);
        EXPECT_NEAR(0.0f, brush.shift[1], 1e-8f);
    }
    EXPECT_NE(0.0f, DS_MoveFX().direction[1]);
}

// The masked upper half moves along the direction by up to the amplitude;
// the lower half keeps the picture, with either technique.
TEST_F(MoveTest, MaskedPartMovesAlongTheDirection)
{
    ShowPicture(CellTexture(Device(), 64).Get());
    struct Case {
        uint32_t angle;
        double du, dv;
    };
    for (const Case& c : {Case{0, 0.25, 0}, Case{270, 0, 0.25}})
        for (int flag : {0, 1}) {
            SCOPED_TRACE(::testing::Message() << "angle " << c.angle << ", flag " << flag);
            DS_MoveFX move;
            move.angle.SetValue(c.angle, nullptr);
            move.amplitude.SetValue(1250, nullptr);
            move.backgroundFlag.value = flag;
            MaskRows(move, 0, 32);
            const CountedPtr<DS_ABObj> object = Object(move);
            UpdateAt(static_cast<DS_MoveFX&>(*static_cast<DS_BrushObj*>(object.Get())->Brush()), HalfPi);
            const Pixels pixels = DrawSlideFrame(device, layer, {object});
            for (int y = 4; y < 64; y += 16)
                for (int x = 20; x < 64; x += 16) {
                    const double u = (x + 0.5) / 64, v = (y + 0.5) / 64;
                    const Rgba expected = y < 32 ? CellOf(u - c.du, v - c.dv) : CellOf(u, v);
                    EXPECT_TRUE(ColourNear(pixels.At(x, y), expected, 3)) << x << ", " << y;
                }
        }
}
