// The water-ring layer: its record and settings, timed drops, the grid it
// makes for its picture, and what it draws in both modes and after a reset.
#include "scene/layers/DS_WaterRingLight.h"

#include "foundation/core/Random.h"
#include "foundation/core/RandomForTesting.h"
#include "foundation/render/TextureAddressing.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tests/support/ReferenceRandom.h"
#include "tools/document/WaterRingRecord.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A 4:3 back buffer with a 4:3 picture in Fit mode: the water fills it.
using WaterRingTest = LayerTest<256, 192>;

const FileKey PictureKey{L"pond.png", 3};
const D3DXVECTOR3 Eye(0.0f, 120.0f, 0.0f);

// Puts the grid at rest, flat, and writes its vertices.
void Calm(DS_WaterRingLight& layer)
{
    std::fill(layer.grid->cells.begin(), layer.grid->cells.end(), WaterGrid::Cell{0.0f, 0.0f});
    layer.grid->WriteVertices(Eye);
}

} // namespace

// Version 2 holds the nine settings before the mode; version 1 only the mode,
// the settings keeping their defaults. The scaled settings' results follow.
TEST(DS_WaterRingLight, RecordVersionsReadTheirOwnFields)
{
    WaterRingContent content;
    content.waveSpeed = 10;
    content.rowDensity = 20;
    content.columnDensity = 30;
    content.dropStrength = 40;
    content.damping = 60;
    content.refractionDepth = 70;
    content.dropRate = 120;
    content.shine = 50;
    content.shinePower = 25;
    content.mode = 1;
    content.light.picturePath = L"pond.png";

    DS_WaterRingLight v2;
    EXPECT_EQ(0u, ReadRecordInto(WaterRingRecordBytes(content), v2));
    EXPECT_EQ(10u, v2.waveSpeed.value);
    EXPECT_EQ(20u, v2.rowDensity.value);
    EXPECT_EQ(30u, v2.columnDensity.value);
    EXPECT_EQ(40u, v2.dropStrength.value);
    EXPECT_EQ(60u, v2.damping.value);
    EXPECT_EQ(70u, v2.refractionDepth.value);
    EXPECT_FLOAT_EQ(2.0f, v2.dropRate.result);
    EXPECT_FLOAT_EQ(0.5f, v2.shine.result);
    EXPECT_FLOAT_EQ(20.0f, v2.shinePower.result);
    EXPECT_EQ(1, v2.mode.value);
    EXPECT_EQ(L"pond.png", v2.pictureLink.value.path);

    content.version = 1;
    DS_WaterRingLight v1;
    EXPECT_EQ(0u, ReadRecordInto(WaterRingRecordBytes(content), v1));
    EXPECT_EQ(0u, v1.waveSpeed.value);
    EXPECT_EQ(50u, v1.dropStrength.value);
    EXPECT_EQ(20u, v1.refractionDepth.value);
    EXPECT_FLOAT_EQ(0.5f, v1.dropRate.result);
    EXPECT_FLOAT_EQ(0.9f, v1.shine.result);
    EXPECT_NEAR(40.0f, v1.shinePower.result, 1e-5f);
    EXPECT_EQ(1, v1.mode.value);
    EXPECT_EQ(L"pond.png", v1.pictureLink.value.path);
}

TEST(DS_WaterRingLight, WriteGivesTheVersion2Record)
{
    DS_WaterRingLight layer;
    layer.waveSpeed.value = 3;
    layer.damping.value = 80;
    layer.dropRate.SetValue(60, nullptr);
    layer.mode.value = 1;
    WritingHandle out;
    layer.Write(out.handle);

    WaterRingContent expected;
    expected.waveSpeed = 3;
    expected.damping = 80;
    expected.dropRate = 60;
    expected.mode = 1;
    EXPECT_EQ(WaterRingRecordBytes(expected), out.archive->Bytes());
}

TEST(DS_WaterRingLight, DampingFollowsTheSetting)
{
    const std::pair<unsigned, float> cases[] = {{0, 0.9f}, {49, 0.9882f}, {50, 0.99f}, {100, 0.999f}};
    for (const auto& [value, damping] : cases)
        EXPECT_NEAR(damping, WaterDampingFromSetting(value), 1e-6f) << value;
}

// The device objects give the grid its settings and a size from the
// picture's proportions; a picture far wider than high, or none at all,
// still gives a grid that can take drops.
TEST_F(WaterRingTest, GridTakesItsSettingsAndThePicturesProportions)
{
    struct Case {
        const char* what;
        UINT width, height;
        uint32_t columns, rows;
    };
    const Case cases[] = {
        {"4:3", 400, 300, 128, 96},
        {"100:1", 3000, 30, 128, 4},
        {"no picture", 0, 0, 128, 128},
    };
    ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF336699);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AddPicture(manager, PictureKey, c.width ? picture.Get() : nullptr, c.width, c.height);
        DS_WaterRingLight layer;
        ActivateLayer(layer, PictureKey, 256, 192, SceneView::Fit);
        const WaterGrid& grid = *layer.grid;
        EXPECT_EQ(c.columns, grid.columns);
        EXPECT_EQ(c.rows, grid.rows);
        EXPECT_FLOAT_EQ(1.0f, grid.stepScale);
        EXPECT_FLOAT_EQ(0.45f, grid.dropStrength);
        EXPECT_FLOAT_EQ(0.99f, grid.damping);
        EXPECT_FLOAT_EQ(0.2f, grid.refractionDepth);
        // The drop of the activation touched nine cells.
        EXPECT_EQ(9, std::count_if(grid.cells.begin(), grid.cells.end(),
                                   [](const WaterGrid::Cell& cell) { return cell.velocity != 0.0f; }));
    }
}

// At 0.5 drops per second a drop falls each time more than two seconds have
// passed since the last; a clock that goes back restarts the interval; a
// rate of 0 gives none. Each drop takes two draws of the generator.
TEST_F(WaterRingTest, DropsFallAtTheirRate)
{
    ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF336699);
    AddPicture(manager, PictureKey, picture.Get(), 400, 300);
    DS_WaterRingLight layer;
    ActivateLayer(layer, PictureKey, 256, 192, SceneView::Fit);

    struct Frame {
        float time;
        bool drop;
    };
    const Frame frames[] = {{0.0f, false}, {1.0f, false}, {2.0f, false}, {2.5f, true},
                            {4.4f, false}, {4.6f, true},  {3.0f, false}, {5.1f, true}};
    const uint32_t state = 99;
    ResetRandForTesting(state);
    ReferenceRandom lcg(state);
    for (const Frame& f : frames) {
        SCOPED_TRACE(f.time);
        layer.FrameMove(f.time);
        if (f.drop) {
            lcg.Next();
            lcg.Next();
        }
        const int expected = lcg.Next();
        ASSERT_EQ(expected, Rand());
    }

    layer.dropRate.SetValue(0, nullptr);
    ResetRandForTesting(state);
    layer.FrameMove(100.0f);
    EXPECT_EQ(ReferenceRandom(state).Next(), Rand());
    ResetRandForTesting(1);
}

namespace {

// A frame as the slide draws it for a layer without objects; the back
// buffer as it ends.
Pixels DrawFrame(TestDevice& device, DS_WaterRingLight& layer)
{
    IDirect3DDevice9* d = device.Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    d->BeginScene();
    if (layer.NeedsSceneCapture())
        layer.BeginSceneCapture();
    layer.DrawBackground(false);
    layer.FinishFrame();
    d->EndScene();
    return device.ReadBackBuffer();
}

// The cell picture's colour where flat water shows it, at the middle of the
// cells near the centre, where the slight zoom of the water does not reach
// a cell edge.
void ExpectCellsThroughFlatWater(const Pixels& pixels)
{
    for (int row = 1; row <= 2; ++row) {
        for (int column = 1; column <= 2; ++column) {
            const int x = pixels.Width() * (2 * column + 1) / 8;
            const int y = pixels.Height() * (2 * row + 1) / 8;
            EXPECT_TRUE(ColourNear(pixels.At(x, y), CellColour(column, row), 24)) << column << ", " << row;
        }
    }
}

} // namespace

// In mode 0 the water over the picture is drawn with the background; in mode
// 1 the picture goes into the capture and the water over it is drawn in the
// finishing pass. Either way the first frame after the activation, before
// any step, shows the picture through flat water.
TEST_F(WaterRingTest, FlatWaterShowsThePictureInBothModes)
{
    ComHolder<IDirect3DTexture9> cells = CellTexture(Device(), 64);
    AddPicture(manager, PictureKey, cells.Get(), 400, 300);
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        DS_WaterRingLight layer;
        layer.mode.value = mode;
        ActivateLayer(layer, PictureKey, 256, 192, SceneView::Fit);
        EXPECT_EQ(mode == 1, layer.NeedsSceneCapture());
        ExpectCellsThroughFlatWater(DrawFrame(device, layer));

        IDirect3DDevice9* d = Device();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        d->BeginScene();
        if (layer.NeedsSceneCapture())
            layer.BeginSceneCapture();
        layer.DrawBackground(false);
        if (mode == 1)
            layer.EndSceneCapture(false);
        d->EndScene();
        const Pixels background = device.ReadBackBuffer();
        // Mode 0 has drawn the water already; mode 1 only the capture.
        EXPECT_EQ(mode == 0, background.At(96, 72).Brightness() > 20.0) << background.At(96, 72);
    }
}

// A drop at a known place spreads into a ring whose slopes catch the light:
// highlights around the place, still water far from it.
TEST_F(WaterRingTest, DropMakesALitRing)
{
    const D3DCOLOR pond = 0xFF203040;
    ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), pond);
    AddPicture(manager, PictureKey, picture.Get(), 400, 300);
    DS_WaterRingLight layer;
    layer.dropRate.SetValue(0, nullptr);
    ActivateLayer(layer, PictureKey, 256, 192, SceneView::Fit);
    Calm(layer);
    const Pixels still = DrawFrame(device, layer);

    const uint32_t state = 4242;
    ResetRandForTesting(state);
    layer.grid->AddRandomDrop();
    ResetRandForTesting(1);
    ReferenceRandom lcg(state);
    const WaterGrid& grid = *layer.grid;
    const float cx = static_cast<float>(lcg.Next() % (grid.columns - 2) + 1) / (grid.columns - 1) * 256.0f;
    const float cy = static_cast<float>(lcg.Next() % (grid.rows - 2) + 1) / (grid.rows - 1) * 192.0f;
    for (int step = 1; step <= 12; ++step)
        layer.FrameMove(0.05f * step);
    const Pixels rippled = DrawFrame(device, layer);
    double lighter = 0.0;
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 256; ++x) {
            const double distance = std::hypot(x - cx, y - cy);
            const double change = rippled.At(x, y).Brightness() - still.At(x, y).Brightness();
            if (distance < 40.0) {
                lighter = std::max(lighter, change);
            } else if (distance > 80.0) {
                ASSERT_TRUE(ColourNear(rippled.At(x, y), still.At(x, y), 3)) << x << ", " << y;
            }
        }
    }
    // The picture is one colour, so refraction changes nothing: what changes
    // is the light the ring's slopes catch.
    EXPECT_GT(lighter, 10.0);
}

// Before a reset the layer lets go of its default-pool buffers and textures,
// so the reset succeeds; restored, the water draws again in both modes, and
// the document's device objects (a brush's render-target pair here) are made
// again too.
TEST_F(WaterRingTest, DrawsAgainAfterADeviceReset)
{
    ComHolder<IDirect3DTexture9> cells = CellTexture(Device(), 64);
    AddPicture(manager, PictureKey, cells.Get(), 400, 300);
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        RenderTargetPair brushPair;
        brushPair.Create(64, 64);
        manager.Table().renderTargets[GuidKey::Fresh()] = &brushPair;
        DS_WaterRingLight layer;
        layer.mode.value = mode;
        ActivateLayer(layer, PictureKey, 256, 192, SceneView::Fit);
        layer.FrameMove(0.1f);
        DrawFrame(device, layer);

        layer.OnDeviceInvalidated();
        EXPECT_FALSE(layer.grid->vertexBuffer);
        EXPECT_FALSE(layer.grid->indexBuffer);
        EXPECT_FALSE(brushPair.current);
        ASSERT_EQ(D3D_OK, device.Reset());
        layer.OnDeviceRestored();
        EXPECT_TRUE(brushPair.current);
        manager.Table().renderTargets.clear();
        Calm(layer);
        ExpectCellsThroughFlatWater(DrawFrame(device, layer));
    }
}

// The water's draw leaves stage 0 selecting the texture, as the layer's
// other draws expect it, and no texture bound, in both modes. In mode 1 the
// capture as large as the screen is mirrored at the edges on a device that
// can mirror it and clamped on one with only conditional support for
// textures whose sides are not powers of two.
TEST_F(WaterRingTest, TheWaterLeavesStageZeroAsItFoundItAndAddressesTheCaptureSafely)
{
    ComHolder<IDirect3DTexture9> cells = CellTexture(Device(), 64);
    AddPicture(manager, PictureKey, cells.Get(), 400, 300);
    for (int mode : {0, 1}) {
        for (const bool conditional : {false, true}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << (conditional ? ", conditional" : ""));
            DS_WaterRingLight layer;
            layer.mode.value = mode;
            ActivateLayer(layer, PictureKey, 256, 192, SceneView::Fit);
            PretendConditionalNonPow2ForTesting(conditional);
            const Pixels shown = DrawFrame(device, layer);
            PretendConditionalNonPow2ForTesting(false);
            ExpectCellsThroughFlatWater(shown);

            IDirect3DDevice9* d = Device();
            DWORD op = 0, arg1 = 0, address = 0;
            d->GetTextureStageState(0, D3DTSS_COLOROP, &op);
            d->GetTextureStageState(0, D3DTSS_COLORARG1, &arg1);
            EXPECT_EQ(static_cast<DWORD>(D3DTOP_SELECTARG1), op);
            EXPECT_EQ(static_cast<DWORD>(D3DTA_TEXTURE), arg1);
            IDirect3DBaseTexture9* bound = nullptr;
            d->GetTexture(0, &bound);
            EXPECT_EQ(nullptr, bound);
            if (bound)
                bound->Release();
            // The 256 x 192 capture is not a power of two high; the 64 x 64
            // picture of mode 0 is.
            d->GetSamplerState(0, D3DSAMP_ADDRESSU, &address);
            const bool clamped = mode == 1 && conditional;
            EXPECT_EQ(static_cast<DWORD>(clamped ? D3DTADDRESS_CLAMP : D3DTADDRESS_MIRROR), address);
        }
    }
}
