// The demo document's water slides, as the build wrote the document: each
// finds its layer's and its brushes' effects, masks and pictures in the
// document, and its water moves from frame to frame with the camera held
// still.
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/SceneView.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/ResourceCache.h"
#include "scene/brushes/DS_BrushObj.h"
#include "scene/brushes/DS_LightFX.h"
#include "scene/brushes/DS_WaterFX.h"
#include "scene/brushes/DS_WavesFX.h"
#include "scene/layers/DS_WaterRingLight.h"
#include "scene/layers/FakeLake2D.h"
#include "scene/layers/FakeUndervater.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

const UINT Width = 320;
const UINT Height = 180;
const D3DCOLOR Clear = 0xFFFF00FF;

std::vector<uint8_t> ReadDemoDocument()
{
    std::ifstream in(NIGHTGLASS_DEMO_DOCUMENT, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The slides' names are plain ASCII.
std::string Narrow(const wchar_t* text) { return std::string(text, text + std::wcslen(text)); }

// The classes of a slide's brushes, in document order.
std::vector<std::string> BrushClasses(const DS_SlideContainer& slide)
{
    std::vector<std::string> classes;
    for (const CountedPtr<DS_ABObj>& object : slide.visualObjects) {
        const auto* brush = dynamic_cast<const DS_BrushObj*>(object.Get());
        classes.push_back(brush ? typeid(*brush->Brush()).name() : "not a brush");
    }
    return classes;
}

} // namespace

class WaterSlidesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Ok());
        current.emplace(device.Device());
        GlobalSceneView->UseBorders(&borders);
        const std::vector<uint8_t> bytes = ReadDemoDocument();
        document = LoadSceneDocument(bytes.data(), bytes.size());
        ASSERT_TRUE(document);
        for (const CountedPtr<DS_SlideContainer>& slide : document.root->slides)
            slide->BuildObjects();
        document.root->SetPicturePosition(SceneView::Fill);
    }
    void TearDown() override
    {
        // The root goes before the manager its objects came from.
        document.root.reset();
        document.resources.reset();
        CurrentResManager = nullptr;
        CurrentResourceCache = nullptr;
        GlobalSceneView->UseBorders(nullptr);
        current.reset();
    }

    DS_SlideContainer* Named(const wchar_t* name)
    {
        for (const CountedPtr<DS_SlideContainer>& slide : document.root->slides)
            if (slide->name.value == name)
                return slide.Get();
        ADD_FAILURE() << "no slide named " << Narrow(name);
        return nullptr;
    }

    // The slide made current with its camera held still, then drawn from
    // time `from` on at 30 frames a second for `frames` frames; the last one
    // read back.
    Pixels Play(DS_SlideContainer& slide, float from, int frames)
    {
        for (const CountedPtr<DS_SlideContainer>& s : document.root->slides)
            if (s.Get() == &slide)
                document.root->currentSlide = s;
        slide.layer->camera.enabled.value = 0;
        document.root->ActivateSlide();
        IDirect3DDevice9* d = device.Device();
        for (int frame = 0; frame < frames; ++frame) {
            slide.Update(from + frame / 30.0f);
            d->Clear(0, nullptr, D3DCLEAR_TARGET, Clear, 1.0f, 0);
            d->BeginScene();
            slide.RenderScene();
            slide.FinishFrame();
            d->EndScene();
        }
        return device.ReadBackBuffer();
    }

    TestDevice device{Width, Height};
    std::optional<ScopedCurrentDevice> current;
    SceneBorders borders;
    SceneDocument document;
};

// Each slide's layer is of its class with its device objects made, and each
// brush has its effect and its mask from the document.
TEST_F(WaterSlidesTest, EverySlideIsMadeWithItsEffectsMasksAndPictures)
{
    const std::string water = typeid(DS_WaterFX).name();
    const std::string waves = typeid(DS_WavesFX).name();
    const std::string light = typeid(DS_LightFX).name();
    const struct {
        const wchar_t* name;
        std::vector<std::string> brushes;
    } cases[] = {
        {L"Mountain lake", {}},
        {L"Rain on the lily pond", {}},
        {L"Moonlit lake", {water, waves}},
        {L"Harbour lights", {light, light, light, waves}},
        {L"Sunlit reef", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        DS_SlideContainer* slide = Named(c.name);
        ASSERT_NE(nullptr, slide);
        ASSERT_TRUE(slide->layer);
        EXPECT_TRUE(slide->layer->pictureQuad.image.texture);
        EXPECT_EQ(c.brushes, BrushClasses(*slide));
        for (const CountedPtr<DS_ABObj>& object : slide->visualObjects) {
            const auto* brush = dynamic_cast<const DS_BrushObj*>(object.Get());
            ASSERT_NE(nullptr, brush);
            EXPECT_TRUE(brush->Brush()->effect);
            EXPECT_TRUE(brush->Brush()->mask);
        }
    }

    const auto* lake = dynamic_cast<FakeLake2D*>(Named(L"Mountain lake")->layer.Get());
    ASSERT_NE(nullptr, lake);
    EXPECT_TRUE(lake->bumpTexture);
    EXPECT_TRUE(lake->reflection.image.texture);
    const auto* pond = dynamic_cast<DS_WaterRingLight*>(Named(L"Rain on the lily pond")->layer.Get());
    ASSERT_NE(nullptr, pond);
    EXPECT_TRUE(pond->grid);
    auto* reef = dynamic_cast<FakeUndervater*>(Named(L"Sunlit reef")->layer.Get());
    ASSERT_NE(nullptr, reef);
    EXPECT_TRUE(reef->water.effect);
}

// Played with the camera still, every slide covers the screen and its water
// moves: a second later a share of the pixels has changed (the moon's path
// on the still lake, the smallest, about one in a hundred).
TEST_F(WaterSlidesTest, EverySlidesWaterMovesOverTime)
{
    for (const wchar_t* name : {L"Mountain lake", L"Rain on the lily pond", L"Moonlit lake", L"Harbour lights",
                                L"Sunlit reef"}) {
        SCOPED_TRACE(Narrow(name));
        DS_SlideContainer* slide = Named(name);
        ASSERT_NE(nullptr, slide);
        const Pixels first = Play(*slide, 5.0f, 30);
        const Pixels later = Play(*slide, 6.0f, 30);

        int cleared = 0, lit = 0, changed = 0;
        for (UINT y = 0; y < Height; ++y)
            for (UINT x = 0; x < Width; ++x) {
                const Rgba p = later.At(static_cast<int>(x), static_cast<int>(y));
                if (p == Rgba::FromArgb(Clear))
                    ++cleared;
                if (p.Brightness() > 20.0)
                    ++lit;
                if (p.ColourDistance(first.At(static_cast<int>(x), static_cast<int>(y))) > 24)
                    ++changed;
            }
        const int all = static_cast<int>(Width * Height);
        EXPECT_EQ(0, cleared);
        // The night scenes are mostly dark, but none is black.
        EXPECT_GT(lit, all / 10);
        EXPECT_GT(changed, all / 200) << changed << " of " << all << " pixels changed";
    }
}
