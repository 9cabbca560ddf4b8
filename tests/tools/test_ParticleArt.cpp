#include "tools/assets/ParticleArt.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// Pixel checksums of the scenes and of each sprite's frames in turn: a
// change of any pixel, on any machine or run, shows here (the same sums come
// from a native Linux build at any optimisation level). After changing the
// art on purpose, take the new checksums from the failure message.
struct Expected {
    std::wstring fileName;
    std::size_t frames;
    uint32_t pixelsCrc;
};

const Expected Scenes[] = {
    {L"winter-wood.jpg", 1, 3079079665u}, {L"rainy-street.jpg", 1, 1138168337u},
    {L"autumn-park.jpg", 1, 149088370u}, {L"coral-reef.jpg", 1, 500807301u},
    {L"evening-sky.jpg", 1, 2000152272u}, {L"haunted-hill.jpg", 1, 2458883335u},
};

const Expected Sprites[] = {
    {L"snowflake.png", 1, 2666525200u},      {L"raindrop.png", 1, 2560616253u},
    {L"bubble.png", 1, 2887743538u},        {L"leaf-crimson.png", 8, 2165186424u},
    {L"leaf-golden.png", 8, 3097911045u},  {L"fish-clown.png", 6, 3103795733u},
    {L"fish-tang.png", 6, 311788027u},     {L"bird.png", 8, 3581607207u},
    {L"ghost.png", 8, 3687995941u},
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

} // namespace

// The scenes come out the same every time and D3DX reads them as JPEG at
// their sizes.
TEST(ParticleArt, ScenesAreTheSameEveryTime)
{
    const auto& scenes = ParticleScenes();
    ASSERT_EQ(std::size(Scenes), scenes.size());
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const DemoPicture& scene = scenes[i];
        SCOPED_TRACE(Narrow(scene.fileName));
        EXPECT_EQ(Scenes[i].fileName, scene.fileName);
        const Image image = scene.draw(scene.width, scene.height);
        EXPECT_EQ(Scenes[i].pixelsCrc, Crc32(image.rgba.data(), image.rgba.size()));

        const Bytes file = EncodeDemoPicture(scene);
        D3DXIMAGE_INFO info{};
        ASSERT_EQ(D3D_OK, D3DXGetImageInfoFromFileInMemory(file.data(), static_cast<UINT>(file.size()), &info));
        EXPECT_EQ(UINT(scene.width), info.Width);
        EXPECT_EQ(UINT(scene.height), info.Height);
    }
}

// Sprites are clear at their borders, solid somewhere inside, the same
// every time; the animated ones have frames that differ and a delay.
TEST(ParticleArt, SpritesAreClearAtTheirBordersAndAnimated)
{
    const std::vector<SpriteArt> sprites = ParticleSprites();
    ASSERT_EQ(std::size(Sprites), sprites.size());
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const SpriteArt& sprite = sprites[i];
        SCOPED_TRACE(Narrow(sprite.fileName));
        EXPECT_EQ(Sprites[i].fileName, sprite.fileName);
        ASSERT_EQ(Sprites[i].frames, sprite.frames.size());
        uint32_t crc = 0;
        for (std::size_t f = 0; f < sprite.frames.size(); ++f) {
            const Image& frame = sprite.frames[f];
            crc = Crc32(frame.rgba.data(), frame.rgba.size(), crc);
            EXPECT_EQ(sprite.frames[0].width, frame.width);
            EXPECT_EQ(sprite.frames[0].height, frame.height);
            int clearBorder = 0, solid = 0;
            for (int x = 0; x < frame.width; ++x)
                clearBorder += frame.Pixel(x, 0)[3] == 0 && frame.Pixel(x, frame.height - 1)[3] == 0;
            for (std::size_t p = 3; p < frame.rgba.size(); p += 4)
                solid += frame.rgba[p] >= 200;
            EXPECT_EQ(frame.width, clearBorder) << "frame " << f;
            EXPECT_GT(solid, 0) << "frame " << f;
            if (f > 0) {
                EXPECT_NE(sprite.frames[f - 1].rgba, frame.rgba) << "frame " << f;
            }
        }
        EXPECT_EQ(Sprites[i].pixelsCrc, crc);
        EXPECT_EQ(sprite.frames.size() > 1, sprite.delay > 0.0f);
    }
}

// A frame grid's picture: the frames side by side, left to right.
TEST(ParticleArt, FrameStripsLayFramesSideBySide)
{
    std::vector<Image> frames(3, Image(2, 2));
    for (std::size_t f = 0; f < frames.size(); ++f)
        for (uint8_t& byte : frames[f].rgba)
            byte = static_cast<uint8_t>(10 * (f + 1));
    const Image strip = FrameStrip(frames);
    ASSERT_EQ(6, strip.width);
    ASSERT_EQ(2, strip.height);
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(10 * (x / 2 + 1), strip.Pixel(x, 1)[0]) << x;
}
