// The demo document's particle slides as the program plays them: every
// system is made with its pictures, the snow falls and the fish turn.
#include "foundation/core/RandomForTesting.h"
#include "objects/particles/DS_FishConstructor.h"
#include "objects/particles/DS_SpriteArrayObj.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/RenderTestSupport.h"
#include "tests/support/SlidesDocumentTest.h"
#include "tools/demodoc/ParticleSlides.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// The particle slides alone, in a document of their own, drawn once.
const DocumentBuilder::Bytes& ParticleSlidesDocument()
{
    static const DocumentBuilder::Bytes bytes = [] {
        // The particle slides carry no compiled effects.
        DemoContent demo("");
        AddParticleSlides(demo);
        return demo.Document();
    }();
    return bytes;
}

DS_SpriteArrayObj& System(DS_SlideContainer& slide, std::size_t index)
{
    DS_SpriteArrayObj* system = dynamic_cast<DS_SpriteArrayObj*>(slide.visualObjects.at(index).Get());
    EXPECT_NE(nullptr, system);
    return *system;
}

} // namespace

class ParticleSlidesTest : public SlidesDocumentTest {
protected:
    const DocumentBuilder::Bytes& SlidesDocument() override { return ParticleSlidesDocument(); }
};

// Six slides, each with its systems made over their pictures; the animated
// sprites have their frames.
TEST_F(ParticleSlidesTest, EverySystemIsMadeWithItsPictures)
{
    const std::size_t systems[] = {2, 2, 2, 3, 2, 1};
    ASSERT_EQ(std::size(systems), document.root->slides.size());
    for (std::size_t s = 0; s < std::size(systems); ++s) {
        SCOPED_TRACE(s);
        ASSERT_EQ(systems[s], Slide(s).visualObjects.size());
        for (std::size_t i = 0; i < systems[s]; ++i) {
            const DS_SpriteArrayObj& system = System(Slide(s), i);
            EXPECT_NE(nullptr, system.CurrentFrameTexture());
            EXPECT_FALSE(system.items.empty());
            EXPECT_TRUE(system.vertices);
        }
    }
    // Leaves and birds show frame grids of one picture; fish and ghosts
    // image lists of one picture per frame.
    for (std::size_t s : {2u, 4u}) {
        const DS_SpriteArrayObj& grid = System(Slide(s), 0);
        EXPECT_EQ(1u, grid.textureSet.textures.size());
        EXPECT_TRUE(grid.System().frameGrid);
        EXPECT_EQ(8u, grid.System().frameCount);
    }
    EXPECT_EQ(6u, System(Slide(3), 1).textureSet.textures.size());
    EXPECT_EQ(6u, System(Slide(3), 1).textureSet.delays.size());
    EXPECT_EQ(8u, System(Slide(5), 0).textureSet.textures.size());
}

// Snow never rises: from frame to frame every flake falls or waits, unless
// it left the view and came back through the other side; over two seconds
// the flakes fall a long way.
TEST_F(ParticleSlidesTest, TheSnowFalls)
{
    for (std::size_t depth : {0u, 1u}) {
        SCOPED_TRACE(depth);
        DS_SpriteArrayObj& flakes = System(Slide(0), depth);
        std::vector<D3DXVECTOR3> last;
        for (const ParticleItem* p : flakes.items)
            last.push_back(p->position);
        double fallen = 0;
        for (int frame = 1; frame <= 40; ++frame) {
            flakes.Update(frame / 20.0f);
            std::size_t i = 0;
            for (const ParticleItem* p : flakes.items) {
                const D3DXVECTOR3 move = p->position - last[i];
                last[i++] = p->position;
                const bool cameBack = std::fabs(move.x) > 300.0f || move.y < -300.0f;
                if (!cameBack) {
                    ASSERT_GE(move.y, 0.0f) << "frame " << frame;
                    fallen += move.y;
                }
            }
        }
        EXPECT_GT(fallen / static_cast<double>(flakes.items.size()), 40.0);
    }
}

// Over forty seconds fish of both kinds leave the view at a side and turn
// back, their pictures mirrored to face the way they swim.
TEST_F(ParticleSlidesTest, TheFishTurn)
{
    for (std::size_t kind : {0u, 1u}) {
        SCOPED_TRACE(kind);
        DS_SpriteArrayObj& school = System(Slide(3), kind);
        std::set<const ParticleItem*> turned;
        std::vector<float> facing;
        for (const ParticleItem* p : school.items)
            facing.push_back(std::copysign(1.0f, p->halfWidth));
        for (int frame = 1; frame <= 800; ++frame) {
            school.Update(frame / 20.0f);
            std::size_t i = 0;
            for (const ParticleItem* p : school.items) {
                const float now = std::copysign(1.0f, p->halfWidth);
                if (now != facing[i])
                    turned.insert(p);
                facing[i++] = now;
                // Each faces the way it swims.
                ASSERT_EQ(now, std::copysign(1.0f, p->velocity.x)) << "frame " << frame;
            }
        }
        EXPECT_GE(turned.size(), 2u);
    }
}
