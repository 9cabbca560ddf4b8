// The demo document's lakeside slide, as the program reads it.
#include "tests/support/AllocationCounter.h"
#include "tests/support/SlideshowTest.h"

#include "scene/brushes/DS_BrushObj.h"
#include "scene/brushes/DS_PatternBrush.h"

#include <fstream>
#include <iterator>

namespace {

DocumentBuilder::Bytes ReadDemoDocument()
{
    std::ifstream in(NIGHTGLASS_DEMO_DOCUMENT, std::ios::binary);
    return DocumentBuilder::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

// No "common_res.dll" is shipped: every brush of the slide finds its effect
// in the document, and the flag's pattern, a module's image list, plays from
// the frames and delays the document embeds for its link. Its frames, the
// lake's capture of the scene included, allocate nothing after the first.
TEST_F(SlideshowTest, TheDemoLakesideSlidePlaysFromTheDocumentAlone)
{
    const SceneDocument document = Load(ReadDemoDocument());
    ASSERT_TRUE(document);
    DS_SlideContainer* lakeside = nullptr;
    for (const CountedPtr<DS_SlideContainer>& slide : document.root->slides)
        if (slide->name.value == L"Lakeside inn")
            lakeside = slide.Get();
    ASSERT_NE(nullptr, lakeside);
    lakeside->BuildObjects();
    ASSERT_EQ(5u, lakeside->visualObjects.size());
    DS_PatternBrush* flag = nullptr;
    for (const CountedPtr<DS_ABObj>& object : lakeside->visualObjects) {
        auto* brush = dynamic_cast<DS_BrushObj*>(object.Get());
        ASSERT_NE(nullptr, brush);
        EXPECT_TRUE(brush->Brush()->effect) << brush->Brush()->name;
        EXPECT_TRUE(brush->Brush()->mask) << brush->Brush()->name;
        if (auto* pattern = dynamic_cast<DS_PatternBrush*>(brush->Brush()))
            flag = pattern;
    }
    EXPECT_EQ(nullptr, GetModuleHandleW(L"common_res.dll"));

    ASSERT_NE(nullptr, flag);
    EXPECT_EQ(L".dll", flag->patternLink.GetExtension());
    ASSERT_EQ(12u, flag->frames.textures.size());
    EXPECT_EQ(12u, flag->frames.delays.size());
    for (const auto& frame : flag->frames.textures)
        EXPECT_TRUE(frame);
    EXPECT_EQ(128u, flag->frames.width);
    EXPECT_EQ(64u, flag->frames.height);

    for (const CountedPtr<DS_SlideContainer>& slide : document.root->slides)
        if (slide.Get() == lakeside)
            document.root->currentSlide = slide;
    document.root->ActivateSlide();
    IDirect3DDevice9* d = device.Device();
    const auto frame = [&](float time) {
        lakeside->Update(time);
        d->BeginScene();
        lakeside->RenderScene();
        lakeside->FinishFrame();
        d->EndScene();
    };
    frame(0.0f);
    const long long before = AllocationsMade();
    bool flagMoved = false;
    for (float time = 0.05f; time < 3.0f; time += 0.05f) {
        frame(time);
        flagMoved = flagMoved || flag->frameIndex != 0;
    }
    EXPECT_EQ(before, AllocationsMade());
    EXPECT_TRUE(flagMoved);
}
