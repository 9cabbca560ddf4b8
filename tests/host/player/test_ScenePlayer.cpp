#include "host/player/ScenePlayer.h"

#include "foundation/core/SaverError.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/QuadColours.h"
#include "foundation/resources/ResourceCache.h"
#include "foundation/resources/TextureLoaders.h"
#include "host/framework/Settings.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/SlideshowDocuments.h"
#include "tests/support/TestDevice.h"
#include "tools/assets/DemoArt.h"
#include "tools/assets/SoundArt.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const int Side = 256;
const D3DCOLOR Marker = 0xFFFF00FF;

// What the back buffer shows of a picture of colour under the fade quad at
// that opacity: black blended over the picture.
Rgba Faded(DWORD colour, float opacity)
{
    const float keep = 1.0f - static_cast<float>(AlphaByte(opacity * 255.0f)) / 255.0f;
    const auto channel = [keep](DWORD c) { return static_cast<uint8_t>(static_cast<float>(c & 0xFF) * keep + 0.5f); };
    return Rgba{channel(colour >> 16), channel(colour >> 8), channel(colour), 255};
}

::testing::AssertionResult Shows(const Pixels& frame, DWORD colour, float opacity)
{
    const Rgba expected = Faded(colour, opacity);
    for (const auto& point : {std::pair<int, int>{Side / 2, Side / 2}, {2, 2}, {Side - 3, Side - 3}}) {
        auto match = ColourNear(frame.At(point.first, point.second), expected, 3);
        if (!match)
            return match << " at " << point.first << "," << point.second;
    }
    return ::testing::AssertionSuccess();
}

} // namespace

class ScenePlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Ok());
        PicPosCache = PicPosCacheRecord{true, PicFill};
        player.MakeCurrent(device.Device());
    }
    void TearDown() override { CurrentDevice = nullptr; }

    Pixels Frame(float time)
    {
        EXPECT_EQ(S_OK, player.RunFrame(time)) << time;
        return device.ReadBackBuffer();
    }

    // The splash frame and the loading frame.
    void Start(const std::vector<FlatSlide>& slides)
    {
        player.UseDocument(FlatSlideshow(slides));
        Frame(0.0f);
        Frame(0.0f);
        ASSERT_TRUE(player.Root());
    }

    TestDevice device{Side, Side};
    ScenePlayer player;
};

TEST_F(ScenePlayerTest, SplashThenALoadingFrameThenTheFirstSlideInFull)
{
    const DWORD colour = 0x3080C0;
    player.UseDocument(FlatSlideshow({{colour}, {0xC08030}}));

    const Pixels splash = Frame(0.0f);

    // The splash picture, blended over black, on a centred square of two
    // thirds of the height.
    ComHolder<IDirect3DTexture9> picture;
    ASSERT_EQ(S_OK, LoadResourceTexture(5, false, picture));
    const Pixels source = device.ReadTexture(picture.Get());
    const Rgba centre = source.AtFraction(0.5, 0.5);
    const auto premultiplied = [&](uint8_t c) { return static_cast<uint8_t>(c * centre.a / 255); };
    EXPECT_TRUE(ColourNear(splash.At(Side / 2, Side / 2),
                           Rgba{premultiplied(centre.r), premultiplied(centre.g), premultiplied(centre.b), 255}, 12));
    EXPECT_TRUE(splash.AllNear(0, 0, 40, Side, Rgba{0, 0, 0, 255}, 0));
    EXPECT_TRUE(player.SplashShown());
    EXPECT_FALSE(player.Loaded());

    const Pixels loading = Frame(0.0f);

    EXPECT_TRUE(player.Loaded());
    ASSERT_TRUE(player.Root());
    EXPECT_EQ(player.ResourceManager(), CurrentResManager);
    for (int y = 0; y < Side; y += 5)
        for (int x = 0; x < Side; x += 5)
            ASSERT_EQ(splash.At(x, y), loading.At(x, y)) << x << "," << y;

    EXPECT_TRUE(Shows(Frame(100.0f), colour, 0.0f));
}

// A show's frames at given times: which slide is current and how far the
// fade has darkened it.
struct ShowFrame {
    float time;
    std::size_t slide;
    float opacity;
};

struct ShowCase {
    const char* name;
    std::vector<FlatSlide> slides;
    std::vector<ShowFrame> frames;
};

TEST_F(ScenePlayerTest, SlidesFollowEachOtherThroughBlack)
{
    const DWORD red = 0xC02020, green = 0x20C020, blue = 0x2020C0;
    const std::vector<ShowCase> cases = {
        {"two slides from t = 100: fade-out from 110, black at the switch, fade-in after",
         {{red, 1, 10, 1}, {green, 1, 10, 1}},
         {{100.0f, 0, 0.0f},
          {105.0f, 0, 0.0f},
          {110.0f, 0, 0.0f},
          {110.5f, 0, 0.5f},
          {111.5f, 1, 1.0f},
          {112.0f, 1, 0.5f},
          {112.5f, 1, 0.0f}}},
        {"three slides run 0, 1, 2, 0, 1; the first fades in when the show wraps",
         {{red, 1, 10, 1}, {green, 1, 10, 1}, {blue, 1, 10, 1}},
         {{0.0f, 0, 0.0f},
          {11.5f, 1, 1.0f},
          {12.5f, 1, 0.0f},
          {24.0f, 2, 1.0f},
          {25.0f, 2, 0.0f},
          {36.5f, 0, 1.0f},
          {37.0f, 0, 0.5f},
          {37.5f, 0, 0.0f},
          {49.0f, 1, 1.0f}}},
        {"a time jump switches once",
         {{red, 1, 10, 1}, {green, 1, 10, 1}, {blue, 1, 10, 1}},
         {{0.0f, 0, 0.0f}, {1000.0f, 1, 1.0f}, {1001.0f, 1, 0.0f}, {1012.5f, 2, 1.0f}}},
        {"without a fade-in the next slide shows at once",
         {{red, 0, 10, 1}, {green, 0, 10, 1}},
         {{0.0f, 0, 0.0f}, {10.5f, 0, 0.5f}, {11.5f, 1, 0.0f}, {21.5f, 1, 0.0f}, {22.0f, 1, 0.5f}}},
        {"without a fade-out the slide switches before it darkens",
         {{red, 1, 10, 0}, {green, 1, 10, 0}},
         {{0.0f, 0, 0.0f}, {9.9f, 0, 0.0f}, {10.5f, 1, 1.0f}, {11.0f, 1, 0.5f}, {11.5f, 1, 0.0f}}},
        {"the frame of a switch takes its fade from the slide left",
         {{red, 0, 10, 1}, {green, 2, 10, 1}},
         {{0.0f, 0, 0.0f}, {11.5f, 1, 0.0f}, {12.0f, 1, 0.75f}, {14.0f, 1, 0.0f}}},
    };

    for (const ShowCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScenePlayer show;
        show.MakeCurrent(device.Device());
        show.UseDocument(FlatSlideshow(c.slides));
        show.RunFrame(0.0f);
        show.RunFrame(0.0f);
        ASSERT_TRUE(show.Root());
        for (const ShowFrame& f : c.frames) {
            ASSERT_EQ(S_OK, show.RunFrame(f.time));
            const Pixels frame = device.ReadBackBuffer();
            EXPECT_EQ(show.Root()->slides[f.slide].Get(), show.Root()->currentSlide.Get()) << "t = " << f.time;
            EXPECT_TRUE(Shows(frame, c.slides[f.slide].colour, f.opacity)) << "t = " << f.time;
        }
    }
}

TEST_F(ScenePlayerTest, ADocumentThatDoesNotLoadIsMediaNotFoundAndDrawsNothingMore)
{
    DocumentBuilder::Bytes damaged = FlatSlideshow({{0x808080}});
    damaged.resize(damaged.size() / 2);
    player.UseDocument(damaged);
    const DS_DocResManager* before = CurrentResManager;

    EXPECT_EQ(S_OK, player.RunFrame(0.0f));
    EXPECT_EQ(MediaNotFound, player.RunFrame(0.0f));

    EXPECT_TRUE(player.Loaded());
    EXPECT_FALSE(player.Root());
    EXPECT_FALSE(player.ResourceManager());
    EXPECT_EQ(before, CurrentResManager);
    device.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, Marker, 1.0f, 0);
    EXPECT_EQ(S_OK, player.RunFrame(1.0f));
    const Pixels after = device.ReadBackBuffer();
    EXPECT_TRUE(after.AllNear(0, 0, Side, Side, Rgba::FromArgb(Marker), 0));
}

TEST_F(ScenePlayerTest, EachScreenPublishesItsOwnDocumentAndDevice)
{
    TestDevice secondDevice{Side, Side};
    ASSERT_TRUE(secondDevice.Ok());
    ScenePlayer second;
    const DWORD colour = 0x60A040;
    const DocumentBuilder::Bytes bytes = FlatSlideshow({{colour}});
    player.UseDocument(bytes);
    second.UseDocument(bytes);

    // Frames as the host draws them: every screen selected in turn.
    for (float time : {0.0f, 0.0f, 1.0f}) {
        player.MakeCurrent(device.Device());
        player.RunFrame(time);
        second.MakeCurrent(secondDevice.Device());
        second.RunFrame(time);
    }

    ASSERT_TRUE(player.ResourceManager());
    ASSERT_TRUE(second.ResourceManager());
    EXPECT_NE(player.ResourceManager(), second.ResourceManager());
    player.MakeCurrent(device.Device());
    EXPECT_EQ(device.Device(), CurrentDevice);
    EXPECT_EQ(player.ResourceManager(), CurrentResManager);
    EXPECT_EQ(&player.ResourceManager()->Cache(), CurrentResourceCache);
    second.MakeCurrent(secondDevice.Device());
    EXPECT_EQ(secondDevice.Device(), CurrentDevice);
    EXPECT_EQ(second.ResourceManager(), CurrentResManager);
    EXPECT_EQ(&second.ResourceManager()->Cache(), CurrentResourceCache);

    // Each screen's picture was made on its own device.
    for (const auto& [screen, expected] : {std::pair<ScenePlayer*, IDirect3DDevice9*>{&player, device.Device()},
                                           {&second, secondDevice.Device()}}) {
        IDirect3DTexture9* texture = screen->Root()->slides[0]->layer->pictureQuad.image.texture.Get();
        ASSERT_TRUE(texture);
        ComHolder<IDirect3DDevice9> owner;
        texture->GetDevice(owner.Out());
        EXPECT_EQ(expected, owner.Get());
    }
    EXPECT_TRUE(Shows(device.ReadBackBuffer(), colour, 0.0f));
    EXPECT_TRUE(Shows(secondDevice.ReadBackBuffer(), colour, 0.0f));

    // A player that has not loaded publishes no document, never the
    // previous screen's, whose objects belong to the other device.
    ScenePlayer fresh;
    fresh.MakeCurrent(device.Device());
    EXPECT_EQ(nullptr, CurrentResManager);
    EXPECT_EQ(nullptr, CurrentResourceCache);
}

TEST_F(ScenePlayerTest, APlayerThatGoesLeavesNoDocumentPublished)
{
    {
        ScenePlayer gone;
        gone.MakeCurrent(device.Device());
        gone.UseDocument(FlatSlideshow({{0x101010}}));
        gone.RunFrame(0.0f);
        gone.RunFrame(0.0f);
        ASSERT_TRUE(gone.ResourceManager());
        ASSERT_EQ(gone.ResourceManager(), CurrentResManager);
    }

    EXPECT_EQ(nullptr, CurrentResManager);
    EXPECT_EQ(nullptr, CurrentResourceCache);
}

TEST_F(ScenePlayerTest, ThePicturePositionSettingReachesEveryLayer)
{
    PicPosCache = PicPosCacheRecord{true, PicStretch};

    ASSERT_NO_FATAL_FAILURE(Start({{0x101010}, {0x202020}}));

    for (const CountedPtr<DS_SlideContainer>& slide : player.Root()->slides)
        EXPECT_EQ(PicStretch, slide->layer->pictureMode);
}

// The document the program embeds, read from its resource.
TEST_F(ScenePlayerTest, TheEmbeddedDemoDocumentLoadsWithItsPictures)
{
    const SceneDocument document = LoadSceneDocument();

    ASSERT_TRUE(document);
    const std::vector<DemoPicture>& pictures = DemoPictures();
    // The plain picture slides come first; the effect slides follow them.
    ASSERT_GE(document.root->slides.size(), pictures.size());
    unsigned cycle = 0;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        DS_SlideContainer& slide = *document.root->slides[i];
        SCOPED_TRACE(i);
        cycle += slide.fadeIn.value + slide.display.value + slide.fadeOut.value;
        EXPECT_FALSE(slide.name.value.empty());
        slide.BuildObjects();
        EXPECT_EQ(pictures[i].width, slide.layer->GetPictureWidth());
        EXPECT_EQ(pictures[i].height, slide.layer->GetPictureHeight());
        IDirect3DTexture9* texture = slide.layer->pictureQuad.image.texture.Get();
        ASSERT_TRUE(texture);
        D3DSURFACE_DESC level{};
        texture->GetLevelDesc(0, &level);
        EXPECT_GE(level.Width, UINT(pictures[i].width));
        EXPECT_GE(level.Height, UINT(pictures[i].height));
    }
    EXPECT_LT(cycle, 90u);
    // Its music, whole, in playing order.
    ASSERT_EQ(DemoMusic().size(), document.root->audioFiles.size());
    for (std::size_t i = 0; i < DemoMusic().size(); ++i)
        EXPECT_EQ(EncodeWav(DemoMusic()[i].make()).size(),
                  static_cast<std::size_t>(document.root->audioFiles[i]->file.Size()));
}

TEST_F(ScenePlayerTest, TheEmbeddedDemoDocumentPlays)
{
    Frame(0.0f);
    Frame(0.0f);
    ASSERT_TRUE(player.Root());

    const Pixels first = Frame(5.0f);

    // A night picture: neither black nor flat.
    EXPECT_GT(first.Mean(0, 0, Side, Side).Brightness(), 10.0);
    EXPECT_GT(first.At(Side / 2, 10).ColourDistance(first.At(Side / 2, Side - 10)), 8);
}
