#include "tests/foundation/resources/LoaderTestSupport.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/MeshLoaders.h"
#include "tests/support/ScopedCurrentDevice.h"

#include <memory>

namespace {

using ResourceCacheTest = LoaderTest;

ComHolder<IDirect3DDevice9> DeviceOf(IDirect3DResource9* resource)
{
    ComHolder<IDirect3DDevice9> owner;
    resource->GetDevice(owner.Out());
    return owner;
}

} // namespace

TEST_F(ResourceCacheTest, ProgramPictureIsMadeOnceWithAFullMipChain)
{
    ComHolder<IDirect3DTexture9> first = cache.GetResourceTexture(NoiseResource);
    ComHolder<IDirect3DTexture9> second = cache.GetResourceTexture(NoiseResource);
    ASSERT_TRUE(first);
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(9u, first->GetLevelCount());
    // The cache's own reference and one for each caller.
    EXPECT_EQ(3u, RefCount(first.Get()));
    second.Release();
    EXPECT_EQ(2u, RefCount(first.Get()));
}

TEST_F(ResourceCacheTest, MissingProgramPictureGivesNoneAtEveryCall)
{
    EXPECT_FALSE(cache.GetResourceTexture(MissingResource));
    EXPECT_FALSE(cache.GetResourceTexture(MissingResource));
}

TEST_F(ResourceCacheTest, DestroyingTheCacheReleasesItsTexturesAndStopsItBeingCurrent)
{
    auto other = std::make_unique<ResourceCache>();
    ComHolder<IDirect3DTexture9> kept = other->GetResourceTexture(NoiseResource);
    ASSERT_TRUE(kept);
    EXPECT_EQ(2u, RefCount(kept.Get()));

    CurrentResourceCache = other.get();
    other.reset();
    EXPECT_EQ(1u, RefCount(kept.Get()));
    EXPECT_EQ(nullptr, CurrentResourceCache);

    // A cache that is not current leaves the current one alone.
    CurrentResourceCache = &cache;
    ResourceCache().GetResourceTexture(NoiseResource);
    EXPECT_EQ(&cache, CurrentResourceCache);
}

// The module is absent: the record's embedded picture serves and is kept
// under the module's name and the number.
TEST_F(ResourceCacheTest, AbsentModuleTakesTheEmbeddedPictureOnce)
{
    const ResourceRecord record = ModuleRecord(9, AbsentModule, PngOf(QuadrantImage(100, 60)));
    const SizedTexture sized = cache.GetRecordTexture(record);
    ASSERT_TRUE(sized.texture);
    EXPECT_EQ(100u, sized.width);
    EXPECT_EQ(60u, sized.height);
    EXPECT_FLOAT_EQ(0.6f, sized.aspect);
    EXPECT_TRUE(HasQuadrants(device.ReadTexture(sized.texture.Get()), 8));

    const SizedTexture& entry = cache.FindModuleTexture({AbsentModule, 9});
    EXPECT_EQ(sized.texture.Get(), entry.texture.Get());
    EXPECT_EQ(100u, entry.width);

    // Later records of that key get the kept texture, whatever they carry.
    const SizedTexture again = cache.GetRecordTexture(ModuleRecord(9, AbsentModule, PngOf(QuadrantImage(10, 10))));
    EXPECT_EQ(sized.texture.Get(), again.texture.Get());
    EXPECT_EQ(100u, again.width);
    // Another module name is another key.
    const SizedTexture elsewhere =
        cache.GetRecordTexture(ModuleRecord(9, L"another_absent.dll", PngOf(QuadrantImage(10, 20))));
    EXPECT_NE(sized.texture.Get(), elsewhere.texture.Get());
    EXPECT_EQ(10u, elsewhere.width);
}

TEST_F(ResourceCacheTest, AbsentModuleWithoutBytesGivesTheDefaultCanvasSize)
{
    for (int call = 0; call < 2; ++call) {
        const SizedTexture sized = cache.GetRecordTexture(ModuleRecord(12, AbsentModule));
        EXPECT_FALSE(sized.texture);
        EXPECT_EQ(800u, sized.width);
        EXPECT_EQ(600u, sized.height);
        EXPECT_FLOAT_EQ(0.75f, sized.aspect);
    }
    EXPECT_EQ(800u, cache.FindModuleTexture({AbsentModule, 12}).width);
}

// The empty module name is the program itself, a module that always loads:
// its resource is preferred, and the embedded copy serves when it lacks one.
TEST_F(ResourceCacheTest, LoadedModulePrefersItsResourceToTheEmbeddedCopy)
{
    const Bytes png = PngOf(QuadrantImage(100, 60));
    const SizedTexture splash = cache.GetRecordTexture(ModuleRecord(SplashResource, L"", png));
    ASSERT_TRUE(splash.texture);
    EXPECT_EQ(256u, splash.width);
    EXPECT_EQ(256u, splash.height);
    EXPECT_EQ(splash.texture.Get(), cache.GetRecordTexture(ModuleRecord(SplashResource, L"")).texture.Get());

    const SizedTexture copy = cache.GetRecordTexture(ModuleRecord(MissingResource, L"", png));
    ASSERT_TRUE(copy.texture);
    EXPECT_EQ(100u, copy.width);
    EXPECT_EQ(copy.texture.Get(), cache.GetRecordTexture(ModuleRecord(MissingResource, L"")).texture.Get());

    const SizedTexture none = cache.GetRecordTexture(ModuleRecord(73, L""));
    EXPECT_FALSE(none.texture);
    EXPECT_EQ(0u, none.width);
    EXPECT_EQ(1.0f, none.aspect);
}

TEST_F(ResourceCacheTest, RecordWithPathAndBytesIsMadeAnewAtEveryCall)
{
    ResourceRecord record(L"C:\\pictures\\quadrants.png");
    const Bytes png = PngOf(QuadrantImage(100, 60));
    record.SetBytes(static_cast<int32_t>(png.size()), png.data());
    const SizedTexture first = cache.GetRecordTexture(record);
    const SizedTexture second = cache.GetRecordTexture(record);
    ASSERT_TRUE(first.texture);
    ASSERT_TRUE(second.texture);
    EXPECT_NE(first.texture.Get(), second.texture.Get());
    EXPECT_EQ(60u, second.height);
    EXPECT_EQ(1u, RefCount(first.texture.Get()));
}

TEST_F(ResourceCacheTest, DiskPictureIsLoadedOnceAndRetriedWhileMissing)
{
    const TempFile file(L"nightglass_cache_picture.png");
    EXPECT_FALSE(cache.GetFileTexture(file.Path()).texture);

    file.Write(PngOf(QuadrantImage(30, 90)));
    const SizedTexture loaded = cache.GetFileTexture(file.Path());
    ASSERT_TRUE(loaded.texture);
    EXPECT_EQ(30u, loaded.width);
    EXPECT_EQ(90u, loaded.height);
    EXPECT_FLOAT_EQ(3.0f, loaded.aspect);
    EXPECT_TRUE(HasQuadrants(device.ReadTexture(loaded.texture.Get()), 8));

    // A record with the path and no bytes reads the same cache entry.
    const SizedTexture viaRecord = cache.GetRecordTexture(ResourceRecord(file.Path()));
    EXPECT_EQ(loaded.texture.Get(), viaRecord.texture.Get());
}

TEST_F(ResourceCacheTest, EmptyNameIsTheProgramAndSystemModulesLoad)
{
    HMODULE module = reinterpret_cast<HMODULE>(1);
    EXPECT_TRUE(cache.GetModule(L"", module));
    EXPECT_EQ(nullptr, module);

    EXPECT_FALSE(cache.GetModule(AbsentModule, module));
    EXPECT_FALSE(cache.GetModule(AbsentModule, module));

    ASSERT_TRUE(cache.GetModule(L"kernel32.dll", module));
    EXPECT_EQ(GetModuleHandleW(L"kernel32.dll"), module);
}

// A file in the current folder that carries a module's name is not loaded
// in its place.
TEST_F(ResourceCacheTest, ModuleInTheCurrentFolderIsNotLoaded)
{
    wchar_t program[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameW(nullptr, program, MAX_PATH));
    const TempFile planted(L"nightglass_planted.dll");
    ASSERT_TRUE(CopyFileW(program, planted.Path().c_str(), FALSE));
    const ds_string folder = planted.Path().substr(0, planted.Path().rfind(L'\\'));

    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    // The plain search would find it here.
    HMODULE control = LoadLibraryExW(L"nightglass_planted.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE module = nullptr;
    const bool loaded = cache.GetModule(L"nightglass_planted.dll", module);
    SetCurrentDirectoryW(previous);

    EXPECT_NE(nullptr, control);
    if (control)
        FreeLibrary(control);
    EXPECT_FALSE(loaded);
}

// The mesh of a module record is kept by number alone once a module gave
// it; the program (the empty module name) has no mesh 107, so the number
// keeps the empty mesh, which a record of an absent module then shares.
TEST_F(ResourceCacheTest, MeshesOfLoadedModulesAreSharedByNumber)
{
    const Bytes cube = BytesOf(CubeXFile(D3DXVECTOR3(0, 0, 0), 1));
    const LoadedMesh fromProgram = cache.GetRecordMesh(ModuleRecord(SceneResource, L""), LoadedMeshStride);
    EXPECT_FALSE(fromProgram.IsLoaded());
    const LoadedMesh shared = cache.GetRecordMesh(ModuleRecord(SceneResource, AbsentModule, cube), LoadedMeshStride);
    EXPECT_FALSE(shared.IsLoaded());
    EXPECT_FALSE(shared.vertices);
}

// With the module absent nothing is kept: every call parses the record's
// own bytes, so two records of one number keep their own meshes.
TEST_F(ResourceCacheTest, MeshesOfAbsentModulesComeFromTheirBytesAtEveryCall)
{
    const ResourceRecord cube = ModuleRecord(31, AbsentModule, BytesOf(CubeXFile(D3DXVECTOR3(0, 0, 0), 1)));
    const ResourceRecord triangle = ModuleRecord(31, L"another_absent.dll", BytesOf(TriangleXFile()));

    const LoadedMesh first = cache.GetRecordMesh(cube, LoadedMeshStride);
    const LoadedMesh again = cache.GetRecordMesh(cube, LoadedMeshStride);
    const LoadedMesh other = cache.GetRecordMesh(triangle, LoadedMeshStride);
    EXPECT_EQ(24u, first.vertexCount);
    EXPECT_EQ(24u, again.vertexCount);
    EXPECT_NE(first.vertices.Get(), again.vertices.Get());
    EXPECT_EQ(3u, other.vertexCount);
    EXPECT_EQ(1u, RefCount(first.vertices.Get()));

    EXPECT_FALSE(cache.GetRecordMesh(ModuleRecord(31, AbsentModule), LoadedMeshStride).IsLoaded());
}

// Embedded and disk files all carry the number 0; each loads its own mesh.
TEST_F(ResourceCacheTest, MeshOfARecordWithAPathComesFromItsBytesOrItsFile)
{
    ResourceRecord embedded(L"C:\\models\\triangle.x");
    const Bytes triangle = BytesOf(TriangleXFile());
    embedded.SetBytes(static_cast<int32_t>(triangle.size()), triangle.data());
    EXPECT_EQ(3u, cache.GetRecordMesh(embedded, LoadedMeshStride).vertexCount);

    const TempFile file(L"nightglass_cache_cube.x", BytesOf(CubeXFile(D3DXVECTOR3(0, 0, 0), 1)));
    EXPECT_EQ(24u, cache.GetRecordMesh(ResourceRecord(file.Path()), LoadedMeshStride).vertexCount);
}

// Each screen has its own device and document cache; whichever pair is
// current makes and keeps the objects, also after the other screen drew.
TEST(ResourceCacheScreens, EachScreenGetsObjectsOfItsOwnDevice)
{
    TestDevice first(128, 128);
    TestDevice second(128, 128);
    ASSERT_TRUE(first.Ok());
    ASSERT_TRUE(second.Ok());
    ResourceCache firstCache;
    ResourceCache secondCache;
    const ResourceRecord absent = ModuleRecord(9, AbsentModule, PngOf(QuadrantImage(100, 60)));

    const ScopedCurrentDevice onFirst(first.Device());
    CurrentResourceCache = &firstCache;
    const ComHolder<IDirect3DTexture9> firstNoise = CurrentResourceCache->GetResourceTexture(NoiseResource);
    const SizedTexture firstPicture = CurrentResourceCache->GetRecordTexture(absent);
    first.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(10, 20, 30), 1.0f, 0);
    first.Device()->BeginScene();
    first.Device()->EndScene();
    first.Device()->Present(nullptr, nullptr, nullptr, nullptr);

    const ScopedCurrentDevice onSecond(second.Device());
    CurrentResourceCache = &secondCache;
    const ComHolder<IDirect3DTexture9> secondNoise = CurrentResourceCache->GetResourceTexture(NoiseResource);
    const SizedTexture secondPicture = CurrentResourceCache->GetRecordTexture(absent);

    ASSERT_TRUE(firstNoise && secondNoise && firstPicture.texture && secondPicture.texture);
    EXPECT_NE(firstNoise.Get(), secondNoise.Get());
    EXPECT_NE(firstPicture.texture.Get(), secondPicture.texture.Get());
    EXPECT_EQ(first.Device(), DeviceOf(firstNoise.Get()).Get());
    EXPECT_EQ(first.Device(), DeviceOf(firstPicture.texture.Get()).Get());
    EXPECT_EQ(second.Device(), DeviceOf(secondNoise.Get()).Get());
    EXPECT_EQ(second.Device(), DeviceOf(secondPicture.texture.Get()).Get());
    EXPECT_TRUE(HasQuadrants(second.ReadTexture(secondPicture.texture.Get()), 8));

    // Back on the first screen its own objects come back.
    const ScopedCurrentDevice backOnFirst(first.Device());
    CurrentResourceCache = &firstCache;
    EXPECT_EQ(firstNoise.Get(), CurrentResourceCache->GetResourceTexture(NoiseResource).Get());

    CurrentResourceCache = nullptr;
}
