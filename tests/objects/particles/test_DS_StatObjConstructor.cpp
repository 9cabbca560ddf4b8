// Static objects, flowers and discharges: their records, the placement of a
// turned sprite and the rectangle around it (on the device too), the
// flower's sway about its bottom centre and the discharge's frame jumps.
#include "objects/particles/DS_StatObjConstructor.h"

#include "foundation/core/Random.h"
#include "objects/particles/DS_DischargeConstructor.h"
#include "objects/particles/DS_FlowerConstructor.h"
#include "objects/particles/DS_SpriteArrayObj.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/ParticleTestSupport.h"
#include "tests/support/TestTextures.h"
#include "tools/document/StaticObjectRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <set>

namespace {

constexpr float Pi = 3.14159265358979323846f;

StaticObjectContent TextObject()
{
    StaticObjectContent c;
    const int32_t rectangle[6] = {-3, 55, 1093, 1793, 26, 1443};
    std::copy(std::begin(rectangle), std::end(rectangle), c.rectangle);
    c.rotation = 90;
    c.sprite.baseSize = 700;
    c.sprite.mainPath = L"C:\\Art\\title.png";
    return c;
}

// A sprite of the system placed as the runtime object places it, its
// picture of the given height / width.
ParticleItem Placed(DS_StatObjConstructor& system, float aspect)
{
    ParticleItem p;
    p.sizeFactor = 1.0f;
    p.aspect = aspect;
    system.PlaceSprite(p);
    return p;
}

} // namespace

// Version 2 holds the rectangle and the rotation; version 1 also the flip
// flags; the flower and the discharge nest the static object's record.
TEST(StatObjConstructor, RecordsOfStaticObjectsFlowersAndDischarges)
{
    const auto still = ReadRecord<DS_StatObjConstructor>(StaticObjectRecordBytes(TextObject()));
    ASSERT_TRUE(still);
    EXPECT_EQ(-3, still->rectangle.left.value);
    EXPECT_EQ(1793, still->rectangle.bottom.value);
    EXPECT_EQ(26, still->rectangle.pointX.value);
    EXPECT_EQ(1443, still->rectangle.pointY.value);
    EXPECT_EQ(90u, still->rotation.value);
    EXPECT_EQ(700u, still->baseSize.value);
    const auto copy = CloneOf(*still);
    EXPECT_EQ(1443, copy->rectangle.pointY.value);
    EXPECT_EQ(90u, copy->rotation.value);

    StaticObjectContent old = TextObject();
    old.version = 1;
    old.verticalFlip = 1;
    old.horizontalFlip = 0;
    old.sprite.version = 4;
    const auto flipped = ReadRecord<DS_StatObjConstructor>(StaticObjectRecordBytes(old));
    ASSERT_TRUE(flipped);
    EXPECT_EQ(1, flipped->verticalFlip.value);
    EXPECT_EQ(0, flipped->horizontalFlip.value);
    EXPECT_EQ(26, flipped->rectangle.pointX.value);

    FlowerContent flower;
    flower.swayAmplitude = 4.0f;
    flower.object = old;
    const auto read = ReadRecord<DS_FlowerConstructor>(FlowerRecordBytes(flower));
    ASSERT_TRUE(read);
    EXPECT_EQ(4.0f, read->swayAmplitude);
    EXPECT_EQ(1, read->verticalFlip.value);
    EXPECT_EQ(90u, read->rotation.value);
    EXPECT_EQ(4.0f, CloneOf(*read)->swayAmplitude);
    EXPECT_EQ(1.5f, DS_FlowerConstructor().swayAmplitude);

    const auto discharge = ReadRecord<DS_DischargeConstructor>(DischargeRecordBytes(TextObject()));
    ASSERT_TRUE(discharge);
    EXPECT_EQ(26, discharge->rectangle.pointX.value);
}

// A picture 700 × 58 at base size 700, turned by 90 degrees at (26, 1443):
// half extents 350 and 29, right axis (0, -1), up axis (1, 0), and the box
// around it from -3 to 55 across and 1093 to 1793 down. Unturned, the box is
// the point ± the half extents. The rectangle is the screen quad.
TEST(StatObjConstructor, APlacedSpriteAndTheRectangleAroundIt)
{
    DS_StatObjConstructor text;
    text.baseSize.value = 700;
    text.rectangle.pointX.value = 26;
    text.rectangle.pointY.value = 1443;
    text.rotation.value = 90;
    const ParticleItem p = Placed(text, 58.0f / 700.0f);
    EXPECT_EQ(D3DXVECTOR3(26, 1443, 0), p.position);
    EXPECT_FLOAT_EQ(350.0f, p.halfWidth);
    EXPECT_FLOAT_EQ(29.0f, p.halfHeight);
    EXPECT_NEAR(0.0f, p.rightAxis.x, 1e-6f);
    EXPECT_NEAR(-1.0f, p.rightAxis.y, 1e-6f);
    EXPECT_NEAR(1.0f, p.upAxis.x, 1e-6f);
    EXPECT_NEAR(0.0f, p.upAxis.y, 1e-6f);
    EXPECT_EQ(-3, text.rectangle.left.value);
    EXPECT_EQ(55, text.rectangle.right.value);
    EXPECT_EQ(1093, text.rectangle.top.value);
    EXPECT_EQ(1793, text.rectangle.bottom.value);

    ScreenQuad quad;
    text.GetScreenQuad(quad);
    EXPECT_EQ(-3.0f, quad.corners[ScreenQuad::BottomLeft].x);
    EXPECT_EQ(1793.0f, quad.corners[ScreenQuad::BottomLeft].y);
    EXPECT_EQ(1093.0f, quad.corners[ScreenQuad::TopLeft].y);
    EXPECT_EQ(55.0f, quad.corners[ScreenQuad::TopRight].x);

    text.rotation.value = 0;
    text.baseSize.value = 100;
    Placed(text, 0.5f);
    EXPECT_EQ(-24, text.rectangle.left.value);
    EXPECT_EQ(76, text.rectangle.right.value);
    EXPECT_EQ(1418, text.rectangle.top.value);
    EXPECT_EQ(1468, text.rectangle.bottom.value);
}

// A flower leans by sin(clock) × its sway, at most its amplitude either way,
// about its bottom centre (the point plus the half height along the unturned
// up axis), turned or not, however steep.
TEST(StatObjConstructor, AFlowerSwaysAboutItsBottomCentre)
{
    const PictureSize picture(800, 600);
    for (unsigned int turn : {0u, 90u, 30u}) {
        SCOPED_TRACE(turn);
        DS_FlowerConstructor flower;
        flower.baseSize.value = 120;
        flower.rectangle.pointX.value = 400;
        flower.rectangle.pointY.value = 300;
        flower.rotation.value = turn;
        ParticleRun run(CloneOf(flower).release());
        ParticleItem& p = run.Item(0);
        const D3DXVECTOR3 upright = p.upAxis;
        const D3DXVECTOR3 root = D3DXVECTOR3(400, 300, 0) + p.halfHeight * upright;
        float largest = 0.0f;
        for (int frame = 1; frame <= 160; ++frame) {
            run.Update(frame * 0.05f);
            const D3DXVECTOR3 bottom = p.position + p.halfHeight * p.upAxis;
            ASSERT_NEAR(root.x, bottom.x, 1e-3f) << frame;
            ASSERT_NEAR(root.y, bottom.y, 1e-3f) << frame;
            // The sheared up axis less the upright one lies along the right axis.
            const D3DXVECTOR3 shear = p.upAxis - upright;
            const float lean = std::atan(D3DXVec3Dot(&shear, &p.rightAxis)) * 180.0f / Pi;
            EXPECT_NEAR(std::sin(run.controller->clock) * 1.5f, lean, 1e-3f);
            largest = std::max(largest, std::fabs(lean));
        }
        EXPECT_NEAR(1.5f, largest, 0.01f);
    }

    // Steep sways lean all the way: tan(89.5 degrees) is 114.6; at 90 the
    // flower lies flat with a huge but finite shear.
    DS_FlowerConstructor steep;
    steep.swayAmplitude = 89.5f;
    ParticleRun steepRun(CloneOf(steep).release());
    steepRun.controller->clock = Pi / 2;
    steepRun.controller->UpdateParticle(steepRun.Item(0));
    EXPECT_NEAR(114.5887f, steepRun.Item(0).upAxis.x, 0.01f);

    DS_FlowerConstructor wild;
    wild.swayAmplitude = 90.0f;
    ParticleRun run(CloneOf(wild).release());
    run.controller->clock = Pi / 2;
    run.controller->UpdateParticle(run.Item(0));
    EXPECT_TRUE(std::isfinite(run.Item(0).upAxis.x));
    EXPECT_TRUE(std::isfinite(run.Item(0).position.x));
    EXPECT_GT(std::fabs(run.Item(0).upAxis.x), 1.0e6f);
}

// With four frames the next frame is the first draw (mod 4) that differs
// from the current one, so no frame shows twice in a row. One frame stays
// without a draw; with none a grid has nothing to show, while a picture
// without a grid shows whole.
TEST(StatObjConstructor, ADischargeJumpsToAnotherFrame)
{
    DS_DischargeConstructor discharge;
    discharge.frameCount = 4;
    // The current frame is the first draw's, so that draw is passed over.
    const std::vector<int> d = DrawsFrom(8080, 8);
    const unsigned int current = static_cast<unsigned int>(d[0]) % 4;
    std::size_t next = 1;
    while (static_cast<unsigned int>(d[next]) % 4 == current)
        ++next;
    EXPECT_EQ(static_cast<unsigned int>(d[next]) % 4, discharge.NextFrameIndex(current));
    const int following = Rand();
    EXPECT_EQ(DrawsFrom(8080, static_cast<int>(next) + 2).back(), following);

    unsigned int frame = 0;
    std::set<unsigned int> shown;
    for (int i = 0; i < 200; ++i) {
        const unsigned int after = discharge.NextFrameIndex(frame);
        ASSERT_NE(frame, after);
        ASSERT_LT(after, 4u);
        shown.insert(after);
        frame = after;
    }
    EXPECT_EQ(4u, shown.size());

    discharge.frameCount = 1;
    ResetRandForTesting(5);
    EXPECT_EQ(0u, discharge.NextFrameIndex(0));
    const int untouched = Rand();
    EXPECT_EQ(DrawsFrom(5, 1)[0], untouched);

    discharge.frameCount = 0;
    EXPECT_EQ(0u, discharge.NextFrameIndex(0));
    discharge.baseSize.value = 64;
    for (bool grid : {true, false}) {
        SCOPED_TRACE(grid);
        discharge.frameGrid = grid;
        ParticleItem p;
        p.sizeFactor = 1.0f;
        p.aspect = 1.0f;
        discharge.InitParticle(p);
        EXPECT_EQ(grid ? 0.0f : 32.0f, p.halfWidth);
        EXPECT_EQ(grid ? 0.0f : 32.0f, p.halfHeight);
    }
}

namespace {

const FileKey PictureKey{L"C:\\Art\\grey.png", 1};
const FileKey SignKey{L"C:\\Art\\sign.png", 2};
const D3DCOLOR Grey = 0xFF404040;
const D3DCOLOR Red = 0xFFFF0000;
const D3DCOLOR Blue = 0xFF0000FF;
const D3DCOLOR Green = 0xFF00FF00;
const D3DCOLOR Yellow = 0xFFFFFF00;

// A managed texture of 4 × 2 texels: the left half of the top row red, its
// right half blue; the bottom row green, then yellow.
ComHolder<IDirect3DTexture9> QuarterTexture(IDirect3DDevice9* device)
{
    const D3DCOLOR rows[2][4] = {{Red, Red, Blue, Blue}, {Green, Green, Yellow, Yellow}};
    return ColourTexture(device, 4, 2, [&rows](UINT x, UINT y) { return rows[y][x]; });
}

} // namespace

// On a 256 × 256 picture shown pixel for pixel: a sign 64 × 16 pixels.
class StaticObjectDrawTest : public LayerTest<256, 256> {
protected:
    void SetUp() override
    {
        LayerTest<256, 256>::SetUp();
        picture = SolidTexture(Device(), Grey);
        AddPicture(manager, PictureKey, picture.Get(), 256, 256);
        sign = QuarterTexture(Device());
        AddPicture(manager, SignKey, sign.Get(), 64, 16);
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    }

    static std::unique_ptr<DS_SpriteArrayObj> Make(DS_StatObjConstructor& system)
    {
        return MakeObjectAs<DS_SpriteArrayObj>(system);
    }

    Pixels Frame(DS_SpriteArrayObj& object, float time)
    {
        DrawObjectFrame(Device(), layer, object, time);
        return device.ReadBackBuffer();
    }

    ComHolder<IDirect3DTexture9> picture;
    ComHolder<IDirect3DTexture9> sign;
    DS_2D_Light layer;
};

// Turned by 90 degrees the picture turns counter-clockwise on the screen:
// its top edge runs up the left side of the box 120..136 × 96..160, its left
// end at the bottom. The runtime object is marked as a static object.
TEST_F(StaticObjectDrawTest, ATurnedPictureLandsInItsBox)
{
    DS_StatObjConstructor still;
    still.baseSize.value = 64;
    still.mainImage.value = SignKey;
    still.rectangle.pointX.value = 128;
    still.rectangle.pointY.value = 128;
    still.rotation.value = 90;
    const auto object = Make(still);
    EXPECT_EQ(1, object->markerStyle);
    const DS_StatObjConstructor& placed = static_cast<const DS_StatObjConstructor&>(object->System());
    EXPECT_EQ(120, placed.rectangle.left.value);
    EXPECT_EQ(136, placed.rectangle.right.value);
    EXPECT_EQ(96, placed.rectangle.top.value);
    EXPECT_EQ(160, placed.rectangle.bottom.value);

    const Pixels turned = Frame(*object, 0.1f);
    EXPECT_TRUE(ColourNear(turned.At(123, 154), Rgba::FromArgb(Red), 2));
    EXPECT_TRUE(ColourNear(turned.At(132, 154), Rgba::FromArgb(Green), 2));
    EXPECT_TRUE(ColourNear(turned.At(123, 101), Rgba::FromArgb(Blue), 2));
    EXPECT_TRUE(ColourNear(turned.At(132, 101), Rgba::FromArgb(Yellow), 2));
    EXPECT_TRUE(turned.AllNear(0, 0, 256, 94, Rgba::FromArgb(Grey), 0));
    EXPECT_TRUE(turned.AllNear(0, 162, 256, 256, Rgba::FromArgb(Grey), 0));
    EXPECT_TRUE(turned.AllNear(0, 0, 118, 256, Rgba::FromArgb(Grey), 0));
    EXPECT_TRUE(turned.AllNear(138, 0, 256, 256, Rgba::FromArgb(Grey), 0));

    // A constructor made afresh (its flag clear) goes to the picture's centre.
    DS_StatObjConstructor fresh;
    fresh.flag = 0;
    fresh.baseSize.value = 64;
    fresh.mainImage.value = SignKey;
    const auto centred = Make(fresh);
    EXPECT_EQ(128, fresh.rectangle.pointX.value);
    EXPECT_EQ(1, fresh.flag);
    const Pixels upright = Frame(*centred, 0.1f);
    EXPECT_TRUE(ColourNear(upright.At(100, 122), Rgba::FromArgb(Red), 2));
    EXPECT_TRUE(ColourNear(upright.At(155, 132), Rgba::FromArgb(Yellow), 2));
}

// A discharge shown as a grid of four frames at 10 frames per clock unit
// switches at most once per rebuild, each time to another frame, in the
// order the generator gives.
TEST_F(StaticObjectDrawTest, ADischargeFlickersThroughItsFrames)
{
    DS_DischargeConstructor discharge;
    discharge.baseSize.value = 64;
    discharge.mainImage.value = SignKey;
    discharge.frameGrid = true;
    discharge.frameCount = 4;
    discharge.frameRate = 10.0f;
    discharge.rectangle.pointX.value = 128;
    discharge.rectangle.pointY.value = 128;
    const auto object = Make(discharge);

    std::vector<uint32_t> frames;
    for (int step = 1; step <= 40; ++step) {
        object->Update(step * 0.03f);
        if (frames.empty() || frames.back() != object->gridFrameIndex)
            frames.push_back(object->gridFrameIndex);
    }
    // 1.2 clock units at a switch every 0.1 or so.
    EXPECT_GE(frames.size(), 8u);
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_NE(frames[i - 1], frames[i]);
    const std::vector<DX_V::PCT> quad = ReadVertices(object->SpriteGeometry());
    EXPECT_FLOAT_EQ(object->gridFrameIndex * 0.25f, quad[0].u);
    EXPECT_FLOAT_EQ((object->gridFrameIndex + 1) * 0.25f, quad[2].u);
}

// A strip of one frame keeps showing it, switch after switch, with no draw
// of the generator; a strip of no frames shows nothing at all. Without the
// grid a frame count of 0 leaves the whole picture showing.
TEST_F(StaticObjectDrawTest, ADischargeOfOneFrameStaysAndOfNoneShowsNothing)
{
    struct Case {
        uint32_t frames;
        bool grid;
    };
    for (const Case c : {Case{1u, true}, Case{0u, true}, Case{0u, false}}) {
        SCOPED_TRACE(testing::Message() << c.frames << " frames, grid " << c.grid);
        const uint32_t frames = c.frames;
        DS_DischargeConstructor discharge;
        discharge.baseSize.value = 64;
        discharge.mainImage.value = SignKey;
        discharge.frameGrid = c.grid;
        discharge.frameCount = frames;
        discharge.frameRate = 10.0f;
        discharge.rectangle.pointX.value = 128;
        discharge.rectangle.pointY.value = 128;
        const auto object = Make(discharge);
        for (int step = 1; step < 20; ++step)
            object->Update(step * 0.03f);
        ResetRandForTesting(5);
        const Pixels pixels = Frame(*object, 0.6f);
        EXPECT_EQ(0u, object->gridFrameIndex);
        const int untouched = Rand();
        EXPECT_EQ(DrawsFrom(5, 1)[0], untouched);
        if (frames == 1 || !c.grid) {
            EXPECT_TRUE(ColourNear(pixels.At(100, 122), Rgba::FromArgb(Red), 2));
            EXPECT_TRUE(ColourNear(pixels.At(155, 132), Rgba::FromArgb(Yellow), 2));
        } else {
            EXPECT_TRUE(pixels.AllNear(0, 0, 256, 256, Rgba::FromArgb(Grey), 0));
        }
    }
}
