#include "tools/encoders/JpegWriter.h"

#include "tests/support/TestDevice.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

// Red across, green down, blue falling along the diagonal: every channel
// and both chroma components change over the picture.
Image Gradient(int width, int height)
{
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = static_cast<uint8_t>(255 * x / std::max(1, width - 1));
            p[1] = static_cast<uint8_t>(255 * y / std::max(1, height - 1));
            p[2] = static_cast<uint8_t>(255 - (p[0] + p[1]) / 2);
            p[3] = 255;
        }
    return image;
}

// Decodes with D3DX as the program loads pictures, at the file's own size.
Pixels Decode(TestDevice& dev, const Bytes& file, D3DXIMAGE_INFO& info)
{
    IDirect3DTexture9* texture = nullptr;
    const HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(
        dev.Device(), file.data(), static_cast<UINT>(file.size()), D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1, 0,
        D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0, &info, nullptr, &texture);
    if (FAILED(hr))
        return {};
    Pixels pixels = dev.ReadTexture(texture);
    texture->Release();
    return pixels;
}

int LargestDifference(const Image& image, const Pixels& decoded)
{
    int largest = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            largest = std::max(largest, decoded.At(x, y).ColourDistance(Rgba{p[0], p[1], p[2], 255}));
        }
    return largest;
}

} // namespace

// Sizes that are no multiple of the block size exercise the padding; the
// tolerance is what the quality and the chroma sampling allow.
TEST(JpegWriter, D3DXDecodesThePictureThatWasEncoded)
{
    TestDevice dev;
    ASSERT_TRUE(dev.Ok());
    struct Case {
        int width, height, quality;
        ChromaSampling sampling;
        int tolerance;
    };
    for (const Case c : {Case{77, 45, 95, ChromaSampling::Full, 6}, Case{77, 45, 95, ChromaSampling::Quarter, 10},
                         Case{16, 16, 100, ChromaSampling::Full, 3}, Case{1, 1, 90, ChromaSampling::Quarter, 6},
                         Case{300, 9, 75, ChromaSampling::Quarter, 24}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " q" << c.quality);
        const Image image = Gradient(c.width, c.height);
        D3DXIMAGE_INFO info{};
        const Pixels decoded = Decode(dev, EncodeJpeg(image, c.quality, c.sampling), info);
        ASSERT_FALSE(decoded.Empty());
        EXPECT_EQ(D3DXIFF_JPG, info.ImageFileFormat);
        ASSERT_EQ(UINT(c.width), info.Width);
        ASSERT_EQ(UINT(c.height), info.Height);
        EXPECT_LE(LargestDifference(image, decoded), c.tolerance);
    }
}

// Saturated colours on either side of a sharp edge keep their hue: the
// colour planes are neither swapped nor shifted.
TEST(JpegWriter, PrimaryColoursKeepTheirHue)
{
    TestDevice dev;
    ASSERT_TRUE(dev.Ok());
    Image image(48, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x) {
            uint8_t* p = image.Pixel(x, y);
            const int third = x / 16;
            p[0] = third == 0 ? 230 : 10;
            p[1] = third == 1 ? 230 : 10;
            p[2] = third == 2 ? 230 : 10;
            p[3] = 255;
        }
    D3DXIMAGE_INFO info{};
    const Pixels decoded = Decode(dev, EncodeJpeg(image, 90), info);
    ASSERT_EQ(48, decoded.Width());
    EXPECT_TRUE(ColourNear(decoded.Mean(3, 8, 13, 24), Rgba{230, 10, 10, 255}, 12));
    EXPECT_TRUE(ColourNear(decoded.Mean(19, 8, 29, 24), Rgba{10, 230, 10, 255}, 12));
    EXPECT_TRUE(ColourNear(decoded.Mean(35, 8, 45, 24), Rgba{10, 10, 230, 255}, 12));
}

TEST(JpegWriter, LowerQualityGivesASmallerFile)
{
    const Image image = Gradient(64, 64);
    EXPECT_LT(EncodeJpeg(image, 30).size(), EncodeJpeg(image, 95).size());
    // Out-of-range qualities are clamped rather than producing zero divisors.
    EXPECT_EQ(EncodeJpeg(image, 1), EncodeJpeg(image, -5));
    EXPECT_EQ(EncodeJpeg(image, 100), EncodeJpeg(image, 400));
}

TEST(JpegWriter, RejectsAPictureWithoutPixels)
{
    EXPECT_THROW(EncodeJpeg(Image()), std::invalid_argument);
    Image inconsistent(4, 4);
    inconsistent.rgba.resize(3);
    EXPECT_THROW(EncodeJpeg(inconsistent), std::invalid_argument);
}
