#include "tests/support/AllocationCounter.h"
#include "tests/support/SlideshowTest.h"

#include <string>
#include <vector>

namespace {

const D3DCOLOR Marker = 0xFFFF00FF;

std::vector<std::string> ActivityOf(const std::vector<std::string>& log)
{
    std::vector<std::string> found;
    for (const std::string& entry : log)
        if (entry.compare(0, 7, "active ") == 0)
            found.push_back(entry);
    return found;
}

FlatSlide SlideWithSound(DWORD colour, const wchar_t* sound, uint32_t seconds)
{
    FlatSlide slide{colour, seconds, seconds, seconds};
    slide.soundObjects = {ProbeRecord({sound})};
    return slide;
}

void BuildAll(DS_SlideShow_Light& root)
{
    for (const CountedPtr<DS_SlideContainer>& slide : root.slides)
        slide->BuildObjects();
}

using Log = std::vector<std::string>;

} // namespace

TEST_F(SlideshowTest, ARootWithoutSlidesShowsNothing)
{
    const SceneDocument document = Load(FlatSlideshow({}));
    ASSERT_TRUE(document);
    DS_SlideShow_Light& root = *document.root;

    const Pixels frame = DrawFrame(Marker, [&] {
        root.Update(0.0f);
        root.Update(50.0f);
        root.Render();
    });

    EXPECT_FALSE(root.currentSlide);
    EXPECT_FALSE(root.fadeQuad);
    EXPECT_TRUE(frame.AllNear(0, 0, frame.Width(), frame.Height(), Rgba::FromArgb(Marker), 0));
}

TEST_F(SlideshowTest, LeavingASlideStopsItsSoundsAndStartsTheNextOnes)
{
    const SceneDocument document = Load(FlatSlideshow({SlideWithSound(0x101010, L"S0", 1),
                                                        SlideWithSound(0x202020, L"S1", 1)}));
    ASSERT_TRUE(document);
    DS_SlideShow_Light& root = *document.root;
    BuildAll(root);

    root.Update(0.0f);
    EXPECT_EQ((Log{"active S0 1"}), ActivityOf(ProbeLog()));
    // The cycle lasts 3 s and began a fade-in earlier: not over at 2 s.
    root.Update(2.0f);
    EXPECT_EQ(root.slides[0].Get(), root.currentSlide.Get());
    root.Update(2.5f);
    EXPECT_EQ(root.slides[1].Get(), root.currentSlide.Get());
    EXPECT_EQ((Log{"active S0 1", "active S0 0", "active S1 1"}), ActivityOf(ProbeLog()));
    EXPECT_EQ(0u, root.next);
}

TEST_F(SlideshowTest, ASingleSlideNeverSwitchesNorFades)
{
    const DWORD colour = 0x5080B0;
    const SceneDocument document = Load(FlatSlideshow({SlideWithSound(colour, L"S", 1)}));
    ASSERT_TRUE(document);
    DS_SlideShow_Light& root = *document.root;
    BuildAll(root);

    for (float time : {0.0f, 0.5f, 3.0f, 1000.0f}) {
        const Pixels frame = DrawFrame(Marker, [&] {
            root.Update(time);
            root.Render();
        });
        EXPECT_TRUE(ColourNear(frame.At(128, 128), Opaque(colour), 2)) << time;
    }
    EXPECT_EQ(root.slides[0].Get(), root.currentSlide.Get());
    EXPECT_EQ((Log{"active S 1"}), ActivityOf(ProbeLog()));
}

// While the slide shows fully the fade quad is not drawn at all: it would
// blend over the whole back buffer and leave every pixel as it is. During a
// fade it darkens the picture.
TEST_F(SlideshowTest, TheFadeQuadIsDrawnOnlyWhileItIsNotFullyTransparent)
{
    const DWORD colour = 0x80C040;
    const SceneDocument document = Load(FlatSlideshow({{colour, 2, 10, 2}, {0x000080}}));
    ASSERT_TRUE(document);
    DS_SlideShow_Light& root = *document.root;
    BuildAll(root);
    // The quad is the only draw of the frame that turns blending on.
    IDirect3DDevice9* d = device.Device();
    const auto blendedAt = [&](float time, Pixels& frame) {
        frame = DrawFrame(Marker, [&] {
            root.Update(time);
            d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
            root.Render();
        });
        DWORD blending = TRUE;
        d->GetRenderState(D3DRS_ALPHABLENDENABLE, &blending);
        return blending != FALSE;
    };

    Pixels frame;
    // The first slide starts without its fade-in; at 11 s it is half way
    // through its fade-out.
    for (float time : {0.0f, 5.0f}) {
        EXPECT_FALSE(blendedAt(time, frame)) << time;
        EXPECT_TRUE(ColourNear(frame.At(128, 128), Opaque(colour), 2)) << time;
    }
    EXPECT_TRUE(blendedAt(11.0f, frame));
    EXPECT_TRUE(ColourNear(frame.At(128, 128), Opaque(0x406020), 3));
}

// The visual objects hold render targets of their own (the probe does), in
// the current slide and in the next one.
TEST_F(SlideshowTest, TheShowGoesOnAfterADeviceReset)
{
    const DWORD colour = 0x40C020;
    FlatSlide first{colour};
    first.visualObjects = {ProbeRecord({L"A", 0xFFFF0000, false, {0, 0, 16, 16}})};
    FlatSlide second{0x000080};
    second.visualObjects = {ProbeRecord({L"B", 0xFF00FF00, false, {0, 0, 16, 16}})};
    const SceneDocument document = Load(FlatSlideshow({first, second}));
    ASSERT_TRUE(document);
    DS_SlideShow_Light& root = *document.root;
    BuildAll(root);
    // The second slide was shown before the first: its object keeps its
    // target while it waits for its turn.
    Activate(root, 1);
    root.currentSlide.Release();
    DrawFrame(Marker, [&] {
        root.Update(0.0f);
        root.Render();
    });
    ProbeLog().clear();

    root.OnDeviceInvalidated();
    // A reset succeeds only when nothing of the default pool is left.
    ASSERT_EQ(D3D_OK, device.Reset());
    root.OnDeviceRestored();
    // The other slide's object restores its target when its slide is shown.
    EXPECT_EQ((Log{"object invalidated A", "object invalidated B", "object restored A"}), ProbeLog());
    const Pixels frame = DrawFrame(Marker, [&] {
        root.Update(1.0f);
        root.Render();
    });

    EXPECT_TRUE(ColourNear(frame.At(128, 128), Opaque(colour), 2));
    EXPECT_TRUE(ColourNear(frame.At(3, 250), Opaque(colour), 2));
    EXPECT_TRUE(ColourNear(frame.At(8, 8), Opaque(0xFF0000), 0));
}

TEST_F(SlideshowTest, ThePicturePositionReachesEverySlide)
{
    const SceneDocument document = Load(FlatSlideshow({{0}, {0}, {0}}));
    ASSERT_TRUE(document);
    BuildAll(*document.root);

    document.root->SetPicturePosition(0);

    for (const CountedPtr<DS_SlideContainer>& slide : document.root->slides)
        EXPECT_EQ(0, slide->layer->pictureMode);
}

TEST_F(SlideshowTest, FramesOfASlideAllocateNothing)
{
    const SceneDocument document = Load(FlatSlideshow({{0x804020}, {0x204080}}));
    ASSERT_TRUE(document);
    DS_SlideShow_Light& root = *document.root;
    BuildAll(root);
    IDirect3DDevice9* d = device.Device();
    const auto frame = [&](float time) {
        d->BeginScene();
        root.Update(time);
        root.Render();
        d->EndScene();
    };
    frame(0.0f);
    const long long before = AllocationsMade();

    // On screen, then fading out: everything short of a switch.
    for (float time = 0.25f; time < 12.0f; time += 0.25f)
        frame(time);

    EXPECT_EQ(before, AllocationsMade());
}
