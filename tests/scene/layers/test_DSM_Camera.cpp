#include "scene/layerbase/DSM_Camera.h"

#include "foundation/core/RandomForTesting.h"
#include "foundation/core/SaverError.h"
#include "foundation/render/SceneView.h"
#include "scene/layers/DS_GlassBallLight.h"
#include "scene/layers/DS_MatrixCodeLight.h"
#include "scene/layers/DS_WaterRingLight.h"
#include "scene/layers/FakeLake2D.h"
#include "scene/layers/WaterGrid.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/BrushTestSupport.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/ReferenceRandom.h"
#include "tools/document/CameraRecord.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// A segment the camera should pick at clock time t from the sequence.
struct Segment {
    bool hold;
    float toX, toY, end;
};

Segment Predict(ReferenceRandom& lcg, float t, float fromX, float fromY)
{
    if (lcg.Next() % 2 == 0)
        return {true, fromX, fromY, t + 0.5f};
    const float x = 2.0f * static_cast<float>(lcg.Next()) / 32767.0f - 1.0f;
    const float y = 2.0f * static_cast<float>(lcg.Next()) / 32767.0f - 1.0f;
    const float length = 5.0f + 2.0f * static_cast<float>(lcg.Next()) / 32767.0f;
    return {false, x, y, t + length};
}

// A scene view of an 800 × 600 picture as the global one for each test,
// with a generator in its start-up state.
class CameraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = GlobalSceneView;
        GlobalSceneView = &view;
        view.imageWidth = 800;
        view.imageHeight = 600;
        ResetRandForTesting(1);
    }
    void TearDown() override
    {
        GlobalSceneView = saved;
        ResetRandForTesting(1);
    }

    // What the layer does when its slide becomes active.
    static void ResetPan(DSM_Camera& camera)
    {
        camera.panMode.value = 1;
        camera.panFromX = camera.panToX = camera.panFromY = camera.panToY = 0.0f;
        camera.panStart = camera.panEnd = 0.0f;
    }

    // The image point that the camera matrix keeps in place (the pan point).
    D3DXVECTOR2 FixedPoint() const
    {
        const float z = view.camera._11;
        return D3DXVECTOR2(view.camera._41 / (1.0f - z), view.camera._42 / (1.0f - z));
    }

    SceneView view;
    SceneView* saved = nullptr;
};

bool IsIdentity(D3DXMATRIX m)
{
    return D3DXMatrixIsIdentity(&m);
}

} // namespace

TEST(DSM_Camera, NewCameraIsDisabledWithZoomAndSpeedDefaults)
{
    const DSM_Camera camera;
    EXPECT_EQ(0, camera.enabled.value);
    EXPECT_EQ(120u, camera.zoom.value);
    EXPECT_FLOAT_EQ(1.2f, camera.zoom.result);
    EXPECT_EQ(50u, camera.speed.value);
    EXPECT_FLOAT_EQ(1.0f, camera.speed.result);
    EXPECT_EQ(0, camera.panMode.value);
    EXPECT_EQ(0.0f, camera.panEnd);
}

// A disabled camera, and an enabled one whose slide is not active, set the
// identity every frame, undoing whatever camera the shared view had.
TEST_F(CameraTest, CameraThatDoesNotPanKeepsTheIdentity)
{
    DSM_Camera disabled;
    ResetPan(disabled);
    DSM_Camera inactive;
    inactive.enabled.value = 1;
    for (DSM_Camera* camera : {&disabled, &inactive}) {
        view.SetCameraOffset(1.5f, 0.3f, 0.2f);
        camera->FrameMove(1.0f);
        EXPECT_TRUE(IsIdentity(view.camera));
        camera->FrameMove(1.1f);
        EXPECT_TRUE(IsIdentity(view.camera));
    }
    EXPECT_EQ(0.0f, disabled.panEnd);
}

// Forty seconds of frames: every segment is the one the generator's sequence
// predicts (parity, then x, then y, then length), holds keep their position
// for half a second, glides last 5 to 7 seconds, each segment starts where
// the last ended, and the zoom is 1.2 throughout.
TEST_F(CameraTest, SegmentsFollowTheGeneratorsSequence)
{
    DSM_Camera camera;
    camera.enabled.value = 1;
    ResetPan(camera);
    ReferenceRandom lcg(1);
    int holds = 0;
    int glides = 0;
    float lastEnd = 0.0f;
    for (int frame = 1; frame <= 400; ++frame) {
        const float before = camera.panEnd;
        const float fromX = camera.panToX;
        const float fromY = camera.panToY;
        camera.FrameMove(0.1f * static_cast<float>(frame));
        EXPECT_FLOAT_EQ(1.2f, view.camera._11);
        if (camera.panEnd == before)
            continue;
        SCOPED_TRACE(::testing::Message() << "segment at clock " << camera.panStart);
        EXPECT_GE(camera.panStart, lastEnd);
        lastEnd = camera.panEnd;
        const Segment expected = Predict(lcg, camera.panStart, fromX, fromY);
        EXPECT_EQ(fromX, camera.panFromX);
        EXPECT_EQ(fromY, camera.panFromY);
        EXPECT_EQ(expected.toX, camera.panToX);
        EXPECT_EQ(expected.toY, camera.panToY);
        EXPECT_EQ(expected.end, camera.panEnd);
        const float length = camera.panEnd - camera.panStart;
        if (expected.hold) {
            ++holds;
            EXPECT_FLOAT_EQ(0.5f, length);
        } else {
            ++glides;
            EXPECT_GE(length, 5.0f);
            EXPECT_LE(length, 7.0f);
            EXPECT_LE(std::fabs(camera.panToX), 1.0f);
            EXPECT_LE(std::fabs(camera.panToY), 1.0f);
        }
    }
    EXPECT_GT(holds, 0);
    EXPECT_GT(glides, 2);
}

// The first frame after activation glides from the centre; the position
// eases from the segment's start (no motion at first), is exactly midway at
// half time, and the pan point is what the scene view keeps fixed.
TEST_F(CameraTest, GlideEasesFromItsStartToItsEnd)
{
    DSM_Camera camera;
    camera.enabled.value = 1;
    ResetPan(camera);
    camera.FrameMove(0.1f);
    // The state-1 sequence starts with an odd draw: a glide.
    ASSERT_GT(camera.panEnd - camera.panStart, 1.0f);
    EXPECT_EQ(0.0f, camera.panFromX);
    EXPECT_NEAR(400.0f, FixedPoint().x, 1e-2f);
    EXPECT_NEAR(300.0f, FixedPoint().y, 1e-2f);

    // Put the clock exactly at half time and step by nothing.
    const float half = (camera.panStart + camera.panEnd) / 2.0f;
    camera.speed.time = half;
    camera.speed.last = 1000.0f;
    camera.FrameMove(1000.0f);
    const float midX = (camera.panFromX + camera.panToX) / 2.0f;
    const float midY = (camera.panFromY + camera.panToY) / 2.0f;
    EXPECT_NEAR((midX + 1.0f) / 2.0f * 800.0f, FixedPoint().x, 0.05f);
    EXPECT_NEAR((midY + 1.0f) / 2.0f * 600.0f, FixedPoint().y, 0.05f);
}

// At a clock time exactly equal to the segment's end the next one starts;
// a hold keeps the position for its half second.
TEST_F(CameraTest, NextSegmentStartsAtTheEndAndHoldsStayPut)
{
    DSM_Camera camera;
    camera.enabled.value = 1;
    ResetPan(camera);
    camera.panToX = 0.5f;
    camera.panToY = -0.5f;
    camera.panEnd = 0.2f;
    // The generator drawn to an even value first: a hold.
    uint32_t state = 1;
    for (;; ++state) {
        ReferenceRandom probe(state);
        if (probe.Next() % 2 == 0)
            break;
    }
    ResetRandForTesting(state);
    camera.FrameMove(0.2f);
    ASSERT_EQ(0.2f, camera.speed.time);
    EXPECT_EQ(0.2f, camera.panStart);
    EXPECT_FLOAT_EQ(0.7f, camera.panEnd);
    EXPECT_EQ(0.5f, camera.panFromX);
    EXPECT_EQ(0.5f, camera.panToX);
    const D3DXVECTOR2 held = FixedPoint();
    EXPECT_NEAR(600.0f, held.x, 1e-2f);
    EXPECT_NEAR(150.0f, held.y, 1e-2f);
    camera.FrameMove(0.35f);
    EXPECT_NEAR(held.x, FixedPoint().x, 1e-2f);
    EXPECT_NEAR(held.y, FixedPoint().y, 1e-2f);
}

// The record: read from the builder's bytes, values land (zoom and speed with
// their results), and writing gives back the same bytes.
TEST(DSM_Camera, RecordReadsAndWritesTheSameBytes)
{
    DocumentBuilder builder;
    CameraRecord(builder, 1, 150, 75);
    builder.Int(0x1234);
    const std::vector<uint8_t> bytes = builder.Data();
    ByteArchive in(bytes);
    const std::unique_ptr<DSM_Camera> camera = ReadCamera(in.handle);
    ASSERT_TRUE(camera);
    EXPECT_EQ(4u, in.buffer.Remaining());
    EXPECT_EQ(1, camera->enabled.value);
    EXPECT_EQ(150u, camera->zoom.value);
    EXPECT_FLOAT_EQ(1.5f, camera->zoom.result);
    EXPECT_EQ(75u, camera->speed.value);
    EXPECT_FLOAT_EQ(1.5f, camera->speed.result);

    WritingHandle out;
    camera->Write(out.handle);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end() - 4), out.archive->Bytes());

    // The embedded document's camera: disabled with the defaults.
    DocumentBuilder defaults;
    CameraRecord(defaults);
    WritingHandle fresh;
    DSM_Camera().Write(fresh.handle);
    EXPECT_EQ(defaults.Data(), fresh.archive->Bytes());
}

// A record whose bytes end early fails the load.
TEST(DSM_Camera, TruncatedRecordFailsTheLoad)
{
    DocumentBuilder builder;
    CameraRecord(builder, 1, 150, 75);
    std::vector<uint8_t> bytes = builder.Data();
    bytes.resize(bytes.size() - 2);
    ByteArchive in(bytes);
    EXPECT_THROW(ReadCamera(in.handle), MediaLoadError);
}

// Assignment takes the settings with their scales, the clock and the pan,
// and leaves the copy's results in step with its values.
TEST(DSM_Camera, AssignmentTakesSettingsClockAndPan)
{
    DSM_Camera source;
    source.enabled.value = 3;
    source.zoom.scale = 0.02f;
    source.zoom.value = 100;
    source.zoom.Recompute();
    source.speed.SetValue(100, nullptr);
    source.speed.time = 4.5f;
    source.speed.last = 9.0f;
    source.panMode.value = 1;
    source.panFromX = 0.1f;
    source.panToY = -0.4f;
    source.panEnd = 6.0f;

    DSM_Camera copy;
    copy = source;
    EXPECT_EQ(3, copy.enabled.value);
    EXPECT_EQ(100u, copy.zoom.value);
    EXPECT_FLOAT_EQ(2.0f, copy.zoom.result);
    EXPECT_FLOAT_EQ(2.0f, copy.speed.result);
    EXPECT_EQ(4.5f, copy.speed.time);
    EXPECT_EQ(9.0f, copy.speed.last);
    EXPECT_EQ(1, copy.panMode.value);
    EXPECT_EQ(0.1f, copy.panFromX);
    EXPECT_EQ(-0.4f, copy.panToY);
    EXPECT_EQ(6.0f, copy.panEnd);
    // The copy's self-listening still works after the assignment.
    copy.zoom.SetValue(50, nullptr);
    EXPECT_FLOAT_EQ(1.0f, copy.zoom.result);
}

namespace {

const FileKey CellsKey{L"C:\\Art\\cells.png", 1};
const FileKey GlyphsKey{L"C:\\Art\\glyphs.png", 2};

// Holds the camera at its zoom of 1.2 about the picture's top-left corner
// (pan -1, -1), for as long as a test runs.
void HoldZoomAtTopLeft(DS_2D_Light& layer)
{
    DSM_Camera& camera = layer.camera;
    camera.enabled.value = 1;
    camera.panMode.value = 1;
    camera.panFromX = camera.panToX = -1.0f;
    camera.panFromY = camera.panToY = -1.0f;
    camera.panStart = 0.0f;
    camera.panEnd = 1.0e6f;
}

// Whether the pixels within two of (x, y) all show its colour: a point well
// inside one of the picture's cells.
bool Inside(const Pixels& p, int x, int y)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (p.At(x + dx, y + dy).ColourDistance(p.At(x, y)) > 6)
                return false;
    return true;
}

struct Following {
    int tested = 0;
    int wrong = 0;
};

// Over the back-buffer points q of [2, limit)² in steps of 3: where the
// frame without the camera shows a cell's inside at q / 1.2, the frame with
// the camera must show that colour at q.
Following Compare(const Pixels& plain, const Pixels& zoomed, int limit)
{
    Following f;
    for (int y = 2; y < limit; y += 3)
        for (int x = 2; x < limit; x += 3) {
            const int sx = static_cast<int>(std::lround(x / 1.2));
            const int sy = static_cast<int>(std::lround(y / 1.2));
            if (!Inside(plain, sx, sy))
                continue;
            ++f.tested;
            if (zoomed.At(x, y).ColourDistance(plain.At(sx, sy)) > 24)
                ++f.wrong;
        }
    return f;
}

} // namespace

// The layers that draw the picture their own way follow the camera's pan and
// zoom as the plain picture does: zoomed 1.2 times about the picture's
// top-left corner, each shows at q what it showed without the camera at
// q / 1.2: the lake with its reflection and tint, the glass ball's
// background (away from the ball), the glyphs over the picture and the
// picture seen through flat water.
class CameraFollowingTest : public LayerTest<256, 256> {
protected:
    void SetUp() override
    {
        LayerTest<256, 256>::SetUp();
        cells = CellTexture(Device(), 64);
        AddPicture(manager, CellsKey, cells.Get(), 256, 256);
        white = SolidTexture(Device(), 0xFFFFFFFF);
        AddPicture(manager, GlyphsKey, white.Get(), 32, 1024);
    }

    // The frame without the camera, then with it, each after `prepare`.
    template <class Prepare>
    std::pair<Pixels, Pixels> Frames(DS_2D_Light& layer, Prepare prepare)
    {
        prepare();
        layer.FrameMove(0.1f);
        Pixels plain = DrawSlideFrame(device, layer);
        HoldZoomAtTopLeft(layer);
        prepare();
        layer.FrameMove(0.1f);
        Pixels zoomed = DrawSlideFrame(device, layer);
        EXPECT_FLOAT_EQ(1.2f, view.camera._11);
        return {std::move(plain), std::move(zoomed)};
    }

    void ExpectFollowing(const std::pair<Pixels, Pixels>& frames, int limit)
    {
        const Following f = Compare(frames.first, frames.second, limit);
        EXPECT_GT(f.tested, 300);
        EXPECT_LE(f.wrong, f.tested / 50) << f.wrong << " of " << f.tested;
        // Without the camera the frames would differ: the zoom shows.
        EXPECT_GT(MeanDifference(frames.first, frames.second, 0, 0, limit, limit), 10.0);
    }

    ComHolder<IDirect3DTexture9> cells, white;
};

TEST_F(CameraFollowingTest, TheLakeFollowsTheCamera)
{
    FakeLake2D lake;
    ActivateLayer(lake, CellsKey, 256, 256, SceneView::Fit);
    ExpectFollowing(Frames(lake, [] {}), 256);
}

TEST_F(CameraFollowingTest, TheGlassBallsBackgroundFollowsTheCamera)
{
    DS_GlassBallLight::ResetSharedMotion();
    DS_GlassBallLight ball;
    ball.size.value = 0;
    ball.motionMode.value = DS_GlassBallLight::Still;
    ball.overlaySwitch1.value = 0;
    ball.overlaySwitch2.value = 0;
    ball.backgroundPicture.value = CellsKey;
    ball.pictureBackgroundSwitch.value = 1;
    ActivateLayer(ball, CellsKey, 256, 256, SceneView::Fit);
    // The quarter-size ball lies about 33 pixels around the middle.
    ExpectFollowing(Frames(ball, [] {}), 88);
}

TEST_F(CameraFollowingTest, TheGlyphsFollowTheCamera)
{
    DS_MatrixCodeLight rain;
    rain.glyphImage.value = GlyphsKey;
    rain.frozenCount.value = 0;
    rain.trailColour.value = 0x0000FFFF;
    ActivateLayer(rain, CellsKey, 256, 256, SceneView::Fit);
    MatrixCodeGrid& grid = *rain.iterator->grid;
    const auto settle = [&] {
        for (MatrixCodeStream& stream : grid.streams)
            stream = {1 << 20, 0, grid.rows + 10};
        std::fill(grid.cells.begin(), grid.cells.end(), 0u);
        // Settled glyphs (counter 0) in a diagonal band of cells.
        for (int k = 0; k < 12; ++k) {
            uint32_t& cell = grid.Cell(k, k);
            MatrixCodeGrid::SetGlyph(cell, 1);
        }
    };
    const auto frames = Frames(rain, settle);
    ExpectFollowing(frames, 256);
    // A glyph in cell (5, 5) (80..96 a side) lies at 96..115.2 zoomed.
    EXPECT_TRUE(ColourNear(frames.second.At(105, 105), Rgba{255, 255, 0, 255}, 8));
}

TEST_F(CameraFollowingTest, TheWaterFollowsTheCamera)
{
    DS_WaterRingLight water;
    ActivateLayer(water, CellsKey, 256, 256, SceneView::Fit);
    const auto calm = [&] {
        std::fill(water.grid->cells.begin(), water.grid->cells.end(), WaterGrid::Cell{0.0f, 0.0f});
    };
    ExpectFollowing(Frames(water, calm), 256);
}
