#include "tests/support/AllocationCounter.h"
#include "tests/support/SlideshowTest.h"

#include "foundation/resources/ResourceCache.h"
#include "tools/document/Light2DRecord.h"
#include "tools/document/ResourceTableRecord.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace {

using Bytes = DocumentBuilder::Bytes;

ULONG RefCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

// A document of the version string and the bytes the lambda adds.
Bytes Document(const std::function<void(DocumentBuilder&)>& body)
{
    DocumentBuilder builder;
    DocumentVersionString(builder);
    body(builder);
    return builder.Take();
}

// The root header, one slide of the given record bytes and no audio files,
// then an empty resource table.
Bytes OneSlideDocument(const Bytes& slide)
{
    return Document([&](DocumentBuilder& b) {
        b.Header(L"DS_SlideShow_Light", 1).Int(1).Raw(slide).Int(0);
        ResourceTableRecord(b, {});
    });
}

Bytes SlideRecord(const SlideContent& content)
{
    DocumentBuilder builder;
    SlideContainerRecord(builder, content);
    return builder.Take();
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST_F(SlideshowTest, ReadsTheRootItsSlidesAudioFilesAndResourceTable)
{
    FlatSlide first{0xFF0000, 2, 12, 3};
    FlatSlide second{0x00FF00, 0, 5, 0};
    // A version 1 slide has no sound group: the next record follows its
    // visual group at once.
    second.version = 1;
    const AudioFileContent music{L"Night music", {1, 2, 3}, L"C:\\Music\\night.wav"};

    const SceneDocument document = Load(FlatSlideshow({first, second}, {music}));

    ASSERT_TRUE(document);
    const DS_SlideShow_Light& root = *document.root;
    ASSERT_EQ(2u, root.slides.size());
    const DS_SlideContainer& slide = *root.slides[0];
    EXPECT_EQ(2u, slide.fadeIn.value);
    EXPECT_EQ(12u, slide.display.value);
    EXPECT_EQ(3u, slide.fadeOut.value);
    EXPECT_EQ(L"Slide 0", slide.name.value);
    ASSERT_TRUE(slide.layer);
    EXPECT_EQ(FlatPicturePath(0), slide.layer->pictureLink.value.path);
    EXPECT_EQ(0u, root.slides[1]->fadeIn.value);
    EXPECT_EQ(5u, root.slides[1]->display.value);
    EXPECT_EQ(L"Slide 1", root.slides[1]->name.value);

    ASSERT_EQ(1u, root.audioFiles.size());
    EXPECT_EQ(L"Night music", root.audioFiles[0]->name);
    EXPECT_EQ(L"C:\\Music\\night.wav", root.audioFiles[0]->file.path);
    ASSERT_EQ(3, root.audioFiles[0]->file.Size());
    EXPECT_EQ(3, root.audioFiles[0]->file.Bytes()[2]);

    // Nothing is current until the first update.
    EXPECT_FALSE(root.currentSlide);
    EXPECT_FALSE(root.fadeQuad);

    EXPECT_EQ(document.resources.get(), CurrentResManager);
    EXPECT_EQ(&document.resources->Cache(), CurrentResourceCache);
    const TextureSet& picture = document.resources->Table().textureSets[slide.layer->pictureLink.value];
    ASSERT_TRUE(picture.IsLoaded());
    EXPECT_EQ(16u, picture.width);
}

TEST_F(SlideshowTest, VersionStringAndRootHeaderAreNotChecked)
{
    DocumentBuilder builder;
    builder.String(L"something else entirely").Header(L"NotTheRoot", 42).Int(1);
    SlideContainerRecord(builder, SlideContent{});
    builder.Int(0);
    ResourceTableRecord(builder, {});

    const SceneDocument loaded = Load(builder.Data());

    ASSERT_TRUE(loaded);
    EXPECT_EQ(1u, loaded.root->slides.size());
}

TEST_F(SlideshowTest, EveryLoadBuildsItsOwnRootAndManager)
{
    const Bytes bytes = FlatSlideshow({{0x202020}});

    const SceneDocument first = Load(bytes);
    const SceneDocument second = Load(bytes);

    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(first.root.get(), second.root.get());
    EXPECT_NE(first.resources.get(), second.resources.get());
    EXPECT_NE(first.root->slides[0].Get(), second.root->slides[0].Get());
    EXPECT_EQ(second.resources.get(), CurrentResManager);
    EXPECT_EQ(&second.resources->Cache(), CurrentResourceCache);
}

TEST_F(SlideshowTest, TheProgramWithoutItsDocumentResourceFailsToLoad)
{
    // This test program carries none of the program's resources.
    EXPECT_FALSE(LoadSceneDocument());
}

// A document that cannot be read fails as a whole: nothing of it survives,
// no Direct3D object stays alive, and the document that was current stays
// current.
class DamagedDocumentTest : public SlideshowTest {
protected:
    void ExpectFailsCleanly(const Bytes& bytes, std::size_t length)
    {
        CurrentResManager = &current;
        CurrentResourceCache = &current.Cache();
        const long long allocations = LiveAllocations();
        const ULONG deviceReferences = RefCount(device.Device());

        ASSERT_FALSE(LoadSceneDocument(bytes.data(), length)) << "length " << length;

        ASSERT_EQ(allocations, LiveAllocations()) << "length " << length;
        ASSERT_EQ(deviceReferences, RefCount(device.Device())) << "length " << length;
        ASSERT_EQ(&current, CurrentResManager) << "length " << length;
        ASSERT_EQ(&current.Cache(), CurrentResourceCache) << "length " << length;
    }

    // The document that is current while the damaged ones are read.
    DS_DocResManager current;
};

TEST_F(DamagedDocumentTest, EveryKindOfDamageFailsCleanly)
{
    SlideContent unknownLayer;
    unknownLayer.layer = DocumentBuilder().Header(L"DS_NoSuchLight", 3).Data();
    SlideContent unknownObject;
    unknownObject.visualObjects.push_back(DocumentBuilder().Header(L"DS_NoSuchConstructor", 1).Data());
    SlideContent probeThenUnknown;
    probeThenUnknown.visualObjects = {ProbeRecord({L"A"}), ProbeRecord({L"B"})};
    probeThenUnknown.soundObjects.push_back(DocumentBuilder().Header(L"testprobe", 1).Data());
    const Bytes tableCutInItsLastBlock = [] {
        Bytes whole = FlatSlideshow({{0x808080}, {0x404040}});
        whole.resize(whole.size() - 2);
        return whole;
    }();

    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"no bytes", {}},
        {"a version string only", Document([](DocumentBuilder&) {})},
        {"a slide of an unknown class",
         Document([](DocumentBuilder& b) { b.Header(L"DS_SlideShow_Light", 1).Int(1).Header(L"DS_Slide", 2); })},
        {"a class name in other letter case",
         OneSlideDocument(DocumentBuilder().Header(L"ds_slidecontainer", 2).Data())},
        {"a layer of an unknown class", OneSlideDocument(SlideRecord(unknownLayer))},
        {"an object of an unknown class", OneSlideDocument(SlideRecord(unknownObject))},
        {"known objects, then an unknown one", OneSlideDocument(SlideRecord(probeThenUnknown))},
        {"a slide count beyond the slides",
         Document([](DocumentBuilder& b) {
             b.Header(L"DS_SlideShow_Light", 1).Int(0x7FFFFFFF);
             SlideContainerRecord(b, SlideContent{});
         })},
        {"a negative audio count",
         Document([](DocumentBuilder& b) {
             b.Header(L"DS_SlideShow_Light", 1).Int(0).Int(-1);
             AudioFileRecord(b, {L"a", {1}, L"a.wav"});
         })},
        {"an audio file larger than the document",
         Document([](DocumentBuilder& b) {
             b.Header(L"DS_SlideShow_Light", 1).Int(0).Int(1).Header(L"DS_AudioFile", 1).String(L"a").Int(1 << 30);
         })},
        {"no resource table", Document([](DocumentBuilder& b) { SlideShowRecord(b, FlatShowContent({{0}})); })},
        {"a table with an impossible image count",
         Document([](DocumentBuilder& b) {
             SlideShowRecord(b, FlatShowContent({{0}}));
             b.Header(L"DS_DocResManager", 3).Int(0x40000000);
         })},
        // The pictures are made before the last block fails.
        {"a table cut in its last block", tableCutInItsLastBlock},
    };

    // The first failure of each path may set up what stays for the process.
    for (const auto& c : cases)
        LoadSceneDocument(c.bytes.data(), c.bytes.size());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NO_FATAL_FAILURE(ExpectFailsCleanly(c.bytes, c.bytes.size()));
    }
}

TEST_F(DamagedDocumentTest, TheDemoDocumentCutAnywhereFailsCleanly)
{
    const Bytes demo = ReadFile(NIGHTGLASS_DEMO_DOCUMENT);
    ASSERT_GT(demo.size(), 4096u);
    {
        // The whole document reads; any shorter part of it must not.
        const SceneDocument whole = Load(demo);
        ASSERT_TRUE(whole);
    }
    LoadSceneDocument(demo.data(), demo.size() / 2);

    // Every length through the slides and the start of the table, then
    // lengths spread over the embedded pictures (a fixed number of them: each
    // makes every picture before it), then the table's last blocks, which
    // fail after the pictures have been made.
    for (std::size_t length = 0; length < 4096; ++length)
        ASSERT_NO_FATAL_FAILURE(ExpectFailsCleanly(demo, length));
    const std::size_t spreadCuts = 48;
    const std::size_t stride = (demo.size() - 16 - 4096) / spreadCuts + 1;
    for (std::size_t length = 4096; length < demo.size() - 16; length += stride)
        ASSERT_NO_FATAL_FAILURE(ExpectFailsCleanly(demo, length));
    for (std::size_t length = demo.size() - 16; length < demo.size(); ++length)
        ASSERT_NO_FATAL_FAILURE(ExpectFailsCleanly(demo, length));
}
