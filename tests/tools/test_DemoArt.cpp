#include "tools/assets/DemoArt.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <set>
#include <string>

namespace {

struct Expected {
    std::wstring fileName;
    int width, height;
    DemoFormat format;
    uint32_t pixelsCrc;
};

// The pictures and a checksum of their pixels: a change of any pixel, on
// any machine or run, shows here (the same sums come from a native Linux
// build at any optimisation level). After changing the art on purpose, take
// the new checksums from the failure message.
const Expected Pictures[] = {
    {L"moonlit-hills.jpg", 1280, 720, DemoFormat::Jpeg, 3832714538u},
    {L"aurora-lake.jpg", 1024, 768, DemoFormat::Jpeg, 3604278180u},
    {L"misty-forest.png", 1000, 800, DemoFormat::Png, 3998620470u},
    {L"desert-galaxy.jpg", 1280, 536, DemoFormat::Jpeg, 3414704887u},
    {L"sunset-sea.jpg", 768, 1024, DemoFormat::Jpeg, 3726008092u},
};

std::size_t DistinctColours(const Image& image)
{
    std::set<uint32_t> colours;
    for (std::size_t i = 0; i < image.rgba.size(); i += 4)
        colours.insert(uint32_t(image.rgba[i]) << 16 | uint32_t(image.rgba[i + 1]) << 8 | image.rgba[i + 2]);
    return colours.size();
}

} // namespace

TEST(DemoArt, PicturesAreDrawnTheSameEveryTimeAtTheirSizes)
{
    const auto& pictures = DemoPictures();
    ASSERT_EQ(std::size(Pictures), pictures.size());
    std::set<std::pair<int, int>> shapes;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const DemoPicture& picture = pictures[i];
        const Expected& expected = Pictures[i];
        SCOPED_TRACE(std::string(expected.fileName.begin(), expected.fileName.end()));
        EXPECT_EQ(expected.fileName, picture.fileName);
        EXPECT_EQ(expected.format, picture.format);
        ASSERT_EQ(expected.width, picture.width);
        ASSERT_EQ(expected.height, picture.height);
        // Every screen keeps every slide's picture as a texture, stretched to
        // powers of two: the long side stays within 1280 so that none takes
        // more than 2048 x 1024 texels.
        EXPECT_LE(std::max(picture.width, picture.height), 1280);
        EXPECT_GE(std::min(picture.width, picture.height), 500);

        const Image first = picture.draw(picture.width, picture.height);
        const Image second = picture.draw(picture.width, picture.height);
        ASSERT_EQ(picture.width, first.width);
        ASSERT_EQ(picture.height, first.height);
        EXPECT_TRUE(first.rgba == second.rgba);
        EXPECT_EQ(expected.pixelsCrc, Crc32(first.rgba.data(), first.rgba.size()));
        // A real picture, not a flat fill: smooth gradients alone give
        // thousands of colours.
        EXPECT_GT(DistinctColours(first), 5000u);
        shapes.insert({picture.width / std::gcd(picture.width, picture.height),
                       picture.height / std::gcd(picture.width, picture.height)});
    }
    // Every picture has an aspect ratio of its own.
    EXPECT_EQ(pictures.size(), shapes.size());
}

// The files the demo document embeds are read by D3DX as JPEG or PNG at the
// pictures' sizes.
TEST(DemoArt, EncodedPicturesAreReadableAtTheirSizes)
{
    for (const DemoPicture& picture : DemoPictures()) {
        const Bytes file = EncodeDemoPicture(picture);
        D3DXIMAGE_INFO info{};
        ASSERT_EQ(D3D_OK, D3DXGetImageInfoFromFileInMemory(file.data(), static_cast<UINT>(file.size()), &info));
        EXPECT_EQ(UINT(picture.width), info.Width);
        EXPECT_EQ(UINT(picture.height), info.Height);
        EXPECT_EQ(picture.format == DemoFormat::Png ? D3DXIFF_PNG : D3DXIFF_JPG, info.ImageFileFormat);
    }
}
