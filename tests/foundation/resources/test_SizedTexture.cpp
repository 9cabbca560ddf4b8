#include "tests/foundation/resources/LoaderTestSupport.h"

#include "foundation/resources/SizedTexture.h"

using SizedTextureTest = LoaderTest;

TEST_F(SizedTextureTest, AssignSizedTextureHoldsOneReferenceAndThePictureSize)
{
    const ComHolder<IDirect3DTexture9> a = TextureOf(device.Device(), QuadrantImage(4, 4));
    const ComHolder<IDirect3DTexture9> b = TextureOf(device.Device(), QuadrantImage(4, 4));
    D3DXIMAGE_INFO info{};
    info.Width = 200;
    info.Height = 50;
    SizedTexture sized;
    AssignSizedTexture(sized, a.Get(), info);
    AssignSizedTexture(sized, a.Get(), info);
    EXPECT_EQ(2u, RefCount(a.Get()));
    EXPECT_EQ(200u, sized.width);
    EXPECT_EQ(50u, sized.height);
    EXPECT_FLOAT_EQ(0.25f, sized.aspect);

    AssignSizedTexture(sized, b.Get(), info);
    EXPECT_EQ(1u, RefCount(a.Get()));
    EXPECT_EQ(2u, RefCount(b.Get()));

    // No picture, no width: the neutral aspect rather than a division by 0.
    AssignSizedTexture(sized, nullptr, D3DXIMAGE_INFO{});
    EXPECT_FALSE(sized.texture);
    EXPECT_EQ(1u, RefCount(b.Get()));
    EXPECT_EQ(1.0f, sized.aspect);
}

TEST_F(SizedTextureTest, SizedTextureCopiesHoldTheirOwnReference)
{
    const ComHolder<IDirect3DTexture9> a = TextureOf(device.Device(), QuadrantImage(4, 4));
    const ComHolder<IDirect3DTexture9> b = TextureOf(device.Device(), QuadrantImage(4, 4));
    SizedTexture first;
    first.texture = a.Get();
    first.width = 7;
    {
        SizedTexture copy = first;
        EXPECT_EQ(3u, RefCount(a.Get()));
        EXPECT_EQ(7u, copy.width);
        copy = copy;
        EXPECT_EQ(3u, RefCount(a.Get()));
        SizedTexture other;
        other.texture = b.Get();
        copy = other;
        EXPECT_EQ(2u, RefCount(a.Get()));
        EXPECT_EQ(3u, RefCount(b.Get()));
    }
    EXPECT_EQ(2u, RefCount(a.Get()));
    EXPECT_EQ(1u, RefCount(b.Get()));
}
