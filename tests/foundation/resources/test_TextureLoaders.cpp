#include "tests/foundation/resources/LoaderTestSupport.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/ResourceModule.h"
#include "foundation/resources/TextureLoaders.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tools/assets/ProgramArt.h"

#include <algorithm>
#include <functional>

namespace {

using TextureLoaderTest = LoaderTest;

struct PictureFormat {
    const char* name;
    std::function<Bytes(IDirect3DDevice9*, const Image&)> encode;
    int tolerance;
};

D3DSURFACE_DESC TopLevel(IDirect3DTexture9* texture)
{
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    return desc;
}

} // namespace

// A non-square picture whose sides are no powers of two keeps its own size
// and aspect, while the texture is rounded up and the picture filtered into
// it.
TEST_F(TextureLoaderTest, PicturesInMemoryKeepTheirOwnSize)
{
    const Image image = QuadrantImage(100, 60);
    const PictureFormat formats[] = {
        {"PNG", [](IDirect3DDevice9*, const Image& i) { return PngOf(i); }, 8},
        {"JPEG", JpegOf, 40},
        {"DDS", DdsOf, 8},
    };
    for (const auto& format : formats) {
        SCOPED_TRACE(format.name);
        const Bytes file = format.encode(device.Device(), image);
        ASSERT_FALSE(file.empty());

        const SizedTexture sized = CreateSizedTextureFromMemory(file.data(), static_cast<int32_t>(file.size()));
        ASSERT_TRUE(sized.texture);
        EXPECT_EQ(100u, sized.width);
        EXPECT_EQ(60u, sized.height);
        EXPECT_FLOAT_EQ(0.6f, sized.aspect);
        EXPECT_EQ(1u, sized.texture->GetLevelCount());
        const D3DSURFACE_DESC desc = TopLevel(sized.texture.Get());
        EXPECT_EQ(128u, desc.Width);
        EXPECT_EQ(64u, desc.Height);
        EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
        EXPECT_TRUE(HasQuadrants(device.ReadTexture(sized.texture.Get()), format.tolerance));

        ComHolder<IDirect3DTexture9> texture;
        D3DXIMAGE_INFO info{};
        EXPECT_EQ(S_OK, LoadTextureFromMemory(file.data(), static_cast<int32_t>(file.size()), texture, info));
        EXPECT_TRUE(texture);
        EXPECT_EQ(100u, info.Width);
        EXPECT_EQ(60u, info.Height);
    }
}

TEST_F(TextureLoaderTest, BytesThatAreNoPictureGiveNothingAndLeaveTheInformation)
{
    const Bytes junk = BytesOf("this is not a picture");
    const struct {
        const char* name;
        const uint8_t* bytes;
        int32_t size;
    } cases[] = {
        {"junk", junk.data(), static_cast<int32_t>(junk.size())},
        {"no bytes", nullptr, 0},
        {"negative size", junk.data(), -5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ComHolder<IDirect3DTexture9> texture;
        D3DXIMAGE_INFO info{};
        info.Width = 800;
        info.Height = 600;
        EXPECT_TRUE(FAILED(LoadTextureFromMemory(c.bytes, c.size, texture, info)));
        EXPECT_FALSE(texture);
        EXPECT_EQ(800u, info.Width);
        EXPECT_EQ(600u, info.Height);

        const SizedTexture sized = CreateSizedTextureFromMemory(c.bytes, c.size);
        EXPECT_FALSE(sized.texture);
        EXPECT_EQ(0u, sized.width);
        EXPECT_EQ(0u, sized.height);
        EXPECT_EQ(1.0f, sized.aspect);
    }
}

TEST_F(TextureLoaderTest, ProgramResourceLoadsUnscaledWithOrWithoutMipChain)
{
    ComHolder<IDirect3DTexture9> full;
    ASSERT_EQ(S_OK, LoadResourceTexture(NoiseResource, true, full));
    // The noise picture is 256 × 256: levels 256 down to 1.
    EXPECT_EQ(9u, full->GetLevelCount());
    EXPECT_EQ(256u, TopLevel(full.Get()).Width);

    ComHolder<IDirect3DTexture9> single;
    ASSERT_EQ(S_OK, LoadResourceTexture(SplashResource, false, single));
    EXPECT_EQ(1u, single->GetLevelCount());
    EXPECT_EQ(256u, TopLevel(single.Get()).Height);
}

TEST_F(TextureLoaderTest, MissingProgramResourceFailsWithoutTexture)
{
    for (const int32_t number : {MissingResource, 0, 73}) {
        ComHolder<IDirect3DTexture9> texture;
        EXPECT_EQ(E_FAIL, LoadResourceTexture(number, true, texture)) << number;
        EXPECT_FALSE(texture);
    }
}

TEST_F(TextureLoaderTest, WithoutDeviceNothingIsMade)
{
    const ScopedCurrentDevice noDevice(nullptr);
    ComHolder<IDirect3DTexture9> texture;
    EXPECT_EQ(E_FAIL, LoadResourceTexture(NoiseResource, true, texture));
    const Bytes png = PngOf(QuadrantImage(8, 8));
    EXPECT_FALSE(CreateSizedTextureFromMemory(png.data(), static_cast<int32_t>(png.size())).texture);
}

// With no module handle the program's own resources are the module's.
TEST_F(TextureLoaderTest, ModuleTextureReportsThePictureSize)
{
    ComHolder<IDirect3DTexture9> texture;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(S_OK, LoadModuleTexture(nullptr, SplashResource, texture, info));
    EXPECT_EQ(256u, info.Width);
    EXPECT_EQ(256u, info.Height);
    EXPECT_EQ(1u, texture->GetLevelCount());

    EXPECT_EQ(E_FAIL, LoadModuleTexture(nullptr, MissingResource, texture, info));
    EXPECT_FALSE(texture);
}

TEST(ModuleResource, CopiesTheProgramsResourceForTheEmptyModuleName)
{
    ResourceRecord record = ModuleRecord(SplashResource, L"");
    ASSERT_TRUE(LoadModuleResource(record));
    const Bytes splash = MakeSplashFile();
    ASSERT_EQ(static_cast<int32_t>(splash.size()), record.Size());
    EXPECT_TRUE(std::equal(splash.begin(), splash.end(), record.Bytes()));
}

// A module that does not load has no resources: the program's own resource
// of the same number is a different file altogether.
TEST(ModuleResource, AbsentModuleOrResourceLeavesTheBytes)
{
    const Bytes kept = BytesOf("kept");
    for (ResourceRecord record : {ModuleRecord(SplashResource, AbsentModule, kept),
                                  ModuleRecord(MissingResource, L"", kept)}) {
        EXPECT_FALSE(LoadModuleResource(record));
        ASSERT_EQ(4, record.Size());
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), record.Bytes()));
    }
}

TEST(ModuleResource, ResourceBytesAreFoundByTheLow16BitsOfTheNumber)
{
    const ResourceBytes direct = FindResourceBytes(nullptr, SplashResource, PictureResourceType);
    const ResourceBytes high = FindResourceBytes(nullptr, 0x10000 | SplashResource, PictureResourceType);
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct.data, high.data);
    EXPECT_EQ(MakeSplashFile().size(), direct.size);
    EXPECT_FALSE(FindResourceBytes(nullptr, 0x10000, PictureResourceType));
}
