// The sprite properties: their record in every version, the maximal alpha,
// the grid frames, the pictures of old records and what a copy takes.
#include "objects/particles/DS_BaseSpriteProp.h"

#include "foundation/core/SaverError.h"
#include "foundation/resources/DS_DocResManager.h"
#include "objects/particles/DS_FishConstructor.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/ParticleTestSupport.h"
#include "tools/document/ParticleRecords.h"

#include <gtest/gtest.h>

namespace {

DocumentBuilder::Bytes SpriteBytes(const SpriteContent& content)
{
    DocumentBuilder builder;
    BaseSpritePropRecord(builder, content);
    return builder.Take();
}

// Reads a sprite record into a fish (any particle system serves), checking
// that the record is read to its end.
std::unique_ptr<DS_FishConstructor> ReadSprite(const SpriteContent& content)
{
    const DocumentBuilder::Bytes bytes = SpriteBytes(content);
    ByteArchive archive(bytes);
    auto system = std::make_unique<DS_FishConstructor>();
    ReadParticleSystemBase(archive.handle, *system);
    EXPECT_EQ(bytes.size(), archive.Consumed());
    return system;
}

// Every field set away from its default.
SpriteContent Everything(int32_t version)
{
    SpriteContent c;
    c.version = version;
    c.view.version = 2;
    c.view.pixels[0] = 10;
    c.view.pixels[4] = 7;
    c.view.left = 0.125f;
    c.view.right = 0.875f;
    c.view.top = 0.25f;
    c.view.bottom = 0.5f;
    c.view.flag = true;
    c.view.speed = 70;
    c.view.name = L"snow";
    c.count = 250;
    c.speed = 30;
    c.baseSize = 24;
    c.transparency = 20;
    c.additive = 1;
    c.colour = 0x00336699;
    c.phaseSpeed = 0.5f;
    c.phaseMin = 0.25f;
    c.phaseMax = 0.75f;
    c.sizeMin = 0.5f;
    c.sizeMax = 1.5f;
    c.mainPath = L"C:\\Art\\flake.png";
    c.mainStamp = 77;
    c.secondPath = L"common_res.dll";
    c.secondStamp = 12;
    c.legacyImages = {{0, L"", {1, 2, 3}, L"C:\\Old\\a.png"}, {0, L"", {4, 5}, L"C:\\Old\\b.png"}};
    c.legacySecond = {0, L"", {}, L""};
    c.legacyDelays = {0.1f, 0.2f};
    c.reservedCount = 3;
    c.reservedValue = 2.5f;
    c.frameCount = 4;
    c.frameRate = 8.0f;
    c.frameGrid = true;
    c.imageSource = 1;
    c.verticalFlip = 1;
    c.horizontalFlip = 1;
    c.staticFlag = 1;
    return c;
}

} // namespace

// Each version holds the fields it knows; the others keep their defaults.
// The speed comes from the sprite record in versions 1 and 2 (after the view
// record's own), else from the view record.
TEST(BaseSpriteProp, RecordsOfEveryVersionReadTheirFields)
{
    struct Case {
        int32_t version;
        unsigned int speed;
        bool links;
        int32_t imageSource;
        int flips;
        int staticFlag;
    };
    const Case cases[] = {
        {1, 30, false, 0, 0, 0}, {2, 30, true, 0, 0, 0}, {3, 70, true, 0, 0, 0},
        {4, 70, true, 1, 0, 0},  {5, 70, true, 1, 1, 0}, {6, 70, true, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        const auto s = ReadSprite(Everything(c.version));

        EXPECT_EQ(L"snow", s->name);
        EXPECT_EQ(10, s->pixelRect.left.value);
        EXPECT_EQ(7, s->pixelRect.pointX.value);
        EXPECT_EQ(0.125f, s->left);
        EXPECT_EQ(0.5f, s->bottom);
        EXPECT_TRUE(s->viewFlag);
        EXPECT_EQ(c.speed, s->speed.value);
        EXPECT_EQ(250u, s->count.value);
        EXPECT_EQ(24u, s->baseSize.value);
        EXPECT_EQ(20u, s->transparency.value);
        EXPECT_EQ(204, s->MaximalAlpha());
        EXPECT_EQ(1, s->additive.value);
        EXPECT_EQ(0x00336699u, s->colour.value);
        EXPECT_EQ(0.5f, s->phaseSpeed);
        EXPECT_EQ(0.25f, s->phaseMin);
        EXPECT_EQ(0.75f, s->phaseMax);
        EXPECT_EQ(0.5f, s->sizeFactorMin);
        EXPECT_EQ(1.5f, s->sizeFactorMax);
        EXPECT_EQ(3u, s->reservedCount);
        EXPECT_EQ(2.5f, s->reservedValue);
        EXPECT_EQ(4u, s->frameCount);
        EXPECT_EQ(8.0f, s->frameRate);
        EXPECT_TRUE(s->frameGrid);
        EXPECT_EQ(c.imageSource, s->imageSource);
        EXPECT_EQ(c.flips, s->verticalFlip.value);
        EXPECT_EQ(c.flips, s->horizontalFlip.value);
        EXPECT_EQ(c.staticFlag, s->staticFlag.value);
        if (c.links) {
            EXPECT_EQ(L"C:\\Art\\flake.png", s->mainImage.value.path);
            EXPECT_EQ(77, s->mainImage.value.stamp);
            EXPECT_EQ(L"common_res.dll", s->secondImage.value.path);
            EXPECT_EQ(12, s->secondImage.value.stamp);
            EXPECT_TRUE(s->legacyImages.empty());
            EXPECT_TRUE(s->legacyDelays.empty());
        } else {
            EXPECT_TRUE(s->mainImage.value.path.empty());
            ASSERT_EQ(2u, s->legacyImages.size());
            EXPECT_EQ(L"C:\\Old\\b.png", s->legacyImages.back().path);
            EXPECT_EQ(2, s->legacyImages.back().Size());
            EXPECT_EQ((std::vector<float>{0.1f, 0.2f}), s->legacyDelays);
        }
    }

    // A view record of version 1 carries no speed, and a sprite record of
    // version 3 none either: the default stays.
    SpriteContent oldView = Everything(3);
    oldView.view.version = 1;
    EXPECT_EQ(50u, ReadSprite(oldView)->speed.value);
}

// Only versions 1 to 6 are known: a record of any other version cannot be
// read past, and the document fails to load.
TEST(BaseSpriteProp, RecordsOfUnknownVersionsFailTheLoad)
{
    for (int32_t version : {0, -1, 7, 100}) {
        SCOPED_TRACE(version);
        const DocumentBuilder::Bytes bytes = SpriteBytes(Everything(version));
        ByteArchive archive(bytes);
        DS_FishConstructor system;
        EXPECT_THROW(ReadParticleSystemBase(archive.handle, system), MediaLoadError);
    }
}

// Transparency 0 to 100 percent gives the maximal alpha 255 down to 0;
// beyond 100 the same arithmetic goes on.
TEST(BaseSpriteProp, TransparencyGivesTheMaximalAlpha)
{
    const std::pair<unsigned int, int> cases[] = {{0, 255}, {50, 127}, {100, 0}, {101, 254}, {20, 204}};
    for (const auto& [transparency, alpha] : cases) {
        DS_FishConstructor system;
        system.transparency.SetValue(transparency, nullptr);
        EXPECT_EQ(alpha, system.MaximalAlpha()) << transparency;
    }
    EXPECT_EQ(255, DS_FishConstructor().MaximalAlpha());
}

TEST(BaseSpriteProp, GridFramesCountRound)
{
    DS_FishConstructor system;
    system.frameCount = 4;
    unsigned int index = 0;
    std::vector<unsigned int> seen;
    for (int i = 0; i < 5; ++i)
        seen.push_back(index = system.NextFrameIndex(index));
    EXPECT_EQ((std::vector<unsigned int>{1, 2, 3, 0, 1}), seen);

    // Without frames there is nothing to count: the grid stays on frame 0.
    system.frameCount = 0;
    EXPECT_EQ(0u, system.NextFrameIndex(3));
    EXPECT_EQ(1u, system.GridFrameCount());
}

// A version-1 system's pictures become links in the current document once:
// the first image record names the main link, and a second image that is a
// module resource names the second link. A system with links keeps them.
TEST(BaseSpriteProp, OldPicturesBecomeLinksOnce)
{
    DS_DocResManager manager;
    CurrentResManager = &manager;

    SpriteContent old = Everything(1);
    old.legacySecond = {0, L"", {}, L""};
    auto plain = ReadSprite(old);
    plain->ResolveLegacyImages();
    EXPECT_EQ(L"C:\\Old\\a.png", plain->mainImage.value.path);
    EXPECT_TRUE(plain->secondImage.value.path.empty());
    EXPECT_TRUE(plain->legacyImages.empty());
    EXPECT_TRUE(plain->legacyDelays.empty());
    const TextureSet& frames = manager.Table().textureSets[plain->mainImage.value];
    EXPECT_EQ(2u, frames.textures.size());
    EXPECT_EQ((std::vector<float>{0.1f, 0.2f}), frames.delays);

    const FileKey resolved = plain->mainImage.value;
    plain->ResolveLegacyImages();
    EXPECT_EQ(resolved, plain->mainImage.value);

    old.legacySecond = {9, L"common_res.dll", {}, L""};
    auto withSecond = ReadSprite(old);
    withSecond->ResolveLegacyImages();
    EXPECT_EQ((FileKey{L"common_res.dll", 9}), withSecond->secondImage.value);

    auto linked = ReadSprite(Everything(2));
    linked->ResolveLegacyImages();
    EXPECT_EQ((FileKey{L"C:\\Art\\flake.png", 77}), linked->mainImage.value);
    EXPECT_EQ((FileKey{L"common_res.dll", 12}), linked->secondImage.value);

    CurrentResManager = nullptr;
}

// A copy takes every value, the maximal alpha following its transparency.
TEST(BaseSpriteProp, ACopyTakesEveryValue)
{
    const auto read = ReadSprite(Everything(1));
    read->mainImage.value = FileKey{L"C:\\Art\\leaf.png", 5};
    const DS_FishConstructor copy(*read);

    EXPECT_EQ(250u, copy.count.value);
    EXPECT_EQ(204, copy.MaximalAlpha());
    EXPECT_EQ(0x00336699u, copy.colour.value);
    EXPECT_EQ(1.5f, copy.sizeFactorMax);
    EXPECT_EQ(read->mainImage.value, copy.mainImage.value);
    EXPECT_EQ(2u, copy.legacyImages.size());
    EXPECT_EQ(3, copy.legacyImages.front().Size());
    EXPECT_EQ(read->legacyDelays, copy.legacyDelays);
    EXPECT_TRUE(copy.frameGrid);
    EXPECT_EQ(8.0f, copy.frameRate);
}
