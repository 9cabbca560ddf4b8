// The demo document's glass-ball and glyph-rain slides, as the program
// embeds them: their module pictures come from the document's own copies,
// and every slide draws.
#include "foundation/core/CurrentDevice.h"
#include "scene/layers/DS_GlassBallLight.h"
#include "scene/layers/DS_MatrixCodeLight.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const int Side = 256;

class EffectSlidesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Ok());
        current.emplace(device.Device());
    }
    void TearDown() override { current.reset(); }

    // Slide index shown for three seconds of frames; the last one read back.
    Pixels Show(DS_SlideShow_Light& root, std::size_t index)
    {
        root.currentSlide = root.slides[index];
        root.ActivateSlide();
        DS_SlideContainer& slide = *root.slides[index];
        IDirect3DDevice9* d = device.Device();
        for (int frame = 0; frame < 90; ++frame) {
            slide.Update(50.0f + frame / 30.0f);
            d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF00FF, 1.0f, 0);
            d->BeginScene();
            slide.RenderScene();
            slide.FinishFrame();
            d->EndScene();
        }
        return device.ReadBackBuffer();
    }

    TestDevice device{Side, Side};
    std::optional<ScopedCurrentDevice> current;
};

// Something lit on more than a few pixels (glyphs over black may be all
// there is), and nothing left of the clear colour.
::testing::AssertionResult Drawn(const Pixels& frame)
{
    int lit = 0;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            if (frame.At(x, y) == Rgba{255, 0, 255, 255})
                return ::testing::AssertionFailure() << "the clear colour at " << x << "," << y;
            if (frame.At(x, y).Brightness() > 40.0)
                ++lit;
        }
    if (lit < Side * Side / 100)
        return ::testing::AssertionFailure() << "only " << lit << " pixels lit";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(EffectSlidesTest, GlassAndGlyphSlidesFindTheirPicturesAndDraw)
{
    SceneDocument document = LoadSceneDocument();
    ASSERT_TRUE(document);
    DS_SlideShow_Light& root = *document.root;
    for (const CountedPtr<DS_SlideContainer>& slide : root.slides)
        slide->BuildObjects();
    root.SetPicturePosition(2);

    int balls = 0;
    int rains = 0;
    for (std::size_t i = 0; i < root.slides.size(); ++i) {
        DS_2D_Light* layer = root.slides[i]->layer.Get();
        SCOPED_TRACE(i);
        if (auto* ball = dynamic_cast<DS_GlassBallLight*>(layer)) {
            ++balls;
            EXPECT_TRUE(ball->overlay1 && ball->overlay2 && ball->shadow);
            EXPECT_TRUE(ball->bumpMap && ball->discMask && ball->gradient);
        } else if (auto* rain = dynamic_cast<DS_MatrixCodeLight*>(layer)) {
            ++rains;
            EXPECT_TRUE(rain->quads.chunks[0].texture);
            EXPECT_EQ(34, rain->iterator->grid->glyphCount);
        } else {
            continue;
        }
        EXPECT_TRUE(Drawn(Show(root, i)));
    }
    EXPECT_GE(balls, 1);
    EXPECT_GE(rains, 2);
}
