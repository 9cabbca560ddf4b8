#include "tests/foundation/resources/DocResManagerTestSupport.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/RenderTargetPair.h"
#include "foundation/resources/MeshLoaders.h"
#include "foundation/resources/ResourceModule.h"
#include "foundation/resources/TextureLoaders.h"
#include "tools/effects/FlatColourEffect.h"

namespace {

const FileKey EffectKey{L"C:\\effects\\glow.fxo", 4};

using ResourceLookupTest = DocResManagerTest;

Bytes RecordBytes(const ResourceRecord& record)
{
    return record.Bytes() ? Bytes(record.Bytes(), record.Bytes() + record.Size()) : Bytes();
}

TableResourceRecord EffectRecord(uint32_t colour) { return EmbeddedPicture(EffectKey.path, FlatColourEffect(colour)); }

// The effect draws over the whole back buffer in exactly its colour.
::testing::AssertionResult DrawsInColour(TestDevice& device, ID3DXEffect* effect, uint32_t colour)
{
    device.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    if (!DrawEffectQuad(device.Device(), effect, FlatColourTechnique))
        return ::testing::AssertionFailure() << "the effect did not draw";
    const Pixels pixels = device.ReadBackBuffer();
    if (!pixels.AllNear(0, 0, pixels.Width(), pixels.Height(), Colour(colour), 1))
        return ::testing::AssertionFailure() << "drawn " << pixels.At(0, 0) << ", expected " << Colour(colour);
    return ::testing::AssertionSuccess();
}

} // namespace

// A set built while the document was read is returned as it is: no record
// is added and nothing new is made.
TEST_F(ResourceLookupTest, SetBuiltAtLoadIsReturnedAsItIs)
{
    const FileKey key{L"C:\\pictures\\sky.png", 3};
    ResourceTableContent content;
    content.images = {{key.path, key.stamp, {EmbeddedPicture(key.path, SolidPng(8, 8, 0xFF0000FF))}}};
    Read(ResourceTableBytes(content));
    IDirect3DTexture9* loaded = Table().textureSets[key].textures[0].Get();

    const TextureSet& set = manager->GetLinkTextures(DS_FileLink3(key));
    EXPECT_EQ(&Table().textureSets[key], &set);
    EXPECT_EQ(loaded, set.textures[0].Get());
    EXPECT_EQ(1u, Table().allRecords[key].size());
    EXPECT_EQ(1u, RefCount(loaded));
}

// A module link the document does not hold gets one record and one texture:
// the module's picture, or an empty slot of the default canvas size when the
// module is absent. Later calls return the same set.
TEST_F(ResourceLookupTest, ModuleLinkNotInTheDocumentGetsOneRecordAndOneTexture)
{
    Fresh();
    const DS_FileLink3 present = TestModuleLink(TESTMODULE_PICTURE);
    const DS_FileLink3 absent(TESTMODULE_PICTURE, AbsentModule);

    const TextureSet& picture = manager->GetLinkTextures(present);
    ASSERT_EQ(1u, picture.textures.size());
    ASSERT_TRUE(picture.textures[0]);
    EXPECT_EQ(40u, picture.width);
    EXPECT_EQ(20u, picture.height);
    EXPECT_FLOAT_EQ(0.5f, picture.aspect);
    const Pixels pixels = device.ReadTexture(picture.textures[0].Get());
    EXPECT_TRUE(ColourNear(pixels.AtFraction(0.2, 0.5), Colour(TestPictureLeftColour), 2));
    EXPECT_TRUE(ColourNear(pixels.AtFraction(0.8, 0.5), Colour(TestPictureRightColour), 2));

    const TextureSet& missing = manager->GetLinkTextures(absent);
    ASSERT_EQ(1u, missing.textures.size());
    EXPECT_FALSE(missing.textures[0]);
    EXPECT_EQ(800u, missing.width);
    EXPECT_EQ(600u, missing.height);
    EXPECT_FLOAT_EQ(0.75f, missing.aspect);

    for (const DS_FileLink3* link : {&present, &absent}) {
        EXPECT_EQ(&manager->GetLinkTextures(*link), &Table().textureSets[link->value]);
        const auto& records = Table().allRecords[link->value];
        ASSERT_EQ(1u, records.size());
        EXPECT_EQ(TESTMODULE_PICTURE, records[0].resourceId);
        EXPECT_EQ(link->value.path, records[0].modulePath);
        EXPECT_FALSE(records[0].Bytes());
    }
}

// An empty link names the program's own resources; the program has no
// resource 0, so the set keeps one empty slot and is not asked again. A
// disk link that the document does not embed stays empty.
TEST_F(ResourceLookupTest, EmptyAndDiskLinksWithoutRecords)
{
    Fresh();
    const DS_FileLink3 empty;
    const DS_FileLink3 disk(FileKey{L"C:\\pictures\\gone.png", 12});
    for (int call = 0; call < 2; ++call) {
        const TextureSet& none = manager->GetLinkTextures(empty);
        ASSERT_EQ(1u, none.textures.size());
        EXPECT_FALSE(none.textures[0]);
        EXPECT_EQ(1u, Table().allRecords[empty.value].size());

        const TextureSet& diskSet = manager->GetLinkTextures(disk);
        EXPECT_FALSE(diskSet.IsLoaded());
        EXPECT_EQ(1u, Table().allRecords.count(disk.value));
        EXPECT_TRUE(Table().allRecords[disk.value].empty());
    }
    // The empty link's number is the stamp's: the program's splash picture.
    const TextureSet& splash = manager->GetLinkTextures(DS_FileLink3(SplashResource, L""));
    ASSERT_EQ(1u, splash.textures.size());
    EXPECT_TRUE(splash.textures[0]);
}

// The image lists of the module: delays and frames as counted there, frame
// records from the module and embedded in the list; a list whose counts or
// sizes run past the resource's end, or a module that is absent, gives the
// empty set and no records.
TEST_F(ResourceLookupTest, ModuleImageLists)
{
    Fresh();
    const DS_FileLink3 listLink = TestModuleLink(TESTMODULE_IMAGE_LIST);
    const TextureSet& list = manager->GetModuleImageList(listLink);
    ASSERT_EQ(2u, list.textures.size());
    EXPECT_EQ(TestImageListDelays, list.delays);
    ASSERT_TRUE(list.textures[0] && list.textures[1]);
    EXPECT_TRUE(ColourNear(device.ReadTexture(list.Frame(0)).AtFraction(0.2, 0.5), Colour(TestPictureLeftColour), 2));
    EXPECT_TRUE(device.ReadTexture(list.Frame(1)).AllNear(0, 0, 8, 8, Colour(TestFramePictureColour), 2));
    // The set's sizes are those of its last frame.
    EXPECT_EQ(8u, list.width);
    EXPECT_EQ(8u, list.height);
    // Three delays for two frames: the third frame shows the last texture.
    EXPECT_EQ(list.textures[1].Get(), list.Frame(2));
    const auto& records = Table().allRecords[listLink.value];
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(TestFramePicturePath, records[1].path);
    EXPECT_EQ(&list, &manager->GetModuleImageList(listLink));

    const TextureSet& plain = manager->GetModuleImageList(TestModuleLink(TESTMODULE_PLAIN_IMAGE_LIST));
    ASSERT_EQ(2u, plain.textures.size());
    EXPECT_TRUE(plain.delays.empty());
    EXPECT_EQ(16u, plain.width);
    EXPECT_EQ(48u, plain.height);

    const DS_FileLink3 unusable[] = {TestModuleLink(TESTMODULE_OVERRUN_DELAYS),
                                     TestModuleLink(TESTMODULE_OVERRUN_RECORDS),
                                     // A picture read as a list counts far past its end.
                                     TestModuleLink(TESTMODULE_PICTURE), TestModuleLink(999),
                                     DS_FileLink3(TESTMODULE_IMAGE_LIST, AbsentModule)};
    for (const DS_FileLink3& link : unusable) {
        SCOPED_TRACE(link.value.stamp);
        const TextureSet& set = manager->GetModuleImageList(link);
        EXPECT_FALSE(set.IsLoaded());
        EXPECT_TRUE(set.delays.empty());
        EXPECT_TRUE(Table().allRecords[link.value].empty());
    }
}

// The first record of a link: the document's, else for a module link one
// holding the module's resource (no bytes when the module is absent), asked
// for once; other links without records have none.
TEST_F(ResourceLookupTest, LinkRecordComesFromTheDocumentOrTheModule)
{
    const FileKey sound{L"C:\\sounds\\rain.wav", 5};
    ResourceTableContent content;
    content.otherFiles = {{sound.path, sound.stamp, {EmbeddedPicture(L"first", {1}), EmbeddedPicture(L"second", {2})}}};
    Read(ResourceTableBytes(content));

    const ResourceRecord* held = manager->GetLinkRecord(DS_FileLink3(sound));
    ASSERT_NE(nullptr, held);
    EXPECT_EQ(L"first", held->path);

    const ResourceRecord* module = manager->GetLinkRecord(TestModuleLink(TESTMODULE_PICTURE));
    ASSERT_NE(nullptr, module);
    EXPECT_EQ(TestPictureFile(), RecordBytes(*module));

    const DS_FileLink3 absent(TESTMODULE_PICTURE, AbsentModule);
    const ResourceRecord* none = manager->GetLinkRecord(absent);
    ASSERT_NE(nullptr, none);
    EXPECT_FALSE(none->Bytes());
    EXPECT_EQ(none, manager->GetLinkRecord(absent));
    EXPECT_EQ(1u, Table().allRecords[absent.value].size());

    EXPECT_EQ(nullptr, manager->GetLinkRecord(DS_FileLink3(FileKey{L"C:\\sounds\\gone.wav", 1})));
    EXPECT_EQ(nullptr, manager->GetLinkRecord(DS_FileLink3()));
}

// The module's mesh: 32-byte vertices in managed buffers, its counts and
// bounding sphere, made once.
TEST_F(ResourceLookupTest, ModuleMeshIsCopiedIntoDrawableBuffers)
{
    Fresh();
    const DS_FileLink3 link = TestModuleLink(TESTMODULE_MESH);
    const LoadedMesh& mesh = manager->GetLinkMesh(link, LoadedMeshStride);
    ASSERT_TRUE(mesh.IsLoaded());
    EXPECT_EQ(6u, mesh.vertexCount);
    EXPECT_EQ(8u, mesh.faceCount);
    EXPECT_NEAR(2.0f, mesh.radius, 1e-4f);
    EXPECT_NEAR(1.0f, mesh.centre.x, 1e-4f);
    EXPECT_NEAR(2.0f, mesh.centre.y, 1e-4f);
    EXPECT_NEAR(3.0f, mesh.centre.z, 1e-4f);
    D3DVERTEXBUFFER_DESC vertices{};
    mesh.vertices->GetDesc(&vertices);
    EXPECT_EQ(6u * 32u, vertices.Size);
    EXPECT_EQ(D3DPOOL_MANAGED, vertices.Pool);

    EXPECT_EQ(&mesh, &manager->GetLinkMesh(link, LoadedMeshStride));
    EXPECT_EQ(1u, Table().allRecords[link.value].size());
    EXPECT_EQ(1u, RefCount(mesh.vertices.Get()));
}

// An absent module leaves one record without bytes, parsed again at every
// call: the mesh stays empty and the module is not asked again.
TEST_F(ResourceLookupTest, MeshOfAnAbsentModuleStaysEmpty)
{
    Fresh();
    const DS_FileLink3 link(TESTMODULE_MESH, AbsentModule);
    for (int call = 0; call < 2; ++call) {
        const LoadedMesh& mesh = manager->GetLinkMesh(link, LoadedMeshStride);
        EXPECT_EQ(0u, mesh.vertexCount);
        EXPECT_FALSE(mesh.vertices);
        ASSERT_EQ(1u, Table().allRecords[link.value].size());
        EXPECT_FALSE(Table().allRecords[link.value][0].Bytes());
    }
}

// Meshes of module records are kept by number: a record of an absent
// module with the same number shares the module's mesh.
TEST_F(ResourceLookupTest, TwoModuleRecordsWithOneNumberShareAMesh)
{
    DS_DocResManager& fresh = Fresh();
    const LoadedMesh fromModule =
        fresh.Cache().GetRecordMesh(ModuleRecord(TESTMODULE_MESH, TESTMODULE_FILE_NAME), LoadedMeshStride);
    const LoadedMesh shared = fresh.Cache().GetRecordMesh(
        ModuleRecord(TESTMODULE_MESH, AbsentModule, BytesOf(TriangleXFile())), LoadedMeshStride);
    ASSERT_EQ(6u, fromModule.vertexCount);
    EXPECT_EQ(fromModule.vertices.Get(), shared.vertices.Get());
    EXPECT_EQ(6u, shared.vertexCount);
}

// The module's compiled effect is made once: each call hands out the same
// effect with one more reference, and it draws.
TEST_F(ResourceLookupTest, ModuleEffectIsMadeOnceAndSharedWithAReferenceEachCall)
{
    Fresh();
    const DS_FileLink3 link = TestModuleLink(TESTMODULE_EFFECT);
    const ComHolder<ID3DXEffect> first = manager->GetLinkEffect(link);
    ASSERT_TRUE(first);
    EXPECT_EQ(2u, RefCount(first.Get()));
    const ComHolder<ID3DXEffect> second = manager->GetLinkEffect(link);
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(3u, RefCount(first.Get()));

    ASSERT_EQ(1u, Table().allRecords[link.value].size());
    EXPECT_EQ(TestEffectFile(), RecordBytes(Table().allRecords[link.value][0]));
    EXPECT_TRUE(DrawsInColour(device, first.Get(), TestEffectColour));
}

// A document's links name a module with start-up code: its picture and its
// effect are read and used, and its code never runs (run, it would leave a
// marker file). A copy of it under an effect file's name is no module at all.
TEST_F(ResourceLookupTest, AModuleThatALinkNamesIsReadButItsCodeNeverRuns)
{
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    const ds_string marker = ds_string(folder) + TESTMODULE_STARTUP_MARKER;
    DeleteFileW(marker.c_str());
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const ds_string startupModule =
        ds_string(program).substr(0, ds_string(program).rfind(L'\\') + 1) + TESTMODULE_STARTUP_FILE_NAME;
    const TempFile disguised(L"nightglass_disguised_module.fxo");
    ASSERT_TRUE(CopyFileW(startupModule.c_str(), disguised.Path().c_str(), FALSE));
    Fresh();

    const TextureSet& picture = manager->GetLinkTextures(DS_FileLink3(TESTMODULE_PICTURE, TESTMODULE_STARTUP_FILE_NAME));
    const ComHolder<ID3DXEffect> effect =
        manager->GetLinkEffect(DS_FileLink3(TESTMODULE_EFFECT, TESTMODULE_STARTUP_FILE_NAME));
    ResourceRecord disguisedRecord(TESTMODULE_EFFECT, disguised.Path());
    HMODULE module = nullptr;

    ASSERT_EQ(1u, picture.textures.size());
    EXPECT_TRUE(picture.textures[0]);
    EXPECT_EQ(40u, picture.width);
    ASSERT_TRUE(effect);
    EXPECT_TRUE(DrawsInColour(device, effect.Get(), TestEffectColour));
    EXPECT_FALSE(LoadResourceModule(disguised.Path(), module));
    EXPECT_FALSE(LoadModuleResource(disguisedRecord, EffectResourceType));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(marker.c_str())) << "the module's code ran";

    // The marker is no false alarm: loaded to run, the module leaves it.
    HMODULE ran = LoadLibraryW(startupModule.c_str());
    ASSERT_TRUE(ran);
    FreeLibrary(ran);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(marker.c_str()));
    DeleteFileW(marker.c_str());
}

// Of several records for one effect link, the last one is compiled.
TEST_F(ResourceLookupTest, EffectIsBuiltFromTheLastRecordOfItsKey)
{
    ResourceTableContent content;
    content.otherFiles = {{EffectKey.path,
                           EffectKey.stamp,
                           {EffectRecord(0xFFFF0000), EffectRecord(0xFF00FF00), EffectRecord(0xFF0000FF)}}};
    Read(ResourceTableBytes(content));
    const ComHolder<ID3DXEffect> effect = manager->GetLinkEffect(DS_FileLink3(EffectKey));
    ASSERT_TRUE(effect);
    EXPECT_TRUE(DrawsInColour(device, effect.Get(), 0xFF0000FF));
}

// An effect that cannot be made leaves its slot empty and is tried again at
// the next call, from the records the key has then; a module is asked once.
TEST_F(ResourceLookupTest, FailedEffectIsRetriedFromTheRecordsOfThatTime)
{
    ResourceTableContent content;
    content.otherFiles = {{EffectKey.path, EffectKey.stamp, {EmbeddedPicture(EffectKey.path, {1, 2, 3, 4})}}};
    Read(ResourceTableBytes(content));
    const DS_FileLink3 link(EffectKey);
    EXPECT_FALSE(manager->GetLinkEffect(link));
    EXPECT_FALSE(Table().effects[EffectKey]);

    ResourceRecord compiled(EffectKey.path);
    const Bytes green = FlatColourEffect(0xFF00FF00);
    compiled.SetBytes(static_cast<int32_t>(green.size()), green.data());
    Table().allRecords[EffectKey].push_back(compiled);
    const ComHolder<ID3DXEffect> effect = manager->GetLinkEffect(link);
    ASSERT_TRUE(effect);
    EXPECT_TRUE(DrawsInColour(device, effect.Get(), 0xFF00FF00));

    const DS_FileLink3 absent(TESTMODULE_EFFECT, AbsentModule);
    const DS_FileLink3 disk(FileKey{L"C:\\effects\\gone.fxo", 2});
    for (int call = 0; call < 2; ++call) {
        EXPECT_FALSE(manager->GetLinkEffect(absent));
        EXPECT_EQ(1u, Table().allRecords[absent.value].size());
        EXPECT_FALSE(manager->GetLinkEffect(disk));
        EXPECT_EQ(1u, Table().allRecords[disk.value].size());
    }
}

// Old documents' records become picture links of this table: a module
// record names (module, number), a disk record its path with the next
// sequence stamp; a list takes its delays and all its records once.
TEST_F(ResourceLookupTest, RecordsOfOldDocumentsBecomePictureLinks)
{
    Fresh();
    const ResourceRecord moduleRecord = ModuleRecord(TESTMODULE_SECOND_PICTURE, TESTMODULE_FILE_NAME);
    const DS_ImageFileLink fromModule = manager->MakeImageLink(moduleRecord);
    EXPECT_EQ(TESTMODULE_FILE_NAME, fromModule.value.path);
    EXPECT_EQ(TESTMODULE_SECOND_PICTURE, fromModule.value.stamp);
    manager->MakeImageLink(moduleRecord);
    EXPECT_EQ(1u, Table().allRecords[fromModule.value].size());
    const TextureSet& orange = Table().textureSets[fromModule.value];
    ASSERT_EQ(1u, orange.textures.size());
    EXPECT_EQ(48u, orange.height);

    ResourceRecord diskRecord(L"C:\\pictures\\old.png");
    const Bytes png = SolidPng(6, 3, 0xFF102030);
    diskRecord.SetBytes(static_cast<int32_t>(png.size()), png.data());
    const int32_t stamp = NextLinkStamp;
    const DS_ImageFileLink fromDisk = manager->MakeImageLink(diskRecord);
    EXPECT_EQ(diskRecord.path, fromDisk.value.path);
    EXPECT_EQ(stamp, fromDisk.value.stamp);
    EXPECT_EQ(6u, Table().textureSets[fromDisk.value].width);

    const std::list<ResourceRecord> frames = {diskRecord, moduleRecord};
    const DS_ImageFileLink fromList = manager->MakeImageLinkFromList({0.25f, 0.5f}, frames);
    EXPECT_EQ(stamp + 1, fromList.value.stamp);
    const TextureSet& listSet = Table().textureSets[fromList.value];
    ASSERT_EQ(2u, listSet.textures.size());
    EXPECT_EQ((std::vector<float>{0.25f, 0.5f}), listSet.delays);
    EXPECT_EQ(48u, listSet.height);
    EXPECT_EQ(2u, Table().allRecords[fromList.value].size());

    const DS_ImageFileLink none = manager->MakeImageLinkFromList({1.0f}, {});
    EXPECT_TRUE(none.value.path.empty());
    EXPECT_EQ(0, none.value.stamp);
    EXPECT_EQ(0u, Table().textureSets.count(FileKey()));

    const TempFile file(L"nightglass_link_picture.png", png);
    const DS_ImageFileLink chosen = manager->MakeImageLinkFromFile(file.Path());
    EXPECT_EQ(file.Path(), chosen.value.path);
    EXPECT_EQ(DS_FileLink3(file.Path()).value.stamp, chosen.value.stamp);
    EXPECT_FALSE(Table().textureSets[chosen.value].IsLoaded());
}

// After a device loss and reset, managed textures and meshes still draw,
// effects still work, and the render-target pairs are made again from their
// GUID textures.
TEST_F(ResourceLookupTest, LostAndResetDeviceLeavesEverythingUsable)
{
    Fresh();
    IDirect3DDevice9* d = device.Device();
    const TextureSet& picture = manager->GetLinkTextures(TestModuleLink(TESTMODULE_PICTURE));
    const LoadedMesh& mesh = manager->GetLinkMesh(TestModuleLink(TESTMODULE_MESH), LoadedMeshStride);
    const ComHolder<ID3DXEffect> effect = manager->GetLinkEffect(TestModuleLink(TESTMODULE_EFFECT));
    ASSERT_TRUE(picture.textures[0] && mesh.IsLoaded() && effect);
    ASSERT_TRUE(DrawsInColour(device, effect.Get(), TestEffectColour));

    const GuidKey key(GUID{0xABCD, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}}, L"", 1);
    const Bytes png = SolidPng(16, 16, 0xFF406080);
    manager->GuidTexture(key) = CreateSizedTextureFromMemory(png.data(), static_cast<int32_t>(png.size())).texture;
    RenderTargetPair pair;
    pair.Create(512, 512);
    ASSERT_TRUE(pair.current);
    Table().renderTargets[key] = &pair;

    manager->OnLostDevice();
    EXPECT_FALSE(pair.current || pair.textures[0] || pair.textures[1]);
    ASSERT_EQ(D3D_OK, device.Reset());
    manager->OnResetDevice();

    ASSERT_TRUE(pair.current);
    EXPECT_TRUE(device.ReadTexture(pair.current.Get()).AllNear(0, 0, 512, 512, Colour(0xFF406080), 2));
    EXPECT_TRUE(DrawsInColour(device, effect.Get(), TestEffectColour));

    d->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    DrawTextureQuad(d, picture.textures[0].Get());
    const Pixels texture = device.ReadBackBuffer();
    EXPECT_TRUE(ColourNear(texture.AtFraction(0.2, 0.5), Colour(TestPictureLeftColour), 2));
    EXPECT_TRUE(ColourNear(texture.AtFraction(0.8, 0.5), Colour(TestPictureRightColour), 2));

    d->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    DrawMeshThroughEffect(d, mesh, effect.Get());
    const Pixels drawn = device.ReadBackBuffer();
    EXPECT_TRUE(ColourNear(drawn.AtFraction(0.5, 0.5), Colour(TestEffectColour), 2));
    EXPECT_TRUE(ColourNear(drawn.AtFraction(0.05, 0.05), {0, 0, 0, 255}, 2));
}

// Effects and meshes that a module or empty link names by number come from
// the program's own resources when the module does not load (the program
// carries its effects); bytes found there that are not a mesh give none, and
// a disk link's stamp, a file time, names no resource.
TEST_F(ResourceLookupTest, NumberedEffectsAndMeshesFallBackToTheProgram)
{
    Fresh();
    for (const wchar_t* module : {L"common_res.dll", L""}) {
        const ComHolder<ID3DXEffect> fire = manager->GetLinkEffect(DS_FileLink3(92, module));
        ASSERT_TRUE(fire);
        EXPECT_TRUE(fire->GetTechniqueByName("AsEffect"));
    }

    const DS_FileLink3 noisePicture(2, L"common_res.dll");
    EXPECT_EQ(0u, manager->GetLinkMesh(noisePicture, LoadedMeshStride).vertexCount);
    ASSERT_EQ(1u, Table().allRecords[noisePicture.value].size());
    EXPECT_TRUE(Table().allRecords[noisePicture.value][0].Bytes());

    EXPECT_FALSE(manager->GetLinkEffect(DS_FileLink3(FileKey{L"C:\\effects\\fire.fxo", 92})));
}
