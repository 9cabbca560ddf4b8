// Particle items and their geometry: how a particle is started and coloured,
// where it lies against the view, how the count makes buffers and items, the
// quads a rebuild writes and the animation frames.
#include "objects/particles/ParticleGeomArray.h"

#include "foundation/geometry/BufferLocksForTesting.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/ResourceModuleForTesting.h"
#include "objects/particles/AnimatedTexture.h"
#include "objects/particles/DS_ParticleSystemCtrl.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/ParticleTestSupport.h"
#include "tests/support/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const FileKey PictureKey{L"C:\\Art\\sprite.png", 3};

// A particle system of the tests' own: it places its particles along a row,
// 20 pixels apart, and counts the calls it receives.
class RowSystem : public DS_ParticleSystemCtrl {
public:
    RowSystem() { mainImage.value = PictureKey; }
    RowSystem(const RowSystem&) = default;
    DS_ParticleSystemCtrl* Clone() const override { return new RowSystem(*this); }

    void InitParticle(ParticleItem& p) override
    {
        p.position = D3DXVECTOR3(20.0f * static_cast<float>(started++), 50.0f, 0.0f);
    }
    void UpdateParticle(ParticleItem& p) override
    {
        ++updates;
        p.position.y += step;
    }

    int started = 0;
    int updates = 0;
};

// A picture of the given size in the manager, under PictureKey.
void AddSizedPicture(DS_DocResManager& manager, UINT width, UINT height)
{
    AddPicture(manager, PictureKey, nullptr, width, height);
}

} // namespace

class ParticleGeometryTest : public DeviceTest<64, 64> {
protected:
    void SetUp() override
    {
        DeviceTest<64, 64>::SetUp();
        CurrentResManager = &manager;
        AddSizedPicture(manager, 100, 100);
    }
    void TearDown() override
    {
        CurrentResManager = nullptr;
        DeviceTest<64, 64>::TearDown();
    }

    DS_DocResManager manager;
    PictureSize picture{200, 100};
};

// The longer side of the picture gets half the base size times the size
// factor; a grid's frames are slices of the picture's width. A picture with
// no height (aspect 0) gives a flat quad, not a division by zero.
TEST_F(ParticleGeometryTest, HalfExtentsFollowThePicturesAspect)
{
    struct Case {
        UINT width, height;
        bool grid;
        unsigned int frames;
        float halfWidth, halfHeight;
    };
    const Case cases[] = {
        {200, 100, false, 1, 20, 10}, {100, 100, false, 1, 20, 20}, {100, 200, false, 1, 10, 20},
        {400, 100, true, 4, 20, 20},  {200, 0, false, 1, 20, 0},    {400, 100, true, 0, 20, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " frames " << c.frames);
        AddSizedPicture(manager, c.width, c.height);
        RowSystem system;
        system.baseSize.value = 40;
        system.frameGrid = c.grid;
        system.frameCount = c.frames;
        ParticleItem item;
        InitParticleItem(item, system);
        EXPECT_EQ(1.0f, item.sizeFactor);
        EXPECT_EQ(c.halfWidth, item.halfWidth);
        EXPECT_EQ(c.halfHeight, item.halfHeight);
        EXPECT_EQ(D3DXVECTOR3(100, 100, 0), item.position);
        EXPECT_EQ(D3DXVECTOR3(1, 0, 0), item.rightAxis);
        EXPECT_EQ(D3DXVECTOR3(0, 1, 0), item.upAxis);
        EXPECT_EQ(1.0f, item.uRange[1]);
        EXPECT_EQ(1.0f, item.vRange[1]);
    }
}

// A particle's colour is the controller's tint in ARGB order with the
// maximal alpha scaled by the phase, truncated.
TEST_F(ParticleGeometryTest, TheColourCarriesThePhase)
{
    struct Case {
        unsigned int transparency;
        unsigned long colorref;
        float phase;
        D3DCOLOR argb;
    };
    const Case cases[] = {
        {0, 0x00FFFFFF, 0.5f, 0x7FFFFFFF},  {0, 0x00FFFFFF, 1.0f, 0xFFFFFFFF}, {0, 0x0000FFFF, 1.0f, 0xFFFFFF00},
        {0, 0x00336699, 0.0f, 0x00996633},  {50, 0x00FFFFFF, 1.0f, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        RowSystem system;
        system.transparency.SetValue(c.transparency, nullptr);
        system.colour.value = c.colorref;
        ParticleItem item;
        item.phase = c.phase;
        UpdateParticleColor(system, item);
        EXPECT_EQ(c.argb, item.colour) << std::hex << c.colorref << " at " << c.phase;
    }
}

// Wholly beyond an edge uses the half extents' sizes; reaching over an edge
// uses them with their signs, so a mirrored particle (negative half width)
// reaches over the left edge only when its centre has passed it.
TEST_F(ParticleGeometryTest, EdgeTestsAgainstTheView)
{
    RowSystem view; // the view (0.25, 0.75) × (0.2, 0.8) of 200 × 100: x 50..150, y 20..80
    view.left = 0.25f;
    view.right = 0.75f;
    view.top = 0.2f;
    view.bottom = 0.8f;
    ParticleItem p;
    p.halfWidth = 10.0f;
    p.halfHeight = 5.0f;

    struct Case {
        float x, y, halfWidth;
        bool leftOf, rightOf, above, below, crossesLeft, crossesRight, crossesTop, crossesBottom;
    };
    const Case cases[] = {
        {100, 50, 10, false, false, false, false, false, false, false, false},
        {39, 50, 10, true, false, false, false, true, false, false, false},
        {40, 50, 10, false, false, false, false, true, false, false, false},
        {55, 50, 10, false, false, false, false, true, false, false, false},
        {161, 50, 10, false, true, false, false, false, true, false, false},
        {100, 14, 10, false, false, true, false, false, false, true, false},
        {100, 77, 10, false, false, false, false, false, false, false, true},
        {100, 86, 10, false, false, false, true, false, false, false, true},
        {39, 50, -10, true, false, false, false, true, false, false, false},
        {55, 50, -10, false, false, false, false, false, false, false, false},
        {145, 50, -10, false, false, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << " half width " << c.halfWidth);
        p.position = D3DXVECTOR3(c.x, c.y, 0);
        p.halfWidth = c.halfWidth;
        EXPECT_EQ(c.leftOf, IsLeftOfView(p, view));
        EXPECT_EQ(c.rightOf, IsRightOfView(p, view));
        EXPECT_EQ(c.above, IsAboveView(p, view));
        EXPECT_EQ(c.below, IsBelowView(p, view));
        EXPECT_EQ(c.crossesLeft, CrossesLeftEdge(p, view));
        EXPECT_EQ(c.crossesRight, CrossesRightEdge(p, view));
        EXPECT_EQ(c.crossesTop, CrossesTopEdge(p, view));
        EXPECT_EQ(c.crossesBottom, CrossesBottomEdge(p, view));
    }
}

// Growing the count keeps the particles there are and starts the new ones;
// lowering it keeps every particle (all are updated) but draws the first
// ones only; a count of 0 changes nothing.
TEST_F(ParticleGeometryTest, TheCountMakesBuffersAndParticles)
{
    RowSystem* system = new RowSystem;
    system->count.value = 10;
    ParticleRun run(system);
    ASSERT_EQ(10u, run.Size());
    EXPECT_EQ(40u, run.geometry.vertexCount);
    EXPECT_EQ(20u, run.geometry.indexedPrimitiveCount);
    EXPECT_EQ(D3DPT_TRIANGLELIST, run.geometry.primitiveType);
    run.Item(3).position.y = 99.0f;

    system->count.SetValue(15, nullptr);
    ASSERT_EQ(15u, run.Size());
    EXPECT_EQ(99.0f, run.Item(3).position.y);
    EXPECT_EQ(280.0f, run.Item(14).position.x);
    EXPECT_EQ(15, system->started);
    EXPECT_EQ(60u, run.geometry.vertexCount);
    EXPECT_EQ(30u, run.geometry.indexedPrimitiveCount);
    ASSERT_TRUE(run.geometry.vertices);
    ASSERT_TRUE(run.geometry.indices);

    system->count.SetValue(10, nullptr);
    EXPECT_EQ(15u, run.Size());
    EXPECT_EQ(40u, run.geometry.vertexCount);
    run.Update(0.125f);
    EXPECT_EQ(15, system->updates);
    run.geometry.RebuildParticleQuads();
    const std::vector<DX_V::PCT> quads = ReadVertices(run.geometry);
    ASSERT_EQ(40u, quads.size());
    EXPECT_EQ(180.0f + 16.0f, quads[38].x); // the tenth particle's right edge

    system->count.SetValue(0, nullptr);
    EXPECT_EQ(15u, run.Size());
    EXPECT_EQ(40u, run.geometry.vertexCount);
}

// A document's count beyond what 16-bit indices reach is held at 16,384
// particles: 65,536 vertices, the last index 65,535, and every quad drawn.
TEST_F(ParticleGeometryTest, AHugeCountIsHeldAtWhatTheIndicesReach)
{
    RowSystem* system = new RowSystem;
    system->count.value = 4000000000u;
    ParticleRun run(system);
    ASSERT_EQ(ParticleGeomArray::MaxParticles, run.Size());
    EXPECT_EQ(16384u, run.geometry.DrawnCount());
    EXPECT_EQ(65536u, run.geometry.vertexCount);
    EXPECT_EQ(32768u, run.geometry.indexedPrimitiveCount);

    void* data = nullptr;
    ASSERT_TRUE(SUCCEEDED(run.geometry.indices->Lock(0, 0, &data, D3DLOCK_READONLY)));
    const uint16_t* indices = static_cast<const uint16_t*>(data);
    const uint16_t lastQuad[6] = {65532, 65533, 65534, 65534, 65533, 65535};
    const uint16_t firstQuad[6] = {0, 1, 2, 2, 1, 3};
    EXPECT_TRUE(std::equal(firstQuad, firstQuad + 6, indices));
    EXPECT_TRUE(std::equal(lastQuad, lastQuad + 6, indices + 6 * 16383));
    run.geometry.indices->Unlock();

    run.geometry.RebuildParticleQuads();
    EXPECT_FALSE(run.geometry.QuadsPending());
    EXPECT_EQ(20.0f * 16383 + 16.0f, ReadVertices(run.geometry)[65535].x);
}

// Indices that cannot be written would draw whatever the buffer holds: the
// array keeps no index buffer and has nothing to draw, and its quads stay
// pending. A rebuild tries again; once the indices are written the quads are
// too.
TEST_F(ParticleGeometryTest, IndicesThatCannotBeWrittenLeaveNothingToDraw)
{
    RowSystem* system = new RowSystem;
    system->count.value = 3;
    FailIndexBufferLocksForTesting(1);
    ParticleRun run(system);
    FailIndexBufferLocksForTesting(0);
    ASSERT_EQ(3u, run.Size());
    EXPECT_TRUE(run.geometry.vertices);
    EXPECT_FALSE(run.geometry.indices);
    EXPECT_EQ(0u, run.geometry.indexedPrimitiveCount);
    EXPECT_TRUE(run.geometry.QuadsPending());

    FailIndexBufferLocksForTesting(1);
    run.geometry.RebuildParticleQuads();
    FailIndexBufferLocksForTesting(0);
    EXPECT_FALSE(run.geometry.indices);
    EXPECT_EQ(0u, run.geometry.indexedPrimitiveCount);
    EXPECT_TRUE(run.geometry.QuadsPending());

    run.geometry.RebuildParticleQuads();
    ASSERT_TRUE(run.geometry.indices);
    EXPECT_EQ(6u, run.geometry.indexedPrimitiveCount);
    EXPECT_FALSE(run.geometry.QuadsPending());
    void* data = nullptr;
    ASSERT_TRUE(SUCCEEDED(run.geometry.indices->Lock(0, 0, &data, D3DLOCK_READONLY)));
    const uint16_t* indices = static_cast<const uint16_t*>(data);
    const std::vector<uint16_t> written(indices, indices + 18);
    run.geometry.indices->Unlock();
    EXPECT_EQ((std::vector<uint16_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7, 8, 9, 10, 10, 9, 11}), written);
    EXPECT_EQ(40.0f + 16.0f, ReadVertices(run.geometry)[11].x);
}

// A system whose image list names a module that is not there (the
// authoring tool's "common_res.dll") looks for the module once, not once
// for each of its particles; a second system of the same list does not look
// again.
TEST_F(ParticleGeometryTest, AMissingModuleIsLookedForOnceForAllParticles)
{
    const uint32_t before = ModuleSearchesForTesting();
    RowSystem* system = new RowSystem;
    system->mainImage.value = FileKey{L"common_res.dll", 40};
    system->imageSource = 1;
    system->count.value = 2000;
    ParticleRun run(system);
    ASSERT_EQ(2000u, run.Size());
    EXPECT_EQ(1.0f, run.Item(1999).aspect);
    EXPECT_EQ(1u, ModuleSearchesForTesting() - before);

    RowSystem* again = new RowSystem(*system);
    ParticleRun second(again);
    EXPECT_EQ(2000u, second.Size());
    EXPECT_EQ(1u, ModuleSearchesForTesting() - before);
}

// Each quad spans the particle's half extents along its axes, in strip
// order, with the particle's colour and its texture ranges (swapped by the
// flip flags).
TEST_F(ParticleGeometryTest, ARebuildWritesEachQuad)
{
    struct Case {
        int verticalFlip, horizontalFlip;
        float left, right, top, bottom;
    };
    const Case cases[] = {{0, 0, 0, 1, 0, 1}, {1, 0, 0, 1, 1, 0}, {0, 1, 1, 0, 0, 1}, {1, 1, 1, 0, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flips " << c.verticalFlip << c.horizontalFlip);
        RowSystem* system = new RowSystem;
        system->baseSize.value = 20;
        system->colour.value = 0x000000FF;
        system->verticalFlip.value = c.verticalFlip;
        system->horizontalFlip.value = c.horizontalFlip;
        ParticleRun run(system);
        ParticleItem& p = run.Item(0);
        p.position = D3DXVECTOR3(50, 60, 0);
        p.halfHeight = 5.0f;
        // Turned a quarter: the width runs down the screen.
        p.rightAxis = D3DXVECTOR3(0, 1, 0);
        p.upAxis = D3DXVECTOR3(-1, 0, 0);
        run.geometry.RebuildParticleQuads();

        const std::vector<DX_V::PCT> v = ReadVertices(run.geometry);
        ASSERT_EQ(4u, v.size());
        const float expected[4][4] = {{45, 50, c.left, c.bottom},
                                      {55, 50, c.left, c.top},
                                      {45, 70, c.right, c.bottom},
                                      {55, 70, c.right, c.top}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(expected[i][0], v[i].x) << i;
            EXPECT_EQ(expected[i][1], v[i].y) << i;
            EXPECT_EQ(0.0f, v[i].z);
            EXPECT_EQ(expected[i][2], v[i].u) << i;
            EXPECT_EQ(expected[i][3], v[i].v) << i;
            EXPECT_EQ(0xFFFF0000u, v[i].color);
        }
    }
}

// A frame grid shows one slice of the picture's width; the slice moves on
// once per frame period of the view clock, at most once per rebuild, the
// same for every quad.
TEST_F(ParticleGeometryTest, AFrameGridShowsOneSliceAtATime)
{
    RowSystem* system = new RowSystem;
    system->count.value = 3;
    system->frameGrid = true;
    system->frameCount = 4;
    system->frameRate = 4.0f; // a slice every 0.25 of the clock
    system->horizontalFlip.value = 0;
    ParticleRun run(system);

    const auto sliceStart = [&](std::size_t quad) { return ReadVertices(run.geometry)[4 * quad].u; };
    const float times[] = {0.125f, 0.25f, 0.375f, 0.5f, 0.625f, 0.75f, 0.875f, 1.0f};
    std::vector<float> slices;
    for (float t : times) {
        run.Update(t);
        run.geometry.RebuildParticleQuads();
        slices.push_back(sliceStart(0));
        EXPECT_EQ(sliceStart(0), sliceStart(2));
    }
    // The clock passes 0.25 after a switch only at the step past it.
    EXPECT_EQ((std::vector<float>{0, 0, 0.25f, 0.25f, 0.25f, 0.5f, 0.5f, 0.5f}), slices);

    // Frame index 2 of 4 spans u 0.5 to 0.75, mirrored with the flip.
    run.geometry.gridFrameIndex = 2;
    run.geometry.gridSwitchTime = system->clock;
    system->horizontalFlip.value = 1;
    run.geometry.RebuildParticleQuads();
    const std::vector<DX_V::PCT> v = ReadVertices(run.geometry);
    EXPECT_EQ(0.75f, v[0].u);
    EXPECT_EQ(0.5f, v[2].u);
}

// The texture animation moves on once the current frame's delay has passed
// on the clock, each frame with its own delay, round and round.
TEST(AnimatedTexture, FramesFollowTheirDelays)
{
    AnimatedTexture<ParticleGeomArray> frames;
    frames.textureSet.delays = {0.1f, 0.2f};
    struct Step {
        float clock;
        bool switched;
        uint32_t frame;
    };
    const Step steps[] = {{0.05f, false, 0}, {0.1f, false, 0}, {0.125f, true, 1}, {0.3f, false, 1},
                          {0.375f, true, 0}, {0.5f, true, 1},  {0.5f, false, 1}};
    for (const Step& s : steps) {
        EXPECT_EQ(s.switched, frames.StepFrame(s.clock)) << s.clock;
        EXPECT_EQ(s.frame, frames.currentFrame) << s.clock;
    }

    AnimatedTexture<ParticleGeomArray> still;
    EXPECT_FALSE(still.StepFrame(100.0f));
    EXPECT_EQ(nullptr, still.FrameTexture());
}
