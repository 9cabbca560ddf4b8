// Documents shaped like the authoring tool's, played whole through the
// program's start-up: links into a "common_res.dll" that is not there, and
// embedded files damaged the way a fuzzed document damages them. Each slide
// must show its picture (or black where the picture is missing) and nothing
// may crash.
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/SceneView.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/ResourceCache.h"
#include "foundation/resources/ResourceModule.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/SlideshowDocuments.h"
#include "tests/support/TestDevice.h"
#include "tools/document/Light2DRecord.h"
#include "tools/document/MotionBrushRecords.h"
#include "tools/document/PatternBrushRecords.h"
#include "tools/document/ResourceTableRecord.h"
#include "tools/document/SlideshowRecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

namespace {

using Bytes = DocumentBuilder::Bytes;

const D3DCOLOR Marker = 0xFFFF00FF;
const std::wstring PicturePath = L"C:\\Pictures\\meadow.png";
const int64_t PictureStamp = 3;
const DWORD PictureColour = 0x3080C0;
const D3DCOLOR Picture = 0xFF000000 | PictureColour;
// The numbers under which documents name the expand and pattern effects.
const int32_t ExpandEffect = 102;
const int32_t PatternEffect = 78;

void Put32(Bytes& bytes, std::size_t at, uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); }
uint32_t Get32(const Bytes& bytes, std::size_t at)
{
    uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

// A 32 × 24 X8R8G8B8 DDS file of one colour (0x00RRGGBB).
Bytes FlatDds(DWORD rgb)
{
    Bytes dds(128 + 32 * 24 * 4, 0);
    std::memcpy(dds.data(), "DDS ", 4);
    Put32(dds, 4, 124);
    Put32(dds, 8, 0x100F); // caps, height, width, pitch, pixel format
    Put32(dds, 12, 24);
    Put32(dds, 16, 32);
    Put32(dds, 20, 32 * 4);
    Put32(dds, 76, 32);    // pixel format size
    Put32(dds, 80, 0x40);  // RGB
    Put32(dds, 88, 32);
    Put32(dds, 92, 0x00FF0000);
    Put32(dds, 96, 0x0000FF00);
    Put32(dds, 100, 0x000000FF);
    Put32(dds, 108, 0x1000); // a texture
    for (std::size_t i = 128; i < dds.size(); i += 4)
        Put32(dds, i, rgb);
    return dds;
}

// One slide whose version-2 picture layer shows the picture, with the
// visual objects, and the picture and the other files in the table.
Bytes OneSlideDocument(const Bytes& picture, const std::vector<Bytes>& objects,
                       const std::vector<TableRecordsEntry>& otherFiles = {})
{
    LightContent layer;
    layer.version = 2;
    layer.picturePath = PicturePath;
    layer.pictureStamp = PictureStamp;
    SlideContent slide;
    slide.name = L"Meadow";
    slide.layer = Light2DRecordBytes(layer);
    slide.visualObjects = objects;
    SlideShowContent show;
    show.slides = {slide};

    ResourceTableContent table;
    TableResourceRecord record;
    record.content = picture;
    record.path = PicturePath;
    table.images = {{PicturePath, PictureStamp, {record}}};
    table.otherFiles = otherFiles;

    DocumentBuilder builder;
    DocumentVersionString(builder);
    SlideShowRecord(builder, show);
    ResourceTableRecord(builder, table);
    return builder.Take();
}

// The program's compiled expand effect, as the authoring tool embeds a
// brush's effect: under its module link.
Bytes ProgramEffect(int32_t number)
{
    const ResourceBytes bytes = FindResourceBytes(nullptr, number, EffectResourceType);
    return bytes ? Bytes(bytes.data, bytes.data + bytes.size) : Bytes();
}

TableRecordsEntry EmbeddedEffect(int32_t number, const Bytes& effect)
{
    TableResourceRecord record;
    record.id = number;
    record.module = L"common_res.dll";
    record.content = effect;
    record.path = L"common_res.dll";
    return {L"common_res.dll", number, {record}};
}

// Where the name length of the effect's first parameter lies: the table
// after the data area names the parameter's type, whose third word is the
// offset of its name.
std::size_t FirstParameterNameLength(const Bytes& effect)
{
    const uint32_t table = 8 + Get32(effect, 4);
    const uint32_t type = 8 + Get32(effect, table + 16);
    return 8 + Get32(effect, type + 8);
}

} // namespace

class AuthoringToolDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Ok());
        current.emplace(device.Device());
        GlobalSceneView->UseBorders(&borders);
    }
    void TearDown() override
    {
        document.root.reset();
        document.resources.reset();
        CurrentResManager = nullptr;
        CurrentResourceCache = nullptr;
        GlobalSceneView->UseBorders(nullptr);
        current.reset();
    }

    // Loads the document, builds its slide and plays it as the show does,
    // the last 29 frames a second into the slide at 30 frames a second;
    // the last frame read back.
    Pixels Play(const Bytes& bytes)
    {
        document.root.reset();
        document.resources.reset();
        document = LoadSceneDocument(bytes.data(), bytes.size());
        EXPECT_TRUE(document);
        if (!document)
            return Pixels();
        DS_SlideShow_Light& root = *document.root;
        for (const CountedPtr<DS_SlideContainer>& slide : root.slides)
            slide->BuildObjects();
        // The picture fills the screen: no borders.
        root.SetPicturePosition(SceneView::Fill);
        IDirect3DDevice9* d = device.Device();
        for (int frame = 0; frame < 30; ++frame) {
            root.Update(frame == 0 ? 0.0f : 2.0f + frame / 30.0f);
            d->Clear(0, nullptr, D3DCLEAR_TARGET, Marker, 1.0f, 0);
            d->BeginScene();
            root.Render();
            d->EndScene();
        }
        return device.ReadBackBuffer();
    }

    static ::testing::AssertionResult ShowsEverywhere(const Pixels& frame, D3DCOLOR argb)
    {
        if (frame.Width() > 0 && frame.AllNear(0, 0, frame.Width(), frame.Height(), Rgba::FromArgb(argb), 3))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the frame is not all " << Rgba::FromArgb(argb) << ": "
                                             << (frame.Width() > 0 ? frame.At(80, 60) : Rgba{});
    }

    TestDevice device{160, 120};
    std::optional<ScopedCurrentDevice> current;
    SceneBorders borders;
    SceneDocument document;
};

// An expand brush whose embedded effect 102 has two bytes of a name length
// changed: the effect is refused, the brush draws nothing and the slide
// shows its picture. The undamaged effect loads and draws.
TEST_F(AuthoringToolDocumentTest, ADamagedEmbeddedEffectIsAMissingOne)
{
    const Bytes effect = ProgramEffect(ExpandEffect);
    ASSERT_GT(effect.size(), 64u);
    Bytes damaged = effect;
    const std::size_t length = FirstParameterNameLength(damaged);
    ASSERT_LT(Get32(damaged, length), 64u);
    damaged[length + 2] = 0x10;
    damaged[length + 3] = 0x10;

    ExpandContent expand;
    expand.base.effectStamp = ExpandEffect;
    const Bytes slide = OneSlideDocument(FlatPicture(PictureColour), {ExpandRecordBytes(expand)},
                                         {EmbeddedEffect(ExpandEffect, damaged)});
    EXPECT_TRUE(ShowsEverywhere(Play(slide), Picture));
    const DS_FileLink3 link(ExpandEffect, L"common_res.dll");
    EXPECT_FALSE(CurrentResManager->GetLinkEffect(link));

    Play(OneSlideDocument(FlatPicture(PictureColour), {ExpandRecordBytes(expand)},
                          {EmbeddedEffect(ExpandEffect, effect)}));
    EXPECT_TRUE(CurrentResManager->GetLinkEffect(link));
}

// A version-2 picture layer whose embedded DDS says a width far beyond the
// device (and its bytes): the picture is refused and the slide draws nothing
// (the screen keeps the colour it was cleared to, black in the program).
// The same file with its own width shows.
TEST_F(AuthoringToolDocumentTest, AnEmbeddedPictureOfAnImpossibleSizeIsAMissingOne)
{
    EXPECT_TRUE(ShowsEverywhere(Play(OneSlideDocument(FlatDds(PictureColour), {})), Picture));
    for (const uint32_t width : {0x3FFFFFFFu, 0x20000020u, 0x40000000u}) {
        SCOPED_TRACE(width);
        Bytes dds = FlatDds(PictureColour);
        Put32(dds, 16, width);
        const Pixels frame = Play(OneSlideDocument(dds, {}));
        EXPECT_TRUE(ShowsEverywhere(frame, Marker));
    }
    // A size the device holds, but more pixels than the file carries.
    Bytes dds = FlatDds(PictureColour);
    Put32(dds, 16, 1024);
    Put32(dds, 12, 1024);
    EXPECT_TRUE(ShowsEverywhere(Play(OneSlideDocument(dds, {})), Marker));
}

// A pattern brush that reads the background but names an image list of a
// "common_res.dll" the document does not embed has no frames: it draws
// nothing, so it must not take the captured scene from the slide, which
// shows its picture.
TEST_F(AuthoringToolDocumentTest, APatternWithoutFramesLeavesThePicture)
{
    PatternBrushContent pattern;
    pattern.patternPath = L"common_res.dll";
    pattern.patternStamp = 40;
    pattern.base.backgroundFlag = 1;
    pattern.base.effectStamp = PatternEffect;
    EXPECT_TRUE(ShowsEverywhere(Play(OneSlideDocument(FlatPicture(PictureColour), {PatternBrushRecordBytes(pattern)})),
                                Picture));
}
