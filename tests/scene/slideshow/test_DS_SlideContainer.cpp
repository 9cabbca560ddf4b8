#include "tests/support/SlideshowTest.h"

#include "tools/document/WritingArchive.h"

#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = DocumentBuilder::Bytes;

const DWORD PictureColour = 0x3060A0;
const D3DCOLOR Red = 0xFFFF0000;
const D3DCOLOR Green = 0xFF00FF00;
const D3DCOLOR Marker = 0xFFFF00FF;

// A slide with two visual probes, A (listed first) over B where they
// overlap, and one sound probe S.
FlatSlide ProbeSlide(bool readBackground = false)
{
    FlatSlide slide{PictureColour};
    slide.visualObjects = {ProbeRecord({L"A", Red, readBackground, {0, 0, 128, 128}}),
                           ProbeRecord({L"B", Green, readBackground, {64, 64, 192, 192}})};
    slide.soundObjects = {ProbeRecord({L"S"})};
    return slide;
}

std::vector<std::string> Entries(const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& entry : ProbeLog())
        if (entry.compare(0, prefix.size(), prefix) == 0)
            found.push_back(entry);
    return found;
}

using Log = std::vector<std::string>;

} // namespace

class SlideContainerTest : public SlideshowTest {
protected:
    void SetUp() override
    {
        SlideshowTest::SetUp();
        document = Load(FlatSlideshow({ProbeSlide()}));
        ASSERT_TRUE(document);
        slide = document.root->slides[0].Get();
    }

    SceneDocument document;
    DS_SlideContainer* slide = nullptr;
};

TEST_F(SlideContainerTest, BuildingMakesTheObjectsInDocumentOrderAndDropsTheConstructors)
{
    ASSERT_EQ(2u, slide->visualConstructors.size());
    ASSERT_EQ(1u, slide->soundConstructors.size());

    slide->BuildObjects();

    ASSERT_EQ(2u, slide->visualObjects.size());
    ASSERT_EQ(1u, slide->soundObjects.size());
    EXPECT_EQ(L"A", slide->visualObjects[0]->Constructor()->name);
    EXPECT_EQ(L"B", slide->visualObjects[1]->Constructor()->name);
    EXPECT_EQ(L"S", slide->soundObjects[0]->Constructor()->name);
    EXPECT_TRUE(slide->visualConstructors.empty());
    EXPECT_TRUE(slide->soundConstructors.empty());
    // The layer has its picture, at the size 1 × 1 until the slide is shown.
    EXPECT_EQ(16, slide->layer->GetPictureWidth());
    EXPECT_EQ(1, slide->layer->layerWidth);
}

namespace {

// A constructor that cannot make its object.
class NoObjectConstructor : public DS_ABObj_Constructor {
public:
    void Write(ArchiveHandle&) override {}
    DS_ABObj* CreateObject() override { return nullptr; }
};

} // namespace

// An object that could not be made leaves no empty place in the slide: the
// others keep their order and every later frame walks only real objects.
TEST_F(SlideContainerTest, AnObjectThatCannotBeMadeIsLeftOut)
{
    slide->visualConstructors.insert(std::next(slide->visualConstructors.begin()),
                                     std::make_unique<NoObjectConstructor>());
    slide->soundConstructors.push_back(std::make_unique<NoObjectConstructor>());

    slide->BuildObjects();

    ASSERT_EQ(2u, slide->visualObjects.size());
    EXPECT_EQ(L"A", slide->visualObjects[0]->Constructor()->name);
    EXPECT_EQ(L"B", slide->visualObjects[1]->Constructor()->name);
    ASSERT_EQ(1u, slide->soundObjects.size());
    EXPECT_EQ(L"S", slide->soundObjects[0]->Constructor()->name);
}

TEST_F(SlideContainerTest, ObjectsHearOfTheSlideInTheirGroupsAndOrder)
{
    slide->BuildObjects();

    slide->Update(2.5f);
    EXPECT_EQ((Log{"update A 2.5", "update B 2.5", "update S 2.5"}), ProbeLog());

    ProbeLog().clear();
    slide->Activate();
    EXPECT_EQ((Log{"restored A", "restored B", "object restored A", "object restored B"}), ProbeLog());

    ProbeLog().clear();
    slide->OnDeviceInvalidated();
    slide->OnDeviceRestored();
    EXPECT_EQ((Log{"object invalidated A", "object invalidated B", "object restored A", "object restored B"}),
              ProbeLog());

    ProbeLog().clear();
    slide->SetSoundsActive(true);
    slide->SetSoundsActive(false);
    EXPECT_EQ((Log{"active S 1", "active S 0"}), ProbeLog());
}

TEST_F(SlideContainerTest, TheFirstObjectEndsOnTopOfThePicture)
{
    slide->BuildObjects();
    Activate(*document.root, 0);
    ProbeLog().clear();

    const Pixels frame = DrawFrame(Marker, [&] { slide->RenderScene(); });

    EXPECT_EQ((Log{"render B picture", "render A picture"}), Entries("render"));
    EXPECT_TRUE(ColourNear(frame.At(100, 100), Rgba::FromArgb(Red), 0));
    EXPECT_TRUE(ColourNear(frame.At(160, 160), Rgba::FromArgb(Green), 0));
    EXPECT_TRUE(ColourNear(frame.At(230, 30), Opaque(PictureColour), 2));
    EXPECT_TRUE(ColourNear(frame.At(20, 230), Opaque(PictureColour), 2));
}

TEST_F(SlideshowTest, ObjectsThatReadTheBackgroundDrawThroughTheCapture)
{
    const SceneDocument document = Load(FlatSlideshow({ProbeSlide(true)}));
    ASSERT_TRUE(document);
    DS_SlideContainer& slide = *document.root->slides[0];
    slide.BuildObjects();
    Activate(*document.root, 0);
    ProbeLog().clear();

    const Pixels frame = DrawFrame(Marker, [&] { slide.RenderScene(); });

    // B flips the capture and draws into it; A, the last reader, ends it and
    // draws on the back buffer. The picture itself went into the capture.
    EXPECT_EQ((Log{"render B capture", "render A capture"}), Entries("render"));
    EXPECT_TRUE(ColourNear(frame.At(100, 100), Rgba::FromArgb(Red), 0));
    EXPECT_TRUE(ColourNear(frame.At(160, 160), Rgba::FromArgb(Marker), 0));
    EXPECT_TRUE(ColourNear(frame.At(230, 30), Rgba::FromArgb(Marker), 0));
}

// A layer whose capture pair could not be made draws as if nothing read the
// scene: the picture and every object straight onto the back buffer.
TEST_F(SlideshowTest, WithoutItsCapturePairTheSlideDrawsAsWithoutCapture)
{
    const SceneDocument document = Load(FlatSlideshow({ProbeSlide(true)}));
    ASSERT_TRUE(document);
    DS_SlideContainer& slide = *document.root->slides[0];
    slide.BuildObjects();
    Activate(*document.root, 0);
    RenderTargetPair& pair = slide.layer->targetPair;
    pair.ReleaseTextures();
    ProbeLog().clear();

    const Pixels frame = DrawFrame(Marker, [&] { slide.RenderScene(); });

    EXPECT_EQ((Log{"render B picture", "render A picture"}), Entries("render"));
    EXPECT_TRUE(ColourNear(frame.At(100, 100), Rgba::FromArgb(Red), 0));
    EXPECT_TRUE(ColourNear(frame.At(160, 160), Rgba::FromArgb(Green), 0));
    EXPECT_TRUE(ColourNear(frame.At(230, 30), Opaque(PictureColour), 2));
    // The device keeps its depth buffer.
    ComHolder<IDirect3DSurface9> depth;
    EXPECT_EQ(D3D_OK, device.Device()->GetDepthStencilSurface(depth.Out()));
}

// Before the objects are built the slide writes its constructors, afterwards
// the copies its objects own: the same records either way.
TEST_F(SlideshowTest, TheRootWritesTheRecordsItWasReadFrom)
{
    SlideShowContent content = FlatShowContent({ProbeSlide(), FlatSlide{0x102030, 0, 4, 2}});
    content.audioFiles = {{L"Night music", {9, 8, 7}, L"C:\\Music\\night.wav"}};
    DocumentBuilder expected;
    SlideShowRecord(expected, content);
    const SceneDocument document = Load(FlatSlideshow({ProbeSlide(), FlatSlide{0x102030, 0, 4, 2}},
                                                      content.audioFiles));
    ASSERT_TRUE(document);
    DS_SlideShow_Light& root = *document.root;

    WritingHandle before;
    root.Write(before.handle);
    for (const CountedPtr<DS_SlideContainer>& slide : root.slides)
        slide->BuildObjects();
    WritingHandle after;
    root.Write(after.handle);

    EXPECT_EQ(expected.Data(), before.archive->Bytes());
    EXPECT_EQ(expected.Data(), after.archive->Bytes());
}
