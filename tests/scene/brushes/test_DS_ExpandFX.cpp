// The expand brush: its record, the swelling value of each rhythm, the
// centre (the picture's middle by default, also for a brush made before any
// picture), and the masked area swollen on screen.
#include "tests/scene/brushes/PictureBrushTest.h"

#include "foundation/render/PictureMapping.h"
#include "scene/brushes/DS_BrushObj.h"
#include "scene/brushes/DS_ExpandFX.h"
#include "tests/support/RecordReading.h"
#include "tools/document/MotionBrushRecords.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

namespace {

const float Pi = 3.1415927f;

using ExpandTest = PictureBrushTest;

void UpdateAt(DS_ExpandFX& brush, float time)
{
    brush.speed.time = time;
    brush.speed.last = 10.0f;
    brush.Update(10.0f);
}

// A 64 × 64 black picture with a white 16 × 16 square in the middle.
Image SquareImage()
{
    Image image(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = image.Pixel(x, y);
            const bool inside = x >= 24 && x < 40 && y >= 24 && y < 40;
            p[0] = p[1] = p[2] = inside ? 255 : 0;
            p[3] = 255;
        }
    return image;
}

} // namespace

// Written back, the record is the same.
TEST(ExpandRecord, ReadsItsFieldsAndTheCentre)
{
    ExpandContent content;
    content.expansion = 40;
    content.contraction = 20;
    content.mode = 1;
    content.centre[0] = 120.5f;
    content.centre[1] = 80.0f;
    content.base.speed = 100;
    const DocumentBuilder::Bytes bytes = ExpandRecordBytes(content);
    DS_ExpandFX brush;
    EXPECT_EQ(0u, ReadRecordInto(bytes, brush));
    EXPECT_FLOAT_EQ(0.2f, brush.expansion.result);
    EXPECT_FLOAT_EQ(0.1f, brush.contraction.result);
    EXPECT_EQ(1, brush.mode.value);
    EXPECT_EQ(D3DXVECTOR3(120.5f, 80.0f, 0.0f), brush.centre.value);
    EXPECT_FLOAT_EQ(2.0f, brush.speed.result);
    EXPECT_EQ(102, brush.effectLink.value.stamp);
    WritingHandle out;
    brush.Write(out.handle);
    EXPECT_TRUE(bytes == out.archive->Bytes());
}

// The triangle wave runs from -contraction at T = 0 up to expansion at π and
// back; the sine starts half-way. "amplitude" holds a positive value as
// swelling, a negative one as shrinking.
TEST_F(ExpandTest, AmplitudeFollowsTheRhythm)
{
    ShowPicture(SolidTexture(Device(), 0xFF000000).Get());
    struct Case {
        int mode;
        unsigned contraction;
        float time;
        float swell, shrink;
    };
    const Case cases[] = {
        {0, 0, 0.0f, 0.0f, 0.0f},          {0, 0, Pi, 0.25f, 0.0f},      {0, 0, Pi / 2, 0.125f, 0.0f},
        {0, 0, 2 * Pi, 0.0f, 0.0f},        {0, 20, 0.0f, 0.0f, 0.1f},    {0, 20, 3 * Pi, 0.25f, 0.0f},
        {1, 0, 0.0f, 0.125f, 0.0f},        {1, 20, 1.5f * Pi, 0.0f, 0.1f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << c.mode << ", T " << c.time << ", contraction "
                                          << c.contraction);
        DS_ExpandFX brush;
        brush.mode.value = c.mode;
        brush.contraction.SetValue(c.contraction, nullptr);
        brush.BindResources(nullptr);
        UpdateAt(brush, c.time);
        brush.Apply(layer);
        const std::vector<float> amplitude = EffectFloats(brush.effect.Get(), "amplitude", 2);
        EXPECT_NEAR(c.swell, amplitude[0], 2e-6f);
        EXPECT_NEAR(c.shrink, amplitude[1], 2e-6f);
    }
}

// The default centre is the middle of the picture placed when the brush is
// made. A brush made before any picture takes the middle of the first
// picture it is drawn over; a centre from the document stays. Without a
// picture the centre would be infinite: nothing is set.
TEST_F(ExpandTest, CentreIsThePictureMiddleUnlessStored)
{
    const PictureMapping saved = CurrentPictureMapping;
    CurrentPictureMapping = PictureMapping();
    DS_ExpandFX early;
    EXPECT_EQ(D3DXVECTOR3(0, 0, 0), early.centre.value);
    ExpandContent content;
    content.centre[0] = 16.0f;
    content.centre[1] = 48.0f;
    DS_ExpandFX stored;
    ReadRecordInto(ExpandRecordBytes(content), stored);

    ShowPicture(SolidTexture(Device(), 0xFF000000).Get(), 200, 100);
    DS_ExpandFX late;
    EXPECT_EQ(D3DXVECTOR3(100, 50, 0), late.centre.value);
    // A mapping not published yet: the layer's own picture places the centre.
    CurrentPictureMapping = PictureMapping();
    struct Case {
        DS_ExpandFX& brush;
        float x, y;
    };
    for (const Case& c : {Case{early, 0.5f, 0.5f}, Case{stored, 0.08f, 0.48f}, Case{late, 0.5f, 0.5f}}) {
        c.brush.BindResources(nullptr);
        c.brush.Apply(layer);
        EXPECT_EQ((std::vector<float>{c.x, c.y}), EffectFloats(c.brush.effect.Get(), "center", 2));
    }
    EXPECT_EQ(D3DXVECTOR3(100, 50, 0), early.centre.value);

    // Without any picture nothing is set.
    ShowPicture(SolidTexture(Device(), 0xFF000000).Get(), 0, 0);
    CurrentPictureMapping = PictureMapping();
    const float untouched[2] = {7, 7};
    late.effect->SetFloatArray("center", untouched, 2);
    late.Apply(layer);
    EXPECT_EQ((std::vector<float>{7, 7}), EffectFloats(late.effect.Get(), "center", 2));
    CurrentPictureMapping = saved;
}

// Swelling by 0.5 reads the masked area from half its distance to the
// centre: the square in the middle doubles in the masked upper half only.
// Shrinking makes it smaller there.
TEST_F(ExpandTest, MaskedAreaSwellsAroundTheCentre)
{
    ShowPicture(TextureOf(Device(), SquareImage()).Get());
    const Rgba white{255, 255, 255, 255}, black{0, 0, 0, 255};
    for (int flag : {0, 1}) {
        SCOPED_TRACE(flag);
        DS_ExpandFX swell;
        swell.expansion.SetValue(100, nullptr);
        swell.backgroundFlag.value = flag;
        swell.centre.value = D3DXVECTOR3(32, 32, 0);
        MaskRows(swell, 0, 32);
        const CountedPtr<DS_ABObj> object = Object(swell);
        auto& drawn = static_cast<DS_ExpandFX&>(*static_cast<DS_BrushObj*>(object.Get())->Brush());
        UpdateAt(drawn, Pi);
        const Pixels pixels = DrawSlideFrame(device, layer, {object});
        EXPECT_TRUE(ColourNear(pixels.At(32, 20), white, 2)) << "12 px above the centre";
        EXPECT_TRUE(ColourNear(pixels.At(20, 30), white, 2));
        EXPECT_TRUE(ColourNear(pixels.At(32, 12), black, 2));
        EXPECT_TRUE(ColourNear(pixels.At(32, 44), black, 2)) << "12 px below, outside the mask";
        EXPECT_TRUE(ColourNear(pixels.At(32, 36), white, 2));

        drawn.contraction.SetValue(100, nullptr);
        drawn.expansion.SetValue(0, nullptr);
        UpdateAt(drawn, 0.0f);
        const Pixels shrunk = DrawSlideFrame(device, layer, {object});
        EXPECT_TRUE(ColourNear(shrunk.At(32, 25), black, 2)) << "7 px above the centre";
        EXPECT_TRUE(ColourNear(shrunk.At(32, 30), white, 2));
        EXPECT_TRUE(ColourNear(shrunk.At(32, 37), white, 2));
    }
}
