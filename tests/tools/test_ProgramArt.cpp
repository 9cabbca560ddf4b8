#include "tools/assets/ProgramArt.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

Bytes ReadSourceFile(const std::string& relative)
{
    std::ifstream in(std::string(NIGHTGLASS_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

// The pictures in res/ are exactly what the generator makes; after changing
// the generator, run assetgen on res/ and commit the result.
TEST(ProgramArt, CommittedPicturesMatchTheGenerator)
{
    EXPECT_EQ(MakeIconFile(), ReadSourceFile("res/nightglass.ico"));
    EXPECT_EQ(MakeSplashFile(), ReadSourceFile("res/splash.png"));
    EXPECT_EQ(MakeNoiseFile(), ReadSourceFile("res/noise.png"));
}

TEST(ProgramArt, PngHasItsSignatureSizeAndChecksums)
{
    Image img(3, 2);
    img.Pixel(2, 1)[0] = 200;
    const Bytes png = EncodePng(img, true);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(0x89, png[0]);
    EXPECT_EQ('I', png[12]);
    EXPECT_EQ(3, png[19]);
    EXPECT_EQ(2, png[23]);
    // The header chunk's CRC covers its type and body.
    const uint32_t crc = Crc32(png.data() + 12, 17);
    EXPECT_EQ(crc, (uint32_t(png[29]) << 24 | uint32_t(png[30]) << 16 | uint32_t(png[31]) << 8 | png[32]));
}

TEST(ProgramArt, ZlibStreamEndsWithTheAdlerChecksum)
{
    const Bytes data{'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c'};
    const Bytes z = ZlibCompress(data);
    ASSERT_GE(z.size(), 6u);
    // Adler-32 of "abcabcabc": a = 1 + sum, b = sum of running a.
    uint32_t a = 1, b = 0;
    for (uint8_t c : data) {
        a += c;
        b += a;
    }
    const uint32_t tail = uint32_t(z[z.size() - 4]) << 24 | uint32_t(z[z.size() - 3]) << 16 |
                          uint32_t(z[z.size() - 2]) << 8 | z[z.size() - 1];
    EXPECT_EQ((b % 65521) << 16 | (a % 65521), tail);
}

#include "tests/support/TestDevice.h"

#include <d3dx9.h>

// D3DX decodes the generated PNG into the pixels that were drawn.
TEST(ProgramArt, GeneratedPngDecodesToTheDrawnPixels)
{
    TestDevice dev;
    ASSERT_TRUE(dev.Ok());
    const Image noise = DrawNoise(64);
    const Bytes png = EncodePng(noise, false);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileInMemoryEx(dev.Device(), png.data(), static_cast<UINT>(png.size()),
                                                          D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1, 0,
                                                          D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_FILTER_NONE,
                                                          D3DX_FILTER_NONE, 0, nullptr, nullptr, &texture));
    const Pixels decoded = dev.ReadTexture(texture);
    texture->Release();
    ASSERT_EQ(64, decoded.Width());
    for (int y = 0; y < 64; y += 7)
        for (int x = 0; x < 64; x += 5) {
            const uint8_t* p = noise.Pixel(x, y);
            ASSERT_TRUE(ColourNear(decoded.At(x, y), Rgba{p[0], p[1], p[2], 255}, 0)) << x << "," << y;
        }
}
