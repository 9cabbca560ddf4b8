#include "tests/foundation/resources/LoaderTestSupport.h"

#include "foundation/resources/TextureCopies.h"
#include "foundation/resources/TextureLoaders.h"

#include <cstring>

using TextureCopiesTest = LoaderTest;

// The filter samples by point under some D3DX builds: compare the middle of
// each quadrant, with a tolerance.
TEST_F(TextureCopiesTest, ResampleCopiesTheTopLevelIntoAFullChain)
{
    const ComHolder<IDirect3DTexture9> source = TextureOf(device.Device(), QuadrantImage(64, 32));
    ASSERT_TRUE(source);
    const ComHolder<IDirect3DTexture9> copy = ResampleTexture(128, 128, source.Get());
    ASSERT_TRUE(copy);
    EXPECT_EQ(8u, copy->GetLevelCount());
    D3DSURFACE_DESC desc{};
    copy->GetLevelDesc(0, &desc);
    EXPECT_EQ(128u, desc.Width);
    EXPECT_EQ(128u, desc.Height);
    EXPECT_EQ(D3DFMT_A8R8G8B8, desc.Format);
    EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
    EXPECT_TRUE(HasQuadrants(device.ReadTexture(copy.Get()), 8));
    EXPECT_EQ(1u, RefCount(source.Get()));

    const ComHolder<IDirect3DTexture9> opaque = ResampleTexture(32, 64, source.Get(), D3DFMT_X8R8G8B8);
    ASSERT_TRUE(opaque);
    opaque->GetLevelDesc(0, &desc);
    EXPECT_EQ(D3DFMT_X8R8G8B8, desc.Format);
    EXPECT_EQ(64u, desc.Height);
    EXPECT_TRUE(HasQuadrants(device.ReadTexture(opaque.Get()), 8));

    EXPECT_FALSE(ResampleTexture(128, 128, nullptr));
}

TEST_F(TextureCopiesTest, TextureSavedAsDdsLoadsBack)
{
    EXPECT_FALSE(SaveTextureToDdsMemory(nullptr));
    const ComHolder<IDirect3DTexture9> texture = TextureOf(device.Device(), QuadrantImage(64, 32));
    const ComHolder<ID3DXBuffer> file = SaveTextureToDdsMemory(texture.Get());
    if (!file)
        GTEST_SKIP() << "this D3DX cannot write DDS files from textures";
    ASSERT_GT(file->GetBufferSize(), 4u);
    EXPECT_EQ(0, std::memcmp(file->GetBufferPointer(), "DDS ", 4));
    const SizedTexture back = CreateSizedTextureFromMemory(static_cast<const uint8_t*>(file->GetBufferPointer()),
                                                           static_cast<int32_t>(file->GetBufferSize()));
    EXPECT_EQ(64u, back.width);
    EXPECT_EQ(32u, back.height);
}
