// The background copy: its record, the shift it hands its effect, and the
// copy drawn shifted or mirrored inside the mask only.
#include "tests/scene/brushes/PictureBrushTest.h"

#include "foundation/core/CurrentDevice.h"
#include "scene/brushes/DS_BackgroundCopy.h"
#include "scene/slideshow/DS_SlideContainer.h"
#include "tests/support/RecordReading.h"
#include "tools/document/PatternBrushRecords.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

namespace {

using BackgroundCopyTest = PictureBrushTest;

} // namespace

// The rectangle is read whole, only its point matters; the clock stays
// stopped. Written back, the record is the same.
TEST(BackgroundCopyRecord, ReadsRectangleAndMirrors)
{
    BackgroundCopyContent content;
    content.left = 5;
    content.bottom = 9;
    content.pointX = 100;
    content.pointY = -50;
    content.verticalMirror = 1;
    content.base.name = L"Lake";
    const DocumentBuilder::Bytes bytes = BackgroundCopyRecordBytes(content);
    DS_BackgroundCopy brush;
    EXPECT_EQ(0u, ReadRecordInto(bytes, brush));
    EXPECT_EQ(5, brush.rectangle.left.value);
    EXPECT_EQ(9, brush.rectangle.bottom.value);
    EXPECT_EQ(100, brush.rectangle.pointX.value);
    EXPECT_EQ(-50, brush.rectangle.pointY.value);
    EXPECT_EQ(1, brush.verticalMirror.value);
    EXPECT_EQ(0, brush.horizontalMirror.value);
    EXPECT_EQ(75, brush.effectLink.value.stamp);
    EXPECT_EQ(0.0f, brush.speed.result);
    EXPECT_EQ(L"Lake", brush.name);
    WritingHandle out;
    brush.Write(out.handle);
    EXPECT_TRUE(bytes == out.archive->Bytes());
}

// "offset" is the point in fractions of the picture, 1 more along each
// mirrored axis.
TEST_F(BackgroundCopyTest, OffsetIsThePointOverThePicture)
{
    ShowPicture(CellTexture(Device(), 64).Get(), 400, 200);
    struct Case {
        int vertical, horizontal;
        float x, y;
    };
    for (const Case& c : {Case{0, 0, 0.25f, -0.25f}, Case{1, 1, 1.25f, 0.75f}, Case{1, 0, 0.25f, 0.75f}}) {
        DS_BackgroundCopy brush;
        brush.rectangle.pointX.value = 100;
        brush.rectangle.pointY.value = -50;
        brush.verticalMirror.value = c.vertical;
        brush.horizontalMirror.value = c.horizontal;
        brush.BindResources(nullptr);
        ASSERT_TRUE(brush.effect);
        brush.Apply(layer);
        EXPECT_EQ((std::vector<float>{c.x, c.y}), EffectFloats(brush.effect.Get(), "offset", 2));
    }
}

// Inside the mask (the lower half) the copy shows shifted, mirrored across,
// or mirrored top to bottom as a reflection; the upper half keeps the
// picture. Both techniques draw the same.
TEST_F(BackgroundCopyTest, CopyShowsShiftedOrMirroredInsideTheMask)
{
    ShowPicture(CellTexture(Device(), 64).Get());
    struct Case {
        const char* name;
        int pointX, vertical, horizontal;
        // Where the copy at (u, v) reads the picture.
        double (*u)(double), (*v)(double);
    };
    const Case cases[] = {
        {"shifted", 16, 0, 0, [](double u) { return u - 0.25; }, [](double v) { return v; }},
        {"mirrored across", 0, 0, 1, [](double u) { return 1 - u; }, [](double v) { return v; }},
        {"reflected", 0, 1, 0, [](double u) { return u; }, [](double v) { return 1 - v; }},
    };
    for (const Case& c : cases)
        for (int flag : {0, 1}) {
            SCOPED_TRACE(::testing::Message() << c.name << ", flag " << flag);
            DS_BackgroundCopy brush;
            brush.rectangle.pointX.value = c.pointX;
            brush.verticalMirror.value = c.vertical;
            brush.horizontalMirror.value = c.horizontal;
            brush.backgroundFlag.value = flag;
            MaskRows(brush, 32, 64);
            const Pixels pixels = DrawBrush(brush);
            for (int y = 4; y < 64; y += 16)
                for (int x = 20; x < 64; x += 16) {
                    const double u = (x + 0.5) / 64, v = (y + 0.5) / 64;
                    const Rgba expected = y < 32 ? CellOf(u, v) : CellOf(c.u(u), c.v(v));
                    EXPECT_TRUE(ColourNear(pixels.At(x, y), expected, 3)) << x << ", " << y;
                }
        }
}

namespace {

// Paints the whole target in one colour: what the objects drawn before a
// brush leave in the scene.
class FillObject : public DS_ABObj {
public:
    explicit FillObject(D3DCOLOR c) : DS_ABObj(nullptr), colour(c) {}
    void Render(DS_2D_Light&) override { CurrentDevice->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0); }
    void DrawHighlight(DS_2D_Light&, int) override {}
    void Update(float) override {}
    void OnViewChanged() override {}

private:
    D3DCOLOR colour;
};

} // namespace

// A copy that reads the background over a picture of size 0 draws nothing,
// so the slide must not take the scene from the objects drawn before it for
// the copy: neither count it among the scene's readers nor flip the capture
// for it. What the objects drew stays on the screen.
TEST_F(BackgroundCopyTest, ACopyOverAPictureOfNoSizeLeavesTheScene)
{
    picture = CellTexture(Device(), 64);
    AddPicture(manager, FileKey{L"picture.png", 3}, picture.Get(), 0, 0);
    DS_SlideContainer slide;
    slide.layer = CountedPtr<DS_2D_Light>(new DS_2D_Light);
    ActivateLayer(*slide.layer, FileKey{L"picture.png", 3}, Side, Side, SceneView::Stretch);
    ASSERT_EQ(0, slide.layer->GetPictureWidth());
    ASSERT_TRUE(slide.layer->targetPair.current);
    DS_BackgroundCopy brush;
    brush.backgroundFlag.value = 1;
    const D3DCOLOR green = 0xFF20C040;
    // Objects draw from the last to the first: the fill, then the copy.
    slide.visualObjects = {Object(brush), CountedPtr<DS_ABObj>(new FillObject(green))};
    ASSERT_TRUE(slide.visualObjects[0]->NeedsBackground());

    IDirect3DDevice9* d = Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    d->BeginScene();
    slide.RenderScene();
    slide.FinishFrame();
    d->EndScene();
    const Pixels pixels = device.ReadBackBuffer();
    EXPECT_TRUE(pixels.AllNear(0, 0, Side, Side, Rgba::FromArgb(green), 2)) << pixels.At(32, 32);
}
