// The sprite-array runtime object on the device: what reaches the back
// buffer through the layer (blending, the second pass, animation frames,
// clipping), when its quads are written, and that a frame allocates nothing.
#include "objects/particles/DS_SpriteArrayObj.h"

#include "objects/particles/DS_FishConstructor.h"
#include "objects/particles/DS_FlowConstructor.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/ParticleTestSupport.h"
#include "tools/testmodule/TestModuleContent.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const FileKey PictureKey{L"C:\\Art\\grey.png", 1};
const FileKey SpriteKey{L"C:\\Art\\sprite.png", 2};
const FileKey SecondKey{L"C:\\Art\\second.png", 3};
const FileKey FramesKey{L"C:\\Art\\frames.png", 4};

const D3DCOLOR Grey = 0xFF404040;
const D3DCOLOR HalfRed = 0x80FF0000;
const D3DCOLOR Blue = 0xFF0000FF;
const D3DCOLOR Green = 0xFF00FF00;

// Adds two colour images channel by channel, as additive blending does.
Rgba AddOver(const Rgba& dst, const Rgba& src)
{
    const double a = src.a / 255.0;
    const auto add = [a](uint8_t d, uint8_t s) {
        return static_cast<uint8_t>(std::min(255.0, std::round(d + s * a)));
    };
    return Rgba{add(dst.r, src.r), add(dst.g, src.g), add(dst.b, src.b), 255};
}

} // namespace

// A layer over a grey 256 × 256 picture on a 256 × 256 back buffer, so
// picture pixels are back-buffer pixels; sprites are 40 pixels wide.
class SpriteArrayTest : public LayerTest<256, 256> {
protected:
    void SetUp() override
    {
        LayerTest<256, 256>::SetUp();
        picture = SolidTexture(Device(), Grey);
        AddPicture(manager, PictureKey, picture.Get(), 256, 256);
        sprite = SolidTexture(Device(), HalfRed);
        AddPicture(manager, SpriteKey, sprite.Get(), 32, 32);
        second = SolidTexture(Device(), Blue);
        AddPicture(manager, SecondKey, second.Get(), 32, 32);
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    }

    // Still fish of 40 pixels, all at (x, y).
    static std::unique_ptr<DS_FishConstructor> StillFish(float x, float y, unsigned int count = 1)
    {
        auto fish = std::make_unique<DS_FishConstructor>();
        fish->speedX = 0.0f;
        fish->speedY = 0.0f;
        fish->left = fish->right = x / 256.0f;
        fish->top = fish->bottom = y / 256.0f;
        fish->baseSize.value = 40;
        fish->count.value = count;
        fish->mainImage.value = SpriteKey;
        return fish;
    }

    static std::unique_ptr<DS_SpriteArrayObj> Make(DS_ParticleSystemCtrl& system)
    {
        return MakeObjectAs<DS_SpriteArrayObj>(system);
    }

    // One frame of the slide: the picture, then the object.
    void Draw(DS_SpriteArrayObj& object, float time) { DrawObjectFrame(Device(), layer, object, time); }

    // The frame as it reached the back buffer.
    Pixels Frame(DS_SpriteArrayObj& object, float time)
    {
        Draw(object, time);
        return device.ReadBackBuffer();
    }

    ComHolder<IDirect3DTexture9> picture;
    ComHolder<IDirect3DTexture9> sprite;
    ComHolder<IDirect3DTexture9> second;
    DS_2D_Light layer;
};

// The controller's additive flag and second image decide the blending: the
// sprite blends over the picture, or adds to it; with a second image the
// first pass blends and the second adds its own colour when the flag is 1.
TEST_F(SpriteArrayTest, AdditiveAndBlendedSpritesAndTheSecondPass)
{
    const Rgba grey = Rgba::FromArgb(Grey);
    const Rgba red = Rgba::FromArgb(HalfRed);
    const Rgba blended = BlendOver(grey, red);
    struct Case {
        int additive;
        bool withSecond;
        Rgba expected;
    };
    const Case cases[] = {
        {0, false, blended},
        {1, false, AddOver(grey, red)},
        {2, false, AddOver(grey, red)},
        // The second pass: the blue picture's colour, the particle's alpha.
        {1, true, AddOver(blended, Rgba::FromArgb(Blue))},
        {2, true, BlendOver(blended, Rgba::FromArgb(Blue))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "additive " << c.additive << " second " << c.withSecond);
        auto fish = StillFish(128, 128);
        fish->additive.value = c.additive;
        if (c.withSecond)
            fish->secondImage.value = SecondKey;
        const auto object = Make(*fish);
        EXPECT_EQ(c.withSecond, object->GetSecondTexture() != nullptr);

        const Pixels pixels = Frame(*object, 0.1f);
        EXPECT_TRUE(ColourNear(pixels.At(128, 128), c.expected, 3));
        EXPECT_TRUE(ColourNear(pixels.At(128, 104), grey, 0));
        EXPECT_TRUE(ColourNear(pixels.At(110, 128), c.expected, 3));
        EXPECT_TRUE(ColourNear(pixels.At(150, 128), grey, 0));
    }
}

// An animated main image shows its frames in turn on the view clock.
TEST_F(SpriteArrayTest, TheAnimationChangesTheSpritesPicture)
{
    const ComHolder<IDirect3DTexture9> first = SolidTexture(Device(), Green);
    TextureSet& frames = manager.Table().textureSets[FramesKey];
    frames.textures = {first, second};
    frames.delays = {0.1f, 0.1f};
    frames.width = frames.height = 32;

    auto fish = StillFish(64, 64);
    fish->mainImage.value = FramesKey;
    const auto object = Make(*fish);

    EXPECT_TRUE(ColourNear(Frame(*object, 0.05f).At(64, 64), Rgba::FromArgb(Green), 2));
    EXPECT_TRUE(ColourNear(Frame(*object, 0.1f).At(64, 64), Rgba::FromArgb(Green), 2));
    EXPECT_TRUE(ColourNear(Frame(*object, 0.2f).At(64, 64), Rgba::FromArgb(Blue), 2));
    EXPECT_EQ(1u, object->currentFrame);
    EXPECT_TRUE(ColourNear(Frame(*object, 0.375f).At(64, 64), Rgba::FromArgb(Green), 2));
}

// With image source 1 the main link names an image list of a resource
// module: its pictures are the frames, its delays their times; the third
// delay, beyond the two pictures, keeps the last picture.
TEST_F(SpriteArrayTest, ImageListsOfAModuleAreTheFrames)
{
    auto fish = StillFish(64, 64);
    fish->mainImage.value = FileKey{TESTMODULE_FILE_NAME, TESTMODULE_IMAGE_LIST};
    fish->imageSource = 1;
    const auto object = Make(*fish);
    ASSERT_EQ(2u, object->textureSet.textures.size());
    EXPECT_EQ(TestImageListDelays, object->textureSet.delays);

    // Frames in turn (0.5, 0.25 and 1.0 of the clock each), with the
    // picture each shows.
    std::vector<uint32_t> frames{object->currentFrame};
    std::vector<IDirect3DTexture9*> shown{object->CurrentFrameTexture()};
    for (int tenth = 1; tenth <= 22; ++tenth) {
        object->Update(tenth / 10.0f);
        if (object->currentFrame != frames.back()) {
            frames.push_back(object->currentFrame);
            shown.push_back(object->CurrentFrameTexture());
        }
    }
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 0}), frames);
    const auto& pictures = object->textureSet.textures;
    EXPECT_EQ((std::vector<IDirect3DTexture9*>{pictures[0].Get(), pictures[1].Get(), pictures[1].Get(),
                                               pictures[0].Get()}),
              shown);

    // As a plain picture the same link is no list at all.
    fish->imageSource = 0;
    fish->mainImage.value = FileKey{TESTMODULE_FILE_NAME, TESTMODULE_PICTURE};
    EXPECT_TRUE(Make(*fish)->textureSet.delays.empty());
}

// An image list with more delays than pictures keeps showing its last
// picture for the frames it lacks, never reading past its pictures.
TEST_F(SpriteArrayTest, FramesBeyondThePicturesShowTheLastPicture)
{
    TextureSet& frames = manager.Table().textureSets[FramesKey];
    frames.textures = {second};
    frames.delays = {0.05f, 0.05f, 0.05f};
    frames.width = frames.height = 32;

    auto fish = StillFish(64, 64);
    fish->mainImage.value = FramesKey;
    const auto object = Make(*fish);
    for (uint32_t frame : {1u, 2u}) {
        const Pixels pixels = Frame(*object, 0.1f * static_cast<float>(frame));
        ASSERT_EQ(frame, object->currentFrame);
        EXPECT_TRUE(ColourNear(pixels.At(64, 64), Rgba::FromArgb(Blue), 2)) << frame;
        EXPECT_EQ(second.Get(), object->CurrentFrameTexture());
    }
}

// What lies outside the back buffer is clipped away: a sprite beyond the
// left side draws nothing, one across the right side only its inside part.
TEST_F(SpriteArrayTest, SpritesOutsideTheViewAreClippedToNothing)
{
    const Rgba grey = Rgba::FromArgb(Grey);
    auto outside = StillFish(-40, 128);
    const Pixels nothing = Frame(*Make(*outside), 0.1f);
    EXPECT_TRUE(nothing.AllNear(0, 0, 256, 256, grey, 0));

    auto across = StillFish(256, 30);
    const Pixels half = Frame(*Make(*across), 0.1f);
    EXPECT_TRUE(half.AllNear(238, 12, 256, 48, BlendOver(grey, Rgba::FromArgb(HalfRed)), 3));
    EXPECT_TRUE(half.AllNear(0, 0, 234, 256, grey, 0));
}

// A static system rewrites its quads only when its animation frame changes,
// though its particles move on; its first quads are written all the same,
// even when its picture has a single frame.
TEST_F(SpriteArrayTest, AStaticSystemWritesItsQuadsOnFrameChangesOnly)
{
    auto still = StillFish(128, 128);
    still->staticFlag.value = 1;
    const auto single = Make(*still);
    EXPECT_TRUE(ColourNear(Frame(*single, 0.1f).At(128, 128), BlendOver(Rgba::FromArgb(Grey), Rgba::FromArgb(HalfRed)), 3));

    TextureSet& frames = manager.Table().textureSets[FramesKey];
    frames.textures = {sprite, sprite};
    frames.delays = {0.3f, 0.3f};
    auto swimming = StillFish(128, 128);
    swimming->speedX = 80.0f;
    swimming->mainImage.value = FramesKey;
    swimming->staticFlag.value = 1;
    const auto object = Make(*swimming);
    object->Update(0.1f);
    const std::vector<DX_V::PCT> written = ReadVertices(object->SpriteGeometry());
    const float x = object->items.front()->position.x;

    object->Update(0.2f);
    object->Update(0.3f);
    EXPECT_NE(x, object->items.front()->position.x);
    EXPECT_EQ(written[0].x, ReadVertices(object->SpriteGeometry())[0].x);

    object->Update(0.45f);
    ASSERT_EQ(1u, object->currentFrame);
    const ParticleItem& moved = *object->items.front();
    EXPECT_EQ(moved.position.x - moved.halfWidth, ReadVertices(object->SpriteGeometry())[0].x);
}

// A count of 0 makes no buffers and no particles, and draws nothing.
TEST_F(SpriteArrayTest, NoParticlesDrawNothing)
{
    auto empty = StillFish(128, 128, 0);
    const auto object = Make(*empty);
    EXPECT_FALSE(object->vertices);
    EXPECT_FALSE(object->indices);
    EXPECT_TRUE(object->items.empty());
    EXPECT_TRUE(Frame(*object, 0.1f).AllNear(0, 0, 256, 256, Rgba::FromArgb(Grey), 0));
}

// The object works with its own clone: the slide's controller may go, and
// changes to it no longer reach the object.
TEST_F(SpriteArrayTest, TheObjectOwnsItsClone)
{
    auto fish = StillFish(128, 128, 3);
    const auto object = Make(*fish);
    EXPECT_NE(fish.get(), &object->System());
    fish.reset();

    EXPECT_EQ(3u, object->items.size());
    EXPECT_TRUE(ColourNear(Frame(*object, 0.1f).At(128, 128),
                           BlendOver(BlendOver(BlendOver(Rgba::FromArgb(Grey), Rgba::FromArgb(HalfRed)),
                                               Rgba::FromArgb(HalfRed)),
                                     Rgba::FromArgb(HalfRed)),
                           3));
}

// After the first frame, frames of a busy flow (edge rules, wandering, an
// animated picture) allocate nothing.
TEST_F(SpriteArrayTest, FramesAllocateNothing)
{
    TextureSet& frames = manager.Table().textureSets[FramesKey];
    frames.textures = {sprite, second};
    frames.delays = {0.1f, 0.1f};
    DS_FlowConstructor flow;
    flow.count.value = 500;
    flow.angle.value = 270;
    flow.strength = 400.0f;
    flow.driftSpeed.value = 10;
    flow.driftChangeRate.value = 8;
    flow.mainImage.value = FramesKey;
    flow.edges[BottomEdge].fadeOutTime.value = 200;
    flow.edges[BottomEdge].fadeInTime.value = 200;
    flow.edges[BottomEdge].maxHiddenTime.value = 300;
    flow.edges[LeftEdge].rule.value = DS_BoundControl::RuleBounce;
    flow.edges[RightEdge].rule.value = DS_BoundControl::RuleBounceWithPause;
    const auto object = Make(flow);
    Draw(*object, 0.0f);

    const long long before = AllocationsMade();
    for (float t = 0.05f; t < 6.0f; t += 0.05f)
        Draw(*object, t);
    EXPECT_EQ(before, AllocationsMade());
}
