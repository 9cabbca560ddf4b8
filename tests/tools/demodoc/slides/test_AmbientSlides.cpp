// The demo document's ambient, static-object and electric slides as the
// program plays them: every system is made with its pictures (the arcs with
// the program's glow effect and pictures 95 and 98), and the slides move:
// rays drift, lightning strikes, grass and flowers sway, arcs change shape.
#include "foundation/core/RandomForTesting.h"
#include "objects/particles/DS_DischargeFXConstructor.h"
#include "objects/particles/DS_GlowingObj.h"
#include "objects/particles/DS_SpriteArrayObj.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/RenderTestSupport.h"
#include "tests/support/SlidesDocumentTest.h"
#include "tools/demodoc/AmbientSlides.h"
#include "tools/demodoc/DemoDocument.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The slides alone, in a document of their own.
const DocumentBuilder::Bytes& AmbientSlidesDocument()
{
    static const DocumentBuilder::Bytes bytes = [] {
        DemoContent demo(NIGHTGLASS_EFFECTS_DIR);
        AddAmbientSlides(demo);
        return demo.Document();
    }();
    return bytes;
}

} // namespace

class AmbientSlidesTest : public SlidesDocumentTest {
protected:
    const DocumentBuilder::Bytes& SlidesDocument() override { return AmbientSlidesDocument(); }
};

TEST_F(AmbientSlidesTest, EverySystemIsMadeWithItsPictures)
{
    ASSERT_EQ(4u, document.root->slides.size());
    EXPECT_EQ(ForestSlideName, Slide(0).name.value);
    EXPECT_EQ(WorkshopSlideName, Slide(3).name.value);
    const std::size_t systems[] = {3, 4, 10, 4};
    for (std::size_t s = 0; s < 4; ++s) {
        SCOPED_TRACE(s);
        ASSERT_EQ(systems[s], Slide(s).visualObjects.size());
        for (const CountedPtr<DS_ABObj>& object : Slide(s).visualObjects) {
            if (auto* sprites = dynamic_cast<DS_SpriteArrayObj*>(object.Get())) {
                EXPECT_NE(nullptr, sprites->CurrentFrameTexture());
                EXPECT_FALSE(sprites->items.empty());
            } else {
                auto* glowing = dynamic_cast<DS_GlowingObj*>(object.Get());
                ASSERT_NE(nullptr, glowing);
                EXPECT_TRUE(glowing->System().effect);
                EXPECT_TRUE(glowing->System().glowTexture);
                EXPECT_TRUE(glowing->System().sharpTexture);
                EXPECT_TRUE(glowing->NeedsBackground());
            }
        }
    }
}

// Over a few seconds as the show plays them: the rays drift, lightning
// strikes (a particle reaches full phase), the grass and the flowers lean
// both ways, and the arcs take new shapes.
TEST_F(AmbientSlidesTest, TheSlidesMove)
{
    const auto sprites = [&](std::size_t slide, std::size_t index) {
        auto* object = dynamic_cast<DS_SpriteArrayObj*>(Slide(slide).visualObjects.at(index).Get());
        EXPECT_NE(nullptr, object);
        return object;
    };
    DS_SpriteArrayObj* rays = sprites(0, 1);
    DS_SpriteArrayObj* bolts = sprites(1, 1);
    DS_SpriteArrayObj* grass = sprites(2, 1);
    DS_SpriteArrayObj* flower = sprites(2, 2);
    auto* arc = dynamic_cast<DS_GlowingObj*>(Slide(3).visualObjects.at(0).Get());
    ASSERT_NE(nullptr, arc);
    auto& bolt = static_cast<DS_DischargeFXConstructor&>(arc->System());

    const float rayStart = rays->items.front()->position.x;
    const D3DXVECTOR3 arcStart = bolt.toPolyline.at(5).position;
    bool struck = false, grassLeft = false, grassRight = false, flowerLeft = false, flowerRight = false;
    for (int frame = 1; frame <= 240; ++frame) {
        const float time = frame / 30.0f;
        for (std::size_t s = 0; s < 4; ++s)
            Slide(s).Update(time);
        for (const ParticleItem* p : bolts->items)
            struck = struck || p->phase == 1.0f;
        const float lean = grass->items.front()->upAxis.x;
        grassLeft = grassLeft || lean > 0.01f;
        grassRight = grassRight || lean < -0.01f;
        const float sway = flower->items.front()->upAxis.x;
        flowerLeft = flowerLeft || sway > 0.01f;
        flowerRight = flowerRight || sway < -0.01f;
    }
    EXPECT_NE(rayStart, rays->items.front()->position.x);
    EXPECT_TRUE(struck);
    EXPECT_TRUE(grassLeft && grassRight);
    EXPECT_TRUE(flowerLeft && flowerRight);
    EXPECT_NE(arcStart, bolt.toPolyline.at(5).position);
    for (const BoltPoint& point : bolt.toPolyline)
        EXPECT_TRUE(std::isfinite(point.position.x) && std::isfinite(point.position.y));
}
