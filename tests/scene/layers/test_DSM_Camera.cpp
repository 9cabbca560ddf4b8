#include "scene/layers/DSM_Camera.h"

#include "foundation/RandomForTesting.h"
#include "foundation/SaverError.h"
#include "foundation/archive/DS_IOF_R.h"
#include "foundation/render/SceneView.h"
#include "tools/document/CameraRecord.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// The generator's sequence, computed here on its own so that the camera's
// draws can be predicted: state × 214013 + 2531011, bits 16 to 30.
class Lcg {
public:
    explicit Lcg(uint32_t start) : state(start) {}
    int Next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }

private:
    uint32_t state;
};

// A segment the camera should pick at clock time t from the sequence.
struct Segment {
    bool hold;
    float toX, toY, end;
};

Segment Predict(Lcg& lcg, float t, float fromX, float fromY)
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
    Lcg lcg(1);
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
        Lcg probe(state);
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
    ResourceBuffer buffer(bytes.data(), bytes.size());
    ArchiveHandle in(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
    const std::unique_ptr<DSM_Camera> camera = ReadCamera(in);
    ASSERT_TRUE(camera);
    EXPECT_EQ(4u, buffer.Remaining());
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
    ResourceBuffer buffer(bytes.data(), bytes.size());
    ArchiveHandle in(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
    EXPECT_THROW(ReadCamera(in), MediaLoadError);
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
