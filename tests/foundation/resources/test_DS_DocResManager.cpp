#include "tests/foundation/resources/DocResManagerTestSupport.h"

#include "foundation/core/SaverError.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/TextureCopies.h"
#include "foundation/resources/ReadDocResManager.h"
#include "foundation/resources/TextureLoaders.h"
#include "tools/document/WritingArchive.h"

#include <cguid.h>

namespace {

const GUID MaskId = {0x03E9DEBA, 0x9DCD, 0x4855, {0xAA, 0x4D, 0x4F, 0xFB, 0x02, 0x20, 0x7C, 0xCC}};
const GUID OtherMaskId = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

const FileKey PicturePath{L"C:\\pictures\\sky.png", 7};
const FileKey EffectPath{L"C:\\effects\\water.fxo", 9};

Bytes SolidPicture(int width, int height, uint32_t argb) { return SolidPng(width, height, argb); }

class DocResManagerReadTest : public DocResManagerTest {
protected:
    // One of each block: a picture, its delays, an effect file and a mask.
    ResourceTableContent OneOfEach()
    {
        ResourceTableContent content;
        content.images = {{PicturePath.path, PicturePath.stamp,
                           {EmbeddedPicture(PicturePath.path, SolidPicture(30, 10, 0xFFFF0000))}}};
        content.delays = {{PicturePath.path, PicturePath.stamp, {0.5f}}};
        content.otherFiles = {{EffectPath.path, EffectPath.stamp, {EmbeddedPicture(EffectPath.path, {1, 2, 3})}}};
        content.guids = {{MaskId, L"", true, DdsOf(device.Device(), QuadrantImage(16, 16)), L""}};
        return content;
    }
};

} // namespace

// Each version reads its own blocks and stops there: a byte that follows
// the record is never consumed. Versions other than 1 and 2 read all four.
TEST_F(DocResManagerReadTest, EachVersionReadsItsBlocksAndNoMore)
{
    const struct {
        int32_t version;
        std::size_t allRecords;
        bool otherFiles;
        bool mask;
    } cases[] = {{1, 1, false, false}, {2, 2, true, false}, {3, 2, true, true}, {0, 2, true, true}, {4, 2, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        Bytes record = ResourceTableBytes(OneOfEach(), c.version);
        const std::size_t size = record.size();
        record.push_back(0x5A);
        ByteArchive archive(record);
        manager.reset(ReadDocResManager(archive.handle));
        ASSERT_TRUE(manager);
        EXPECT_EQ(size, archive.Consumed());

        EXPECT_EQ(c.allRecords, Table().allRecords.size());
        EXPECT_EQ(c.otherFiles, Table().otherFiles.count(EffectPath) == 1);
        EXPECT_EQ(c.mask, static_cast<bool>(Table().guidTextures[GuidKey(MaskId, L"", 1)]));
        EXPECT_EQ(1u, Table().textureSets.count(PicturePath));
        EXPECT_TRUE(Table().imageRecords.empty());
        EXPECT_TRUE(Table().guidFiles.empty());
    }
}

// The header's class name is read and not compared.
TEST_F(DocResManagerReadTest, HeaderNameIsNotCompared)
{
    DocumentBuilder builder;
    builder.Header(L"SomethingElse", 2).Int(0).Int(0).Int(0);
    Read(builder.Take());
    EXPECT_TRUE(Table().allRecords.empty());
}

// The manager publishes its cache on construction and withdraws both
// globals when destroyed.
TEST_F(DocResManagerReadTest, ManagerPublishesItsCacheAndWithdrawsItWhenDestroyed)
{
    DS_DocResManager& fresh = Fresh();
    EXPECT_EQ(&fresh.Cache(), CurrentResourceCache);
    EXPECT_EQ(&fresh, CurrentResManager);
    manager.reset();
    EXPECT_EQ(nullptr, CurrentResourceCache);
    EXPECT_EQ(nullptr, CurrentResManager);
}

// A picture of several records becomes a set of as many textures with the
// document's delays; a single record keeps no delays; a record that does not
// decode keeps its slot empty, and the set's sizes are those of its last
// record.
TEST_F(DocResManagerReadTest, ImageEntriesBecomeTextureSets)
{
    const FileKey animated{L"C:\\pictures\\fire.png", 1};
    const FileKey still{L"C:\\pictures\\moon.png", 2};
    const FileKey broken{L"C:\\pictures\\broken.png", 3};
    ResourceTableContent content;
    content.images = {
        {animated.path, animated.stamp,
         {EmbeddedPicture(animated.path, SolidPicture(10, 20, 0xFFFF0000)),
          EmbeddedPicture(animated.path, SolidPicture(12, 20, 0xFF00FF00)),
          EmbeddedPicture(animated.path, SolidPicture(16, 8, 0xFF0000FF))}},
        {still.path, still.stamp, {EmbeddedPicture(still.path, SolidPicture(4, 4, 0xFFFFFFFF))}},
        {broken.path, broken.stamp,
         {EmbeddedPicture(broken.path, SolidPicture(4, 4, 0xFFFFFFFF)), EmbeddedPicture(broken.path, {9, 9, 9})}},
    };
    content.delays = {{animated.path, animated.stamp, {0.1f, 0.2f, 0.3f}}, {still.path, still.stamp, {2.0f}}};
    Read(ResourceTableBytes(content));

    const TextureSet& fire = Table().textureSets[animated];
    ASSERT_EQ(3u, fire.textures.size());
    EXPECT_EQ((std::vector<float>{0.1f, 0.2f, 0.3f}), fire.delays);
    EXPECT_EQ(16u, fire.width);
    EXPECT_EQ(8u, fire.height);
    EXPECT_FLOAT_EQ(0.5f, fire.aspect);
    EXPECT_TRUE(device.ReadTexture(fire.textures[1].Get()).AllNear(0, 0, 12, 20, {0, 255, 0, 255}, 2));
    EXPECT_EQ(1u, RefCount(fire.textures[0].Get()));

    const TextureSet& moon = Table().textureSets[still];
    ASSERT_EQ(1u, moon.textures.size());
    EXPECT_TRUE(moon.textures[0]);
    EXPECT_TRUE(moon.delays.empty());
    // The document's delays stay in the table all the same.
    EXPECT_EQ(std::vector<float>{2.0f}, Table().frameDelays[still]);

    const TextureSet& failed = Table().textureSets[broken];
    ASSERT_EQ(2u, failed.textures.size());
    EXPECT_TRUE(failed.textures[0]);
    EXPECT_FALSE(failed.textures[1]);
    EXPECT_EQ(0u, failed.width);

    EXPECT_EQ(3u, Table().allRecords[animated].size());
    EXPECT_TRUE(Table().imageRecords.empty());
}

// A key that a block holds twice keeps its first entry; image records win
// over other files in the all-records map; a mask's GUID decides, whatever
// its name.
TEST_F(DocResManagerReadTest, FirstEntryOfAKeyStaysAndImageRecordsWin)
{
    ResourceTableContent content;
    content.images = {
        {PicturePath.path, PicturePath.stamp, {EmbeddedPicture(PicturePath.path, SolidPicture(10, 10, 0xFFFF0000))}},
        {PicturePath.path, PicturePath.stamp,
         {EmbeddedPicture(L"second", SolidPicture(20, 20, 0xFF00FF00)),
          EmbeddedPicture(L"second", SolidPicture(20, 20, 0xFF00FF00))}},
    };
    content.delays = {{PicturePath.path, PicturePath.stamp, {1.0f}}, {PicturePath.path, PicturePath.stamp, {2.0f}}};
    content.otherFiles = {
        {PicturePath.path, PicturePath.stamp, {EmbeddedPicture(L"other", {1}), EmbeddedPicture(L"other", {2})}},
        {EffectPath.path, EffectPath.stamp, {EmbeddedPicture(L"first effect", {1})}},
        {EffectPath.path, EffectPath.stamp, {EmbeddedPicture(L"second effect", {2})}},
    };
    content.guids = {{MaskId, L"first", true, DdsOf(device.Device(), QuadrantImage(16, 16)), L""},
                     {MaskId, L"second", false, DdsOf(device.Device(), QuadrantImage(32, 32)), L""},
                     {OtherMaskId, L"", true, {1, 2, 3}, L""}};
    Read(ResourceTableBytes(content));

    ASSERT_EQ(1u, Table().textureSets[PicturePath].textures.size());
    EXPECT_EQ(10u, Table().textureSets[PicturePath].width);
    EXPECT_EQ(std::vector<float>{1.0f}, Table().frameDelays[PicturePath]);

    ASSERT_EQ(1u, Table().allRecords[PicturePath].size());
    EXPECT_EQ(PicturePath.path, Table().allRecords[PicturePath][0].path);
    EXPECT_EQ(2u, Table().otherFiles[PicturePath].size());
    ASSERT_EQ(1u, Table().allRecords[EffectPath].size());
    EXPECT_EQ(L"first effect", Table().allRecords[EffectPath][0].path);

    ASSERT_EQ(2u, Table().guidTextures.size());
    const auto mask = Table().guidTextures.find(GuidKey(MaskId, L"any name", 0));
    ASSERT_NE(Table().guidTextures.end(), mask);
    EXPECT_EQ(L"first", mask->first.name);
    EXPECT_EQ(1, mask->first.flag);
    ASSERT_TRUE(mask->second);
    EXPECT_TRUE(HasQuadrants(device.ReadTexture(mask->second.Get()), 2));
    D3DSURFACE_DESC level{};
    mask->second->GetLevelDesc(0, &level);
    EXPECT_EQ(16u, level.Width);
    // Bytes that do not decode leave the slot without a texture.
    EXPECT_FALSE(manager->GuidTexture(GuidKey(OtherMaskId, L"", 1)));
    // The stored files are gone once their textures exist.
    EXPECT_TRUE(Table().guidFiles.empty());
}

// Every record that runs past its end, or announces an impossible count,
// fails the load; whatever the manager had made is released with it.
TEST_F(DocResManagerReadTest, TruncatedOrHostileRecordFailsAndLeaksNothing)
{
    IDirect3DDevice9* d = device.Device();
    // Device objects hold a reference to their device, so its count shows
    // any texture left behind.
    const ULONG idle = RefCount(d);
    const Bytes probeBytes = SolidPicture(4, 4, 0xFF000000);
    {
        const SizedTexture probe =
            CreateSizedTextureFromMemory(probeBytes.data(), static_cast<int32_t>(probeBytes.size()));
        ASSERT_TRUE(probe.texture);
        ASSERT_GT(RefCount(d), idle);
    }
    ASSERT_EQ(idle, RefCount(d));

    const Bytes whole = ResourceTableBytes(OneOfEach());
    std::vector<std::pair<const char*, Bytes>> records;
    for (const std::size_t keep : {whole.size() - 1, whole.size() - 40, whole.size() / 2, std::size_t(30)})
        records.emplace_back("truncated", Bytes(whole.begin(), whole.begin() + static_cast<long>(keep)));

    DocumentBuilder negative;
    negative.Header(L"DS_DocResManager", 3).Int(-1);
    records.emplace_back("negative entry count", negative.Take());

    DocumentBuilder hugeRecords;
    hugeRecords.Header(L"DS_DocResManager", 3).Int(1).Link(L"a", 0).Int(0x7FFFFFFF);
    ResourceTableRecord(hugeRecords, OneOfEach());
    records.emplace_back("record count beyond the bytes", hugeRecords.Take());

    DocumentBuilder hugeDelays;
    hugeDelays.Header(L"DS_DocResManager", 3).Int(0).Int(1).Link(L"a", 0).Int(0x40000000).Float(1);
    records.emplace_back("delay count beyond the bytes", hugeDelays.Take());

    DocumentBuilder oversized;
    oversized.Header(L"DS_DocResManager", 3)
        .Int(1)
        .Link(L"a", 0)
        .Int(1)
        .Int(0)
        .String(L"")
        .Int(1 << 30)
        .Raw({1, 2, 3});
    records.emplace_back("file size beyond the bytes", oversized.Take());

    for (const auto& [what, bytes] : records) {
        SCOPED_TRACE(what);
        ByteArchive archive(bytes);
        EXPECT_THROW(manager.reset(ReadDocResManager(archive.handle)), MediaLoadError);
        EXPECT_FALSE(manager);
        EXPECT_EQ(nullptr, CurrentResourceCache);
        EXPECT_EQ(idle, RefCount(d));
    }
}

// An editor that stores its picture links before writing gets back the
// record the document held: the writer's bytes are the builder's.
TEST_F(DocResManagerReadTest, WriteAfterStoringTheLinksGivesTheRecordBack)
{
    const FileKey animated{L"C:\\pictures\\fire.png", 1};
    ResourceTableContent content;
    content.images = {
        {animated.path, animated.stamp,
         {EmbeddedPicture(animated.path, SolidPicture(10, 20, 0xFFFF0000)), TestModuleRecord(TESTMODULE_PICTURE)}},
        {PicturePath.path, PicturePath.stamp, {EmbeddedPicture(PicturePath.path, SolidPicture(4, 4, 0xFFFFFFFF))}},
    };
    content.delays = {{animated.path, animated.stamp, {0.1f, 0.2f}}};
    content.otherFiles = {{EffectPath.path, EffectPath.stamp, {EmbeddedPicture(EffectPath.path, {1, 2, 3})}}};
    const Bytes document = ResourceTableBytes(content);
    Read(document);

    EXPECT_TRUE(manager->StoreImageLink(DS_FileLink3(animated)));
    EXPECT_TRUE(manager->StoreImageLink(DS_FileLink3(PicturePath)));
    // An empty link stores nothing.
    EXPECT_TRUE(manager->StoreImageLink(DS_FileLink3()));
    EXPECT_EQ(2u, Table().imageRecords.size());

    WritingHandle out;
    manager->Write(out.handle);
    EXPECT_EQ(document, out.archive->Bytes());
}

// A picture link made in the editor stores its records and the set's delays.
TEST_F(DocResManagerReadTest, StoringALinkTakesItsRecordsAndTheSetsDelays)
{
    Fresh();
    const std::list<ResourceRecord> frames = {ModuleRecord(TESTMODULE_PICTURE, TESTMODULE_FILE_NAME),
                                              ModuleRecord(TESTMODULE_SECOND_PICTURE, TESTMODULE_FILE_NAME)};
    const DS_ImageFileLink link = manager->MakeImageLinkFromList({0.5f, 0.75f}, frames);
    ASSERT_TRUE(manager->StoreImageLink(link));

    ASSERT_EQ(2u, Table().imageRecords[link.value].size());
    EXPECT_EQ(TESTMODULE_SECOND_PICTURE, Table().imageRecords[link.value][1].resourceId);
    EXPECT_EQ((std::vector<float>{0.5f, 0.75f}), Table().frameDelays[link.value]);
}

// The mask's stored bytes are renewed from its texture when the texture can
// be saved as a DDS file, and kept as they were when it cannot; either way
// the written record carries the mask with its name and flag.
TEST_F(DocResManagerReadTest, MaskBytesAreRenewedFromTheTextureWhenItCanBeSaved)
{
    ResourceTableContent content;
    const Bytes stored = DdsOf(device.Device(), QuadrantImage(16, 16));
    content.guids = {{MaskId, L"mask", false, stored, L""}};
    Read(ResourceTableBytes(content));

    const GuidKey key(MaskId, L"mask", 0);
    const ComHolder<IDirect3DTexture9> painted = TextureOf(device.Device(), QuadrantImage(32, 32));
    manager->GuidTexture(key) = painted.Get();
    Table().guidFiles[key].SetBytes(static_cast<int32_t>(stored.size()), stored.data());
    const bool canSave = static_cast<bool>(SaveTextureToDdsMemory(painted.Get()));

    EXPECT_TRUE(manager->RefreshGuidTextureBytes(key));
    const FileRecord& file = Table().guidFiles[key];
    const SizedTexture decoded = CreateSizedTextureFromMemory(file.Bytes(), file.Size());
    EXPECT_EQ(canSave ? 32u : 16u, decoded.width);
    if (!canSave) {
        EXPECT_EQ(stored, Bytes(file.Bytes(), file.Bytes() + file.Size()));
    }

    // A key without a texture gets no stored file.
    EXPECT_TRUE(manager->RefreshGuidTextureBytes(GuidKey(OtherMaskId, L"", 1)));
    EXPECT_EQ(0u, Table().guidFiles.count(GuidKey(OtherMaskId, L"", 1)));

    WritingHandle out;
    manager->Write(out.handle);
    Read(out.archive->Bytes());
    const auto mask = Table().guidTextures.find(key);
    ASSERT_NE(Table().guidTextures.end(), mask);
    EXPECT_EQ(L"mask", mask->first.name);
    EXPECT_EQ(0, mask->first.flag);
    ASSERT_TRUE(mask->second);
    D3DSURFACE_DESC level{};
    mask->second->GetLevelDesc(0, &level);
    EXPECT_EQ(canSave ? 32u : 16u, level.Width);
}
