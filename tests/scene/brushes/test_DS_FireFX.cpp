// The fire brush: its record, its grid, the parameters it hands the fire
// effect and the flames it draws through its mask.
#include "tests/support/BrushTestSupport.h"

#include "foundation/render/SceneView.h"
#include "scene/brushes/DS_BrushObj.h"
#include "scene/brushes/DS_FireFX.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tests/support/RenderTestSupport.h"
#include "tools/document/BrushRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const FileKey PictureKey{L"picture.png", 3};

using FireTest = LayerTest<128, 128>;

// The fire in the flame layer of a document: defaults but for the pattern.
FireContent LayerFire()
{
    FireContent fire;
    fire.patternStamp = 7;
    fire.base.name = L"";
    return fire;
}

float Read1(ID3DXEffect* effect, const char* name)
{
    float value = NAN;
    effect->GetFloat(name, &value);
    return value;
}

std::vector<float> ReadN(ID3DXEffect* effect, const char* name, UINT count)
{
    std::vector<float> values(count, NAN);
    effect->GetFloatArray(name, values.data(), count);
    return values;
}

double MeanBrightness(const Pixels& pixels, int x0, int y0, int x1, int y1)
{
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            sum += pixels.At(x, y).Brightness();
    return sum / ((x1 - x0) * (y1 - y0));
}

double MaxBrightness(const Pixels& pixels, int x0, int y0, int x1, int y1)
{
    double brightest = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            brightest = std::max(brightest, pixels.At(x, y).Brightness());
    return brightest;
}

} // namespace

// The record of the fire in a flame layer reads to its values; a version 1
// record holds none of the fire's own fields, which keep their defaults.
TEST(FireRecord, ReadsItsFieldsThenTheBrushBase)
{
    FireContent content = LayerFire();
    content.corners[2][0] = 640.0f;
    content.firstColour = 0x0020A0FF;
    content.density = 150;
    content.repeat = 50;
    DS_FireFX fire;
    EXPECT_EQ(0u, ReadRecordInto(FireRecordBytes(content), fire));
    EXPECT_EQ(640.0f, fire.quad.corners[2].value.x);
    EXPECT_EQ(0x0020A0FFul, fire.firstColour.value);
    EXPECT_EQ(0x000000FFul, fire.secondColour.value);
    EXPECT_EQ(7, fire.patternLink.value.stamp);
    EXPECT_EQ(8, fire.noiseLink.value.stamp);
    EXPECT_NEAR(0.5f, fire.density.result, 1e-6f);
    EXPECT_FLOAT_EQ(0.3f, fire.brightness.result);
    EXPECT_FLOAT_EQ(0.5f, fire.repeat.result);
    EXPECT_EQ(92, fire.effectLink.value.stamp);
    EXPECT_FLOAT_EQ(1.0f, fire.speed.result);

    FireContent old = LayerFire();
    old.version = 1;
    old.base.speed = 60;
    DS_FireFX oldFire;
    EXPECT_EQ(0u, ReadRecordInto(FireRecordBytes(old), oldFire));
    EXPECT_EQ(93, oldFire.patternLink.value.stamp);
    EXPECT_EQ(0.0f, oldFire.quad.corners[3].value.y);
    EXPECT_FLOAT_EQ(1.2f, oldFire.speed.result);
}

// The default density is value 100 × 0.01 - 1 in single precision: not
// quite 0.
TEST(FireRecord, DefaultDensityIsAlmostZero)
{
    const DS_FireFX fire;
    EXPECT_NE(0.0f, fire.density.result);
    EXPECT_NEAR(-2.2e-8f, fire.density.result, 1e-8f);
}

// The grid spans the corners with u from 0 to 1 / repeat; a repeat of 0
// stops at the smallest repeat instead of infinity.
TEST_F(FireTest, GridSpansTheCornersWithTheRepeat)
{
    for (const unsigned repeat : {100u, 50u, 0u}) {
        SCOPED_TRACE(repeat);
        DS_FireFX fire;
        const D3DXVECTOR3 corners[4] = {{10, 90, 0}, {10, 20, 0}, {110, 90, 0}, {110, 20, 0}};
        for (int i = 0; i < 4; ++i)
            fire.quad.corners[i].value = corners[i];
        fire.repeat.SetValue(repeat, nullptr);
        fire.BindResources(nullptr);
        ASSERT_EQ(81u, fire.grid.vertexCount);
        EXPECT_EQ(128u, fire.grid.indexedPrimitiveCount);
        const std::vector<DX_V::PT> vertices = ReadVertices(fire.grid);
        float uMax = 0, xMin = 1e9f, xMax = -1e9f, yMin = 1e9f, yMax = -1e9f;
        for (const DX_V::PT& v : vertices) {
            ASSERT_TRUE(std::isfinite(v.u) && std::isfinite(v.v));
            uMax = std::max(uMax, v.u);
            xMin = std::min(xMin, v.x);
            xMax = std::max(xMax, v.x);
            yMin = std::min(yMin, v.y);
            yMax = std::max(yMax, v.y);
        }
        EXPECT_FLOAT_EQ(repeat == 0 ? 100.0f : 100.0f / static_cast<float>(repeat), uMax);
        EXPECT_EQ(10.0f, xMin);
        EXPECT_EQ(110.0f, xMax);
        EXPECT_EQ(20.0f, yMin);
        EXPECT_EQ(90.0f, yMax);
    }
}

// What the fire hands its effect: the colours as base and difference, the
// three scrolls from the brush time, the background scale (1, 1 while the
// layer captures), brightness and density.
TEST_F(FireTest, ParametersFollowTheColoursAndTheClock)
{
    AddFirePictures(Device(), manager);
    const ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF000000);
    AddPicture(manager, PictureKey, picture.Get(), 128, 128);
    DS_2D_Light layer;
    ActivateLayer(layer, PictureKey, 128, 128, SceneView::Fit);

    DS_FireFX fire;
    fire.BindResources(nullptr);
    ASSERT_TRUE(fire.effect);
    RunFor(fire, 10.0f);
    Device()->BeginScene();
    fire.Apply(layer);
    Device()->EndScene();
    ID3DXEffect* e = fire.effect.Get();
    EXPECT_EQ((std::vector<float>{1, 0, 0}), ReadN(e, "ColorK1", 3));
    EXPECT_EQ((std::vector<float>{0, 1, 0}), ReadN(e, "ColorK2", 3));
    EXPECT_EQ(0.0f, ReadN(e, "c11", 2)[0]);
    EXPECT_NEAR(13.0f, ReadN(e, "c11", 2)[1], 1e-4f);
    EXPECT_NEAR(21.0f, ReadN(e, "c12", 2)[1], 1e-4f);
    EXPECT_NEAR(23.0f, ReadN(e, "c13", 2)[1], 1e-4f);
    EXPECT_FLOAT_EQ(0.3f, Read1(e, "Brightness"));
    EXPECT_EQ(fire.density.result, Read1(e, "Density"));

    fire.secondColour.value = fire.firstColour.value;
    layer.BeginSceneCapture();
    fire.Apply(layer);
    layer.EndSceneCapture(false);
    EXPECT_EQ((std::vector<float>{0, 0, 0}), ReadN(e, "ColorK2", 3));
    EXPECT_EQ((std::vector<float>{1, 1}), ReadN(e, "bg_scale_factor", 2));
}

// Flames burn where the mask lets them, inside the corners, and nowhere
// else: the masked-off half of the area and everything outside it keep the
// picture exactly. The fire never asks for the scene behind it.
TEST_F(FireTest, FlamesShowOnlyThroughTheMask)
{
    AddFirePictures(Device(), manager);
    const ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF101020);
    AddPicture(manager, PictureKey, picture.Get(), 128, 128);
    DS_2D_Light layer;
    ActivateLayer(layer, PictureKey, 128, 128, SceneView::Stretch);

    DS_FireFX fire;
    fire.backgroundFlag.value = 1;
    const D3DXVECTOR3 corners[4] = {{16, 24, 0}, {16, 120, 0}, {112, 24, 0}, {112, 120, 0}};
    for (int i = 0; i < 4; ++i)
        fire.quad.corners[i].value = corners[i];
    // The mask covers the picture's left half only.
    std::vector<uint8_t> leftHalf(64, 0);
    std::fill(leftHalf.begin(), leftHalf.begin() + 32, uint8_t{255});
    manager.GuidTexture(fire.maskIdentity) = AlphaTexture(Device(), 64, 1, leftHalf).Get();
    const CountedPtr<DS_ABObj> object(fire.CreateObject());
    EXPECT_FALSE(object->NeedsBackground());
    for (float t = 0.2f; t <= 1.0f; t += 0.2f)
        object->Update(t);

    const Pixels pixels = DrawSlideFrame(device, layer, {object});
    const Rgba plain = Rgba::FromArgb(0xFF101020);
    EXPECT_GT(MaxBrightness(pixels, 16, 70, 62, 120), 120.0) << "no flames in the masked half";
    EXPECT_TRUE(pixels.AllNear(66, 0, 128, 128, plain, 1));
    EXPECT_TRUE(pixels.AllNear(0, 0, 128, 22, plain, 1));
    EXPECT_TRUE(pixels.AllNear(0, 0, 14, 128, plain, 1));
}

// A document's fire brush puts corners 0 and 2 along the top of its area
// and 1 and 3 along the bottom (texture v grows downwards, as on the flame
// band): the flames' bright body sits at the bottom of the rectangle and
// fades out towards the top.
TEST_F(FireTest, FlamesRiseFromTheBottomOfTheArea)
{
    AddFirePictures(Device(), manager);
    const ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF000000);
    AddPicture(manager, PictureKey, picture.Get(), 128, 128);
    DS_2D_Light layer;
    ActivateLayer(layer, PictureKey, 128, 128, SceneView::Stretch);

    DS_FireFX fire;
    const D3DXVECTOR3 corners[4] = {{16, 24, 0}, {16, 120, 0}, {112, 24, 0}, {112, 120, 0}};
    for (int i = 0; i < 4; ++i)
        fire.quad.corners[i].value = corners[i];
    manager.GuidTexture(fire.maskIdentity) = AlphaTexture(Device(), 1, 1, {255}).Get();
    const CountedPtr<DS_ABObj> object(fire.CreateObject());
    for (float t = 0.2f; t <= 1.0f; t += 0.2f)
        object->Update(t);

    const Pixels pixels = DrawSlideFrame(device, layer, {object});
    const double base = MeanBrightness(pixels, 16, 96, 112, 120);
    const double tips = MeanBrightness(pixels, 16, 24, 112, 48);
    EXPECT_GT(base, 60.0) << "no flames at the bottom";
    EXPECT_GT(base, 4 * tips) << "the flames burn from the top down";
}

// The mask lies on the picture, wherever the picture lies: fitted with bars
// above and below (the flames stay off the bars), filled and cropped, and
// zoomed by the camera. The fire spans the whole picture; the mask lets it
// through on one side of a picture column only, which must land on the
// screen where that column of the picture does.
TEST_F(FireTest, TheMaskFollowsThePictureInFitFillAndUnderTheCamera)
{
    AddFirePictures(Device(), manager);
    const Rgba plain = Rgba::FromArgb(0xFF101020);
    const Rgba bar{0, 0, 0, 255};
    const struct Case {
        const char* name;
        int mode;
        UINT width, height;
        int maskColumns; // of 64, from the left (negative: from the right)
        bool zoom;
        int top, bottom;     // the picture's rows on the screen (a bar's edge may
                             // cover its first)
        int clearTo, flames; // no flames left of clearTo .. flames beyond, or the reverse
    } cases[] = {
        // 128 × 64 fitted: rows 32..96; the left half burns, x < 64.
        {"fit", SceneView::Fit, 128, 64, 32, false, 32, 96, 66, 62},
        // 256 × 128 filled: picture columns 64..192 show; the left 3/8 of
        // the picture (x < 96) burns at screen x < 32.
        {"fill", SceneView::Fill, 256, 128, 24, false, 0, 128, 34, 30},
        // Fitted and zoomed 1.2 about the top-left corner: the right half
        // burns from picture column 64, on the screen from x 76.8; the bars
        // stay where they were.
        {"zoomed", SceneView::Fit, 128, 64, -32, true, 32, 96, 75, 79},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF101020);
        AddPicture(manager, PictureKey, picture.Get(), c.width, c.height);
        DS_2D_Light layer;
        ActivateLayer(layer, PictureKey, 128, 128, c.mode);
        if (c.zoom) {
            DSM_Camera& camera = layer.camera;
            camera.enabled.value = 1;
            camera.panMode.value = 1;
            camera.panFromX = camera.panToX = camera.panFromY = camera.panToY = -1.0f;
            camera.panStart = 0.0f;
            camera.panEnd = 1.0e6f;
        }
        layer.FrameMove(0.1f);

        DS_FireFX fire;
        const float w = static_cast<float>(c.width);
        const float h = static_cast<float>(c.height);
        const D3DXVECTOR3 corners[4] = {{0, h, 0}, {0, 0, 0}, {w, h, 0}, {w, 0, 0}};
        for (int i = 0; i < 4; ++i)
            fire.quad.corners[i].value = corners[i];
        std::vector<uint8_t> mask(64, 0);
        if (c.maskColumns > 0)
            std::fill(mask.begin(), mask.begin() + c.maskColumns, uint8_t{255});
        else
            std::fill(mask.end() + c.maskColumns, mask.end(), uint8_t{255});
        manager.GuidTexture(fire.maskIdentity) = AlphaTexture(Device(), 64, 1, mask).Get();
        const CountedPtr<DS_ABObj> object(fire.CreateObject());
        for (float t = 0.2f; t <= 1.0f; t += 0.2f)
            object->Update(t);

        const Pixels pixels = DrawSlideFrame(device, layer, {object});
        if (c.maskColumns > 0) {
            EXPECT_GT(MaxBrightness(pixels, 0, c.top, c.flames, c.bottom), 120.0) << "no flames through the mask";
            EXPECT_TRUE(pixels.AllNear(c.clearTo, c.top + 1, 128, c.bottom, plain, 1));
        } else {
            EXPECT_GT(MaxBrightness(pixels, c.flames, c.top, 128, c.bottom), 120.0) << "no flames through the mask";
            EXPECT_TRUE(pixels.AllNear(0, c.top + 1, c.clearTo, c.bottom, plain, 1));
        }
        if (c.top > 0)
            EXPECT_TRUE(pixels.AllNear(0, 0, 128, c.top - 1, bar, 1)) << "flames over the bar above";
        if (c.bottom < 128)
            EXPECT_TRUE(pixels.AllNear(0, c.bottom + 1, 128, 128, bar, 1)) << "flames over the bar below";
    }
}
