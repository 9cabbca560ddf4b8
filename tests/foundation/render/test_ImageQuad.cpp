#include "foundation/render/ImageQuad.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "tests/support/RenderTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ImageQuadTest = DeviceTest<256, 256>;

ULONG RefCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

} // namespace

// The picture quad spans the picture's size in picture pixels, with the
// texture coordinates of the strip order.
TEST_F(ImageQuadTest, SetImageSpansThePicturesSizeWithItsTexture)
{
    ComHolder<IDirect3DTexture9> cells = CellTexture(Device(), 16);
    SizedTexture picture;
    picture.texture = cells.Get();
    picture.width = 640;
    picture.height = 480;

    ImageQuad quad;
    ASSERT_EQ(D3D_OK, quad.CreateBuffer());
    quad.SetImage(picture);
    EXPECT_EQ(cells.Get(), quad.texture.Get());
    EXPECT_EQ(3u, RefCount(cells.Get()));
    // The quad shows the picture without taking it as its own image.
    EXPECT_FALSE(quad.image.texture);

    const auto v = ReadVertices(quad);
    ASSERT_EQ(4u, v.size());
    const float expected[4][4] = {{0, 480, 0, 1}, {0, 0, 0, 0}, {640, 480, 1, 1}, {640, 0, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i][0], v[i].x);
        EXPECT_EQ(expected[i][1], v[i].y);
        EXPECT_EQ(0.0f, v[i].z);
        EXPECT_EQ(expected[i][2], v[i].u);
        EXPECT_EQ(expected[i][3], v[i].v);
    }
}

TEST_F(ImageQuadTest, PowerOfTwoCopyIsASquareOfTheSource)
{
    ComHolder<IDirect3DTexture9> cells = CellTexture(Device(), 64);
    ImageQuad quad;
    quad.image.width = 1000;
    quad.image.height = 500;
    quad.MakePowerOfTwoCopy(1, cells.Get());
    ASSERT_TRUE(quad.image.texture);
    EXPECT_NE(cells.Get(), quad.image.texture.Get());
    EXPECT_EQ(1u, RefCount(cells.Get()));
    D3DSURFACE_DESC desc{};
    quad.image.texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(256u, desc.Width);
    EXPECT_EQ(256u, desc.Height);
    EXPECT_EQ(1000u, quad.image.width);
    const Pixels copy = device.ReadTexture(quad.image.texture.Get());
    ASSERT_FALSE(copy.Empty());
    EXPECT_TRUE(ColourNear(copy.At(32, 32), CellColour(0, 0), 12));
    EXPECT_TRUE(ColourNear(copy.At(224, 224), CellColour(3, 3), 12));

    quad.MakePowerOfTwoCopy(0, nullptr);
    EXPECT_FALSE(quad.image.texture);
    quad.MakePowerOfTwoCopy(40, cells.Get());
    EXPECT_FALSE(quad.image.texture);
}

// A link to the program's own splash picture: the quad takes the picture of
// the current document's link, with its size, and spans it. Without a
// document it shows nothing.
TEST_F(ImageQuadTest, LoadLinkImageShowsTheLinksFirstPicture)
{
    ImageQuad quad;
    ASSERT_EQ(D3D_OK, quad.CreateBuffer());
    DS_ImageFileLink splash;
    splash.value = FileKey{L"", 5};

    quad.LoadLinkImage(splash);
    EXPECT_FALSE(quad.image.texture);
    EXPECT_FALSE(quad.texture);

    DS_DocResManager manager;
    CurrentResManager = &manager;
    quad.LoadLinkImage(splash);
    CurrentResManager = nullptr;
    ASSERT_TRUE(quad.image.texture);
    EXPECT_EQ(quad.image.texture.Get(), quad.texture.Get());
    EXPECT_GT(quad.image.width, 0u);
    EXPECT_GT(quad.image.height, 0u);
    const auto v = ReadVertices(quad);
    ASSERT_EQ(4u, v.size());
    EXPECT_EQ(static_cast<float>(quad.image.width), v[3].x);
    EXPECT_EQ(static_cast<float>(quad.image.height), v[0].y);
}
