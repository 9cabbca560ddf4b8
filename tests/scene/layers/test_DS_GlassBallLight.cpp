// The glass-ball layer: its record, lens, bump map, placement of the
// background and its bars, the shared motion, and the frame it draws.
#include "scene/layers/DS_GlassBallLight.h"

#include "foundation/render/TextureFormatsForTesting.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tests/support/TestTextures.h"
#include "tools/document/GlassBallRecord.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using GlassBallTest = LayerTest<256, 256>;
using GlassBallPlacementTest = LayerTest<1024, 768>;

const FileKey PictureKey{L"picture.png", 1};
const FileKey BackgroundKey{L"background.png", 2};
const FileKey ShadowKey{L"shadow.png", 3};

// A picture whose red channel is its x: where a pixel's colour came from in
// the picture shows in its red.
ComHolder<IDirect3DTexture9> RampTexture(IDirect3DDevice9* device)
{
    return ColourTexture(device, 256, 256, [](UINT x, UINT) { return D3DCOLOR_ARGB(255, x, 0, 0); });
}

bool Finite(const D3DXMATRIX& m)
{
    for (int i = 0; i < 16; ++i)
        if (!std::isfinite(static_cast<const float*>(m)[i]))
            return false;
    return true;
}

// Blue backdrop, ramp picture, a quarter-size ball in the middle (about 33
// pixels in radius on the 256 × 256 back buffer), no overlays.
class GlassBallFrameTest : public GlassBallTest {
protected:
    void SetUp() override
    {
        GlassBallTest::SetUp();
        ramp = RampTexture(Device());
        AddPicture(manager, PictureKey, ramp.Get(), 256, 256);
        DS_GlassBallLight::ResetSharedMotion();
        layer.size.value = 0;
        layer.overlaySwitch1.value = 0;
        layer.overlaySwitch2.value = 0;
        layer.topColour.value = 0x00FF0000;
        layer.bottomColour.value = 0x00FF0000;
    }

    Pixels Frame(float time)
    {
        IDirect3DDevice9* d = Device();
        layer.FrameMove(time);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
        d->BeginScene();
        layer.BeginSceneCapture();
        layer.DrawBackground(false);
        layer.FinishFrame();
        d->EndScene();
        return device.ReadBackBuffer();
    }

    ComHolder<IDirect3DTexture9> ramp;
    DS_GlassBallLight layer;
};

const Rgba Blue{0, 0, 255, 255};

} // namespace

TEST(DS_GlassBallLight, RecordReadsEveryFieldAndWritesTheSameBytes)
{
    GlassBallContent content;
    content.overlay1Path = L"a.png";
    content.overlay1Stamp = 11;
    content.shadowStamp = 61;
    content.backgroundPath = L"b.jpg";
    content.motionSpeed = 50;
    content.x = -120;
    content.y = 45;
    content.size = 60;
    content.depth = 30;
    content.overlay2 = 0;
    content.shadow = 1;
    content.pictureBackground = 1;
    content.motionMode = 2;
    content.topColour = 0x00102030;
    content.bottomColour = 0x00405060;
    content.base.picturePath = L"picture.jpg";
    const DocumentBuilder::Bytes bytes = GlassBallRecordBytes(content);

    DS_GlassBallLight layer;
    EXPECT_EQ(0u, ReadRecordInto(bytes, layer));
    EXPECT_EQ(L"a.png", layer.overlayImage1.value.path);
    EXPECT_EQ(11, layer.overlayImage1.value.stamp);
    EXPECT_EQ(L"common_res.dll", layer.overlayImage2.value.path);
    EXPECT_EQ(61, layer.shadowImage.value.stamp);
    EXPECT_EQ(L"b.jpg", layer.backgroundPicture.value.path);
    EXPECT_FLOAT_EQ(2.0f, layer.motionSpeed.result);
    EXPECT_EQ(-120, layer.position.value.x);
    EXPECT_EQ(45, layer.position.value.y);
    EXPECT_EQ(60u, layer.size.value);
    EXPECT_EQ(30u, layer.depth.value);
    EXPECT_EQ(1, layer.overlaySwitch1.value);
    EXPECT_EQ(0, layer.overlaySwitch2.value);
    EXPECT_EQ(1, layer.shadowSwitch.value);
    EXPECT_EQ(1, layer.pictureBackgroundSwitch.value);
    EXPECT_EQ(2, layer.motionMode.value);
    EXPECT_EQ(0x00102030u, layer.topColour.value);
    EXPECT_EQ(0x00405060u, layer.bottomColour.value);
    EXPECT_EQ(L"picture.jpg", layer.pictureLink.value.path);

    WritingHandle out;
    layer.Write(out.handle);
    EXPECT_TRUE(bytes == out.archive->Bytes());
}

TEST(DS_GlassBallLight, DefaultsAreAFullSizeSwayingBallOnBlack)
{
    DS_GlassBallLight layer;
    EXPECT_EQ(100u, layer.size.value);
    EXPECT_EQ(DS_GlassBallLight::Sway, layer.motionMode.value);
    EXPECT_FLOAT_EQ(1.0f, layer.motionSpeed.result);
    EXPECT_EQ(0u, layer.topColour.value);
    EXPECT_EQ(58, layer.overlayImage1.value.stamp);
    EXPECT_EQ(59, layer.overlayImage2.value.stamp);
    EXPECT_EQ(60, layer.shadowImage.value.stamp);
    EXPECT_EQ(5, layer.backgroundPicture.value.stamp);
    EXPECT_TRUE(layer.NeedsSceneCapture());
}

TEST(DS_GlassBallLight, LensFollowsSizeAndDepth)
{
    const struct {
        unsigned size, depth;
        float k0, k1, k3;
    } cases[] = {
        {100, 0, -600.0f, 1.5645f, 0.125f},
        {0, 0, -2400.0f, 0.40425f, 0.125f},
        {100, 100, -600.0f, 2.34675f, 0.1875f},
    };
    for (const auto& c : cases) {
        DS_GlassBallLight layer;
        layer.size.value = c.size;
        layer.depth.value = c.depth;
        layer.ComputeLens();
        EXPECT_FLOAT_EQ(c.k0, layer.k0) << c.size << " " << c.depth;
        EXPECT_NEAR(c.k1, layer.k1, 1e-5f);
        EXPECT_FLOAT_EQ(c.k3, layer.k3);
    }
}

// The hemisphere's slopes in single precision: level at the top and beyond
// the rim and in the last column, steep towards the rim.
TEST_F(GlassBallTest, BumpMapHoldsTheHemispheresSlopes)
{
    const struct {
        int x, y;
        int16_t u, v;
    } cases[] = {{128, 128, 63, 63}, {100, 128, -3528, 65}, {255, 128, 0, 0}, {0, 0, 0, 0}, {5, 250, 0, 0}};
    for (const auto& c : cases) {
        const uint32_t texel = DS_GlassBallLight::BumpTexel(c.x, c.y);
        EXPECT_EQ(c.u, static_cast<int16_t>(texel & 0xFFFF)) << c.x << "," << c.y;
        EXPECT_EQ(c.v, static_cast<int16_t>(texel >> 16)) << c.x << "," << c.y;
    }

    DS_GlassBallLight layer;
    layer.OnDeviceCreated();
    ASSERT_TRUE(layer.bumpMap);
    D3DSURFACE_DESC desc{};
    layer.bumpMap->GetLevelDesc(0, &desc);
    ASSERT_EQ(D3DFMT_V16U16, desc.Format);
    D3DLOCKED_RECT locked{};
    ASSERT_TRUE(SUCCEEDED(layer.bumpMap->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)));
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + 128 * locked.Pitch);
    EXPECT_EQ(DS_GlassBallLight::BumpTexel(100, 128), row[100]);
    layer.bumpMap->UnlockRect(0);

    // The disc mask is clear inside radius 508 and opaque outside.
    ASSERT_TRUE(layer.discMask);
    ASSERT_TRUE(SUCCEEDED(layer.discMask->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)));
    const auto* middle = static_cast<const uint8_t*>(locked.pBits) + 512 * locked.Pitch;
    EXPECT_EQ(0, middle[512 + 508]);
    EXPECT_EQ(255, middle[512 + 509]);
    layer.discMask->UnlockRect(0);
}

// Every channel of every row is the whole part of top + (bottom - top) × y /
// 255, on every pair of channel values; the texture holds those rows (51
// down to 0 at row 130 is 25, exactly 51 - 26).
TEST_F(GlassBallTest, GradientRowsRunFromTheTopColourToTheBottom)
{
    int wrong = 0;
    for (int top = 0; top < 256; ++top)
        for (int bottom = 0; bottom < 256; ++bottom)
            for (int y = 0; y < 256; ++y) {
                const int expected = (255 * top + (bottom - top) * y) / 255;
                if (DS_GlassBallLight::GradientChannel(static_cast<uint8_t>(top), static_cast<uint8_t>(bottom),
                                                       static_cast<unsigned int>(y)) != expected &&
                    ++wrong <= 5)
                    ADD_FAILURE() << top << " to " << bottom << " at row " << y;
            }
    EXPECT_EQ(0, wrong);

    DS_GlassBallLight layer;
    layer.topColour.value = 0x00333333;
    layer.bottomColour.value = 0x00000000;
    layer.OnDeviceCreated();
    ASSERT_TRUE(layer.gradient);
    D3DLOCKED_RECT locked{};
    ASSERT_TRUE(SUCCEEDED(layer.gradient->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)));
    const auto row = [&](int y) {
        return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch);
    };
    EXPECT_EQ(0x00333333u, row(0)[0]);
    EXPECT_EQ(0x00191919u, row(130)[17]);
    EXPECT_EQ(0x00000000u, row(255)[255]);
    layer.gradient->UnlockRect(0);
}

// A fitted background picture: the cover factors and the four black bars.
TEST_F(GlassBallPlacementTest, CoverFactorsAndBarsFrameAFittedBackground)
{
    const struct {
        UINT width, height;
        float g, c;
        float bars[4][4]; // left, top, right, bottom of quads 1 to 4
    } cases[] = {
        {600, 800, 576.0f / 1026.0f, 768.0f / 770.0f,
         {{0, 0, 225, 768}, {800, 0, 1025, 768}, {0, 0, 576, 1}, {0, 768, 576, 769}}},
        {800, 600, 1024.0f / 1026.0f, 768.0f / 770.0f,
         {{0, 0, 1, 768}, {1024, 0, 1025, 768}, {0, 0, 1024, 1}, {0, 768, 1024, 769}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF808080);
        AddPicture(manager, BackgroundKey, picture.Get(), c.width, c.height);
        DS_GlassBallLight layer;
        layer.backgroundPicture.value = BackgroundKey;
        layer.pictureBackgroundSwitch.value = 1;
        layer.OnDeviceCreated();
        layer.SetPicturePosition(SceneView::Fit);
        layer.SetSize(1024, 768);
        EXPECT_FLOAT_EQ(c.g, layer.coverG);
        EXPECT_FLOAT_EQ(c.c, layer.coverC);
        for (int i = 0; i < 4; ++i) {
            const std::vector<DX_V::SPC> v = ReadVertices(layer.borderQuads[i]);
            ASSERT_EQ(4u, v.size());
            EXPECT_FLOAT_EQ(c.bars[i][0], v[1].x) << "bar " << i;
            EXPECT_FLOAT_EQ(c.bars[i][1], v[1].y) << "bar " << i;
            EXPECT_FLOAT_EQ(c.bars[i][2], v[2].x) << "bar " << i;
            EXPECT_FLOAT_EQ(c.bars[i][3], v[2].y) << "bar " << i;
            EXPECT_EQ(0xFF000000u, v[0].color);
        }
    }
}

// The phase is shared, starts where the first frame finds the clock, and is
// kept within one period without changing what it shows.
TEST_F(GlassBallTest, MotionScrollsAndSwaysOnTheSharedPhase)
{
    DS_GlassBallLight::ResetSharedMotion();
    DS_GlassBallLight layer;
    layer.OnDeviceCreated();
    layer.SetSize(256, 256);
    layer.motionMode.value = DS_GlassBallLight::ScrollOneWay;
    layer.FrameMove(100.0f);
    EXPECT_EQ(0.0f, DS_GlassBallLight::SharedMotionPhase());
    layer.FrameMove(116.0f);
    EXPECT_FLOAT_EQ(1.0f, DS_GlassBallLight::SharedMotionPhase());
    const std::vector<DX_V::SPCT> first = ReadVertices(layer.scrollQuads[0]);
    const std::vector<DX_V::SPCT> second = ReadVertices(layer.scrollQuads[1]);
    ASSERT_EQ(4u, first.size());
    ASSERT_EQ(4u, second.size());
    EXPECT_FLOAT_EQ(128.0f, first[0].x);
    EXPECT_FLOAT_EQ(384.0f, first[3].x);
    EXPECT_FLOAT_EQ(-128.0f, second[0].x);
    EXPECT_FLOAT_EQ(128.0f, second[3].x);

    // A second layer advances the same phase; a still one leaves it alone.
    DS_GlassBallLight other;
    other.motionMode.value = DS_GlassBallLight::Sway;
    const struct {
        float time, phase, sway;
    } steps[] = {{124.0f, 1.5f, 0.0f}, {132.0f, 0.0f, 1.0f}, {140.0f, 0.5f, 0.0f}, {148.0f, 1.0f, -1.0f}};
    for (const auto& s : steps) {
        other.FrameMove(s.time);
        EXPECT_FLOAT_EQ(s.phase, DS_GlassBallLight::SharedMotionPhase()) << s.time;
        EXPECT_NEAR(s.sway, other.sway, 1e-6f) << s.time;
    }
    other.motionMode.value = DS_GlassBallLight::Still;
    other.FrameMove(1000.0f);
    EXPECT_EQ(0.0f, other.sway);
    other.motionMode.value = DS_GlassBallLight::Sway;
    other.FrameMove(156.0f);
    EXPECT_FLOAT_EQ(1.5f, DS_GlassBallLight::SharedMotionPhase()) << "a still frame keeps the previous time";

    // Hours of play stay within one period.
    other.FrameMove(1.0e6f);
    EXPECT_GE(DS_GlassBallLight::SharedMotionPhase(), 0.0f);
    EXPECT_LT(DS_GlassBallLight::SharedMotionPhase(), 2.0f);
}

// Inside the ball the picture is seen refracted and, as the phase sways,
// moving; outside and in the corners of the ball's square the backdrop
// shows; the shadow darkens the backdrop below the ball only.
TEST_F(GlassBallFrameTest, BallRefractsTheSceneOverItsBackdrop)
{
    ComHolder<IDirect3DTexture9> shade = SolidTexture(Device(), 0x80000000);
    AddPicture(manager, ShadowKey, shade.Get(), 4, 4);
    layer.shadowImage.value = ShadowKey;
    layer.shadowSwitch.value = 1;
    ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);

    const Pixels first = Frame(10.0f);
    for (auto [x, y] : {std::pair{10, 10}, {245, 20}, {128, 60}, {30, 128}, {226, 128}, {153, 103}, {103, 103}})
        EXPECT_TRUE(ColourNear(first.At(x, y), Blue, 2)) << x << "," << y;
    const Rgba below = first.At(128, 170);
    EXPECT_TRUE(ColourNear(below, Rgba{0, 0, 128, 255}, 3)) << below;

    // The plain picture would show red = x; the ball shows other columns.
    for (int x : {128, 138, 148}) {
        const Rgba inside = first.At(x, 128);
        EXPECT_EQ(0, inside.b) << x;
        EXPECT_GT(std::abs(inside.r - x), 12) << x;
    }

    // Half a sway later the refracted scene has moved; the backdrop has not.
    const Pixels later = Frame(18.0f);
    EXPECT_GT(std::abs(later.At(128, 128).r - first.At(128, 128).r), 16);
    EXPECT_TRUE(ColourNear(later.At(10, 10), Blue, 2));
}

// Scrolling one way or the other, the ball shows the captured scene moved
// sideways by f × W and wrapped: half a phase unit in, mode 1 (f = 0.75) and
// mode 2 (f = 0.25) show the ramp's red a quarter turn on either side of the
// still frame's. A device reset in between changes nothing.
TEST_F(GlassBallFrameTest, ScrollModesMoveTheSceneSidewaysAlsoAfterAReset)
{
    ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    const struct {
        int mode, shift;
    } cases[] = {{DS_GlassBallLight::ScrollOneWay, 64}, {DS_GlassBallLight::ScrollOtherWay, -64}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        DS_GlassBallLight::ResetSharedMotion();
        layer.motionMode.value = c.mode;
        const int still = Frame(10.0f).At(128, 128).r;
        const Pixels moved = Frame(18.0f);
        ASSERT_FLOAT_EQ(0.5f, DS_GlassBallLight::SharedMotionPhase());
        const int expected = (still + c.shift + 256) % 256;
        EXPECT_NEAR(expected, moved.At(128, 128).r, 3) << "still " << still;
        EXPECT_TRUE(ColourNear(moved.At(10, 10), Blue, 2));

        layer.OnDeviceInvalidated();
        ASSERT_EQ(D3D_OK, device.Reset());
        layer.OnDeviceRestored();
        const Pixels after = Frame(18.0f);
        EXPECT_NEAR(moved.At(128, 128).r, after.At(128, 128).r, 1);
        EXPECT_NEAR(moved.At(140, 120).r, after.At(140, 120).r, 1);
        EXPECT_TRUE(ColourNear(after.At(10, 10), Blue, 2));
    }
}

// Activation leaves stage 1 off, so a texture some earlier draw left there
// does not colour the picture and objects drawn before the ball.
TEST_F(GlassBallFrameTest, ActivationLeavesTheSecondStageOff)
{
    ComHolder<IDirect3DTexture9> green = SolidTexture(Device(), 0xFF00FF00);
    Device()->SetTexture(1, green.Get());
    ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    const Pixels shown = Frame(0.0f);
    EXPECT_EQ(0, shown.At(128, 128).g);
    EXPECT_GT(shown.At(128, 128).r, 100);
}

// The ball's place follows its position: right by x, down by y.
TEST_F(GlassBallFrameTest, PositionMovesTheBall)
{
    layer.position.value = POINT{100, 60};
    ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    const Pixels shown = Frame(0.0f);
    EXPECT_TRUE(ColourNear(shown.At(128, 128), Blue, 2));
    double sumX = 0;
    double sumY = 0;
    int count = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            if (!ColourNear(shown.At(x, y), Blue, 8)) {
                sumX += x;
                sumY += y;
                ++count;
            }
    ASSERT_GT(count, 1000);
    EXPECT_GT(sumX / count, 170.0);
    EXPECT_GT(sumY / count, 150.0);
}

// Drawing into another surface during the capture returns to the layer's
// own size and to the capture's placement.
TEST_F(GlassBallFrameTest, ViewSizePushedInsideTheCaptureIsPoppedBack)
{
    ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    layer.FrameMove(0.0f);
    layer.BeginSceneCapture();
    D3DSURFACE_DESC surface{};
    surface.Width = 512;
    surface.Height = 512;
    layer.PushViewSize(surface, SceneView::Capture);
    EXPECT_EQ(512, layer.layerWidth);
    layer.PopViewSize();
    EXPECT_EQ(256, layer.layerWidth);
    EXPECT_EQ(256, layer.layerHeight);
    EXPECT_EQ(SceneView::Capture, view.mode);
    layer.EndSceneCapture(false);
}

// A layer without a size, a portrait picture or one without any size place
// the ball without infinities.
TEST_F(GlassBallTest, PlacementStaysFiniteWithoutSizes)
{
    const struct {
        UINT width, height;
        int layerSize;
    } cases[] = {{256, 256, 0}, {100, 200, 256}, {0, 0, 256}};
    for (const auto& c : cases) {
        ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF808080);
        AddPicture(manager, PictureKey, c.width ? picture.Get() : nullptr, c.width, c.height);
        DS_GlassBallLight layer;
        layer.pictureLink.value = PictureKey;
        layer.OnDeviceCreated();
        layer.SetSize(c.layerSize, c.layerSize);
        layer.OnDeviceRestored();
        layer.FrameMove(1.0f);
        Device()->BeginScene();
        layer.BeginSceneCapture();
        layer.DrawBackground(false);
        layer.FinishFrame();
        Device()->EndScene();
        EXPECT_TRUE(std::isfinite(layer.k0) && std::isfinite(layer.k1)) << c.width << " " << c.layerSize;
        EXPECT_TRUE(std::isfinite(layer.coverG) && std::isfinite(layer.coverC));
        EXPECT_TRUE(std::isfinite(layer.offsetE) && std::isfinite(layer.offsetF));
        EXPECT_TRUE(Finite(layer.stage1Matrix)) << c.width << " " << c.layerSize;
    }
}

// A device without 16-bit slopes bends the scene through 8-bit ones, and one
// without an alpha-only format masks the ball's square with a 32-bit mask:
// either way the frame shows the refracted picture inside a round ball over
// the backdrop, as with every format.
TEST_F(GlassBallFrameTest, FormatsTheDeviceLacksFallBackToOnesItHas)
{
    const struct {
        std::vector<D3DFORMAT> withheld;
        D3DFORMAT bump, mask;
    } cases[] = {
        {{}, D3DFMT_V16U16, D3DFMT_A8},
        {{D3DFMT_V16U16}, D3DFMT_V8U8, D3DFMT_A8},
        {{D3DFMT_A8}, D3DFMT_V16U16, D3DFMT_A8R8G8B8},
        {{D3DFMT_V16U16, D3DFMT_A8}, D3DFMT_V8U8, D3DFMT_A8R8G8B8},
    };
    Pixels everyFormat;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.withheld.size() << " withheld, bump " << c.bump);
        WithholdTextureFormatsForTesting(c.withheld);
        DS_GlassBallLight::ResetSharedMotion();
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
        WithholdTextureFormatsForTesting({});
        ASSERT_TRUE(layer.bumpMap && layer.discMask);
        D3DSURFACE_DESC bump{};
        D3DSURFACE_DESC mask{};
        layer.bumpMap->GetLevelDesc(0, &bump);
        layer.discMask->GetLevelDesc(0, &mask);
        EXPECT_EQ(c.bump, bump.Format);
        EXPECT_EQ(c.mask, mask.Format);

        const Pixels shown = Frame(10.0f);
        for (auto [x, y] : {std::pair{10, 10}, {245, 20}, {128, 60}, {153, 103}, {103, 103}, {103, 153}})
            EXPECT_TRUE(ColourNear(shown.At(x, y), Blue, 2)) << x << "," << y;
        for (int x : {128, 138, 148}) {
            const Rgba inside = shown.At(x, 128);
            EXPECT_EQ(0, inside.b) << x;
            EXPECT_GT(std::abs(inside.r - x), 12) << x;
        }
        if (everyFormat.Empty())
            everyFormat = shown;
        // The coarser slopes bend the scene all but the same way.
        for (int x = 100; x <= 156; x += 8)
            EXPECT_NEAR(everyFormat.At(x, 128).r, shown.At(x, 128).r, 6) << x;
    }
}

// The bump map's format is one the device bump-maps with
// (D3DUSAGE_QUERY_LEGACYBUMPMAP): a device that makes V16U16 textures but
// does not bump-map with them gets V8U8 slopes.
TEST_F(GlassBallFrameTest, BumpFormatsAreAskedForBumpMapping)
{
    WithholdBumpMapFormatsForTesting({D3DFMT_V16U16});
    ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    WithholdBumpMapFormatsForTesting({});
    ASSERT_TRUE(layer.bumpMap);
    D3DSURFACE_DESC bump{};
    layer.bumpMap->GetLevelDesc(0, &bump);
    EXPECT_EQ(D3DFMT_V8U8, bump.Format);
}

// A frame keeps the restore's mip filter on sampler 0, through which the
// backdrop and the overlays draw their mip chains.
TEST_F(GlassBallFrameTest, AFrameKeepsTheMipFilter)
{
    ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    Frame(1.0f);
    DWORD mip = 0;
    Device()->GetSamplerState(0, D3DSAMP_MIPFILTER, &mip);
    EXPECT_EQ(static_cast<DWORD>(D3DTEXF_LINEAR), mip);
}
