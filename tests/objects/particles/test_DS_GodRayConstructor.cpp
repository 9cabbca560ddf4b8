// God rays: the record, the exact start and drift of a ray from a known
// generator state, its pulse and rebirth, and the shape of its quad for
// every angle, including rays lying flat, which show nothing.
#include "objects/particles/DS_GodRayConstructor.h"

#include "objects/particles/DS_SpriteArrayObj.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/ParticleTestSupport.h"
#include "tools/document/AmbientRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

TEST(GodRayConstructor, RecordAndDefaults)
{
    GodRayContent content;
    content.angle = 45;
    content.sprite.count = 16;
    content.sprite.baseSize = 120;
    const auto read = ReadRecord<DS_GodRayConstructor>(GodRayRecordBytes(content));
    ASSERT_TRUE(read);
    EXPECT_EQ(45u, read->rayAngle.value);
    EXPECT_EQ(16u, read->count.value);
    EXPECT_EQ(45u, CloneOf(*read)->rayAngle.value);
    EXPECT_EQ(80u, DS_GodRayConstructor().rayAngle.value);
}

// A ray draws its size factor and phase sign, then x across the view, its
// drift and its phase. It stands half the view's height below the picture's
// top and spans the picture's full height; at 45 degrees its top lies H/2
// to the right of its centre.
TEST(GodRayConstructor, ARayStartsFromAKnownGeneratorState)
{
    const PictureSize picture(2000, 1000);
    DS_GodRayConstructor rays;
    rays.rayAngle.value = 45;
    rays.baseSize.value = 60;
    rays.left = 0.25f;
    rays.right = 0.75f;
    rays.top = 0.2f;
    rays.bottom = 0.8f;
    const std::vector<int> d = DrawsFrom(4711, 5);
    ParticleRun run(CloneOf(rays).release());
    const ParticleItem& p = run.Item(0);

    EXPECT_FLOAT_EQ(Between(500, 1500, d[2]), p.position.x);
    EXPECT_FLOAT_EQ(Unit(d[3]) * 20 - 10, p.velocity.x);
    EXPECT_EQ(0.0f, p.velocity.y);
    EXPECT_EQ(Unit(d[4]), p.phase);
    EXPECT_EQ(300.0f, p.position.y);
    EXPECT_EQ(30.0f, p.halfWidth);
    EXPECT_EQ(500.0f, p.halfHeight);
    EXPECT_NEAR(-1.0f, p.upAxis.x, 1e-6f);
    EXPECT_EQ(1.0f, p.upAxis.y);

    // The quad runs from y = -200 to 800; its top edge's centre lies 500
    // pixels right of the ray's centre, its bottom edge's 500 to the left.
    const D3DXVECTOR3 top = p.position - p.halfHeight * p.upAxis;
    const D3DXVECTOR3 bottom = p.position + p.halfHeight * p.upAxis;
    EXPECT_NEAR(-200.0f, top.y, 1e-3f);
    EXPECT_NEAR(800.0f, bottom.y, 1e-3f);
    EXPECT_NEAR(p.position.x + 500.0f, top.x, 1e-3f);
    EXPECT_NEAR(p.position.x - 500.0f, bottom.x, 1e-3f);
}

// Every quarter of a clock unit a ray draws a parity; odd gives it a new
// drift. It moves by step × drift, its phase pulses, and once it fades
// below the phase minimum it starts again elsewhere at the minimum.
TEST(GodRayConstructor, RaysDriftPulseAndComeBackElsewhere)
{
    const PictureSize picture(1000, 800);
    DS_GodRayConstructor rays;
    rays.phaseSpeed = 0.5f;
    rays.phaseMin = 0.25f;
    ParticleRun run(CloneOf(rays).release());
    ParticleItem& p = run.Item(0);
    p.position.x = 500.0f;
    p.velocity.x = 8.0f;
    p.phase = 0.5f;
    p.phaseVelocity = 0.5f;

    run.Update(0.2f);
    EXPECT_FLOAT_EQ(501.6f, p.position.x);
    EXPECT_FLOAT_EQ(0.6f, p.phase);
    EXPECT_EQ(0.0f, p.lastChange);

    const std::vector<int> d = DrawsFrom(99, 2);
    run.Update(0.3f);
    EXPECT_FLOAT_EQ(0.3f, p.lastChange);
    const float drift = (d[0] & 1) ? Unit(d[1]) * 20 - 10 : 8.0f;
    EXPECT_FLOAT_EQ(drift, p.velocity.x);
    EXPECT_FLOAT_EQ(501.6f + 0.1f * drift, p.position.x);

    p.phase = 0.26f;
    p.phaseVelocity = -0.5f;
    const std::vector<int> again = DrawsFrom(7, 3);
    run.Update(0.4f);
    EXPECT_EQ(0.25f, p.phase);
    EXPECT_EQ(0.5f, p.phaseVelocity);
    EXPECT_FLOAT_EQ(Between(0, 1000, again[0]), p.position.x);
    EXPECT_FLOAT_EQ(Unit(again[1]) * 20 - 10, p.velocity.x);
}

// 90 degrees gives upright rays, 80 leans the top a little to the right,
// angles past 180 lean as their half-turn partners do; a ray at 0, 180 or
// 360 degrees, and every half turn on, lies flat: a huge but finite shear.
TEST(GodRayConstructor, TheRayAngleLeansTheQuad)
{
    const PictureSize picture(1000, 800);
    struct Case {
        unsigned int angle;
        float shear;
    };
    const Case cases[] = {{90, 0.0f},  {80, -0.17632698f},  {100, 0.17632698f},
                          {45, -1.0f}, {260, -0.17632698f}, {400, -1.19175359f},
                          {1, -57.28996f}, {179, 57.28996f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        DS_GodRayConstructor rays;
        rays.rayAngle.value = c.angle;
        ParticleRun run(CloneOf(rays).release());
        EXPECT_NEAR(c.shear, run.Item(0).upAxis.x, 1e-5f * std::max(1.0f, std::fabs(c.shear)));
        EXPECT_EQ(D3DXVECTOR3(1, 0, 0), run.Item(0).rightAxis);
    }
    for (unsigned int angle : {0u, 180u, 360u, 540u, 720u}) {
        SCOPED_TRACE(angle);
        DS_GodRayConstructor rays;
        rays.rayAngle.value = angle;
        ParticleRun run(CloneOf(rays).release());
        const float shear = run.Item(0).upAxis.x;
        EXPECT_TRUE(std::isfinite(shear));
        EXPECT_GT(std::fabs(shear), 1.0e6f);
    }
}

namespace {

const FileKey GreyKey{L"C:\Art\grey.png", 1};
const FileKey RayKey{L"C:\Art\ray.png", 2};

} // namespace

// On a grey 256 × 256 picture shown pixel for pixel, one white ray in the
// middle: upright and leaning rays show, a ray lying flat shows nowhere.
class GodRayDrawTest : public LayerTest<256, 256> {
protected:
    void SetUp() override
    {
        LayerTest<256, 256>::SetUp();
        grey = SolidTexture(Device(), 0xFF404040);
        AddPicture(manager, GreyKey, grey.Get(), 256, 256);
        white = SolidTexture(Device(), 0xFFFFFFFF);
        AddPicture(manager, RayKey, white.Get(), 16, 16);
        ActivateLayer(layer, GreyKey, 256, 256, SceneView::Fit);
    }

    // The number of pixels the ray changes.
    int LitPixels(unsigned int angle)
    {
        DS_GodRayConstructor rays;
        rays.rayAngle.value = angle;
        rays.baseSize.value = 20;
        rays.mainImage.value = RayKey;
        rays.phaseMin = rays.phaseMax = 1.0f;
        const auto object = MakeObjectAs<DS_SpriteArrayObj>(rays);
        if (!object)
            return -1;
        ParticleItem& p = **object->items.begin();
        p.position.x = 128.0f;
        p.phase = 1.0f;
        DrawObjectFrame(Device(), layer, *object, 0.0f);
        const Pixels shown = device.ReadBackBuffer();
        int lit = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                if (!ColourNear(shown.At(x, y), Rgba::FromArgb(0xFF404040), 4))
                    ++lit;
        return lit;
    }

    ComHolder<IDirect3DTexture9> grey, white;
    DS_2D_Light layer;
};

TEST_F(GodRayDrawTest, ARayLyingFlatShowsNothing)
{
    EXPECT_GT(LitPixels(90), 3000);
    EXPECT_GT(LitPixels(45), 3000);
    for (unsigned int angle : {0u, 180u, 360u}) {
        SCOPED_TRACE(angle);
        EXPECT_EQ(0, LitPixels(angle));
    }
}
