// The pattern brush: its two records, the tiling it hands the pattern effect,
// the frames of an animated pattern as a document embeds them, and the
// pattern drawn through the mask and its own alpha.
#include "tests/scene/brushes/PictureBrushTest.h"

#include "scene/brushes/DS_BrushObj.h"
#include "scene/brushes/DS_PatternBrush.h"
#include "tests/support/RecordReading.h"
#include "tools/document/PatternBrushRecords.h"
#include "tools/document/ResourceTableRecord.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

const FileKey PatternKey{L"pattern.png", 5};
const D3DCOLOR Grey = 0xFF404040;
const Rgba Red{255, 0, 0, 255};
const Rgba Blue{0, 0, 255, 255};

// w × h with the left half red and the right half blue (alpha as given).
Image HalvesImage(int w, int h, uint8_t rightAlpha = 255)
{
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = image.Pixel(x, y);
            const bool left = x < w / 2;
            p[0] = left ? 255 : 0;
            p[2] = left ? 0 : 255;
            p[3] = left ? 255 : rightAlpha;
        }
    return image;
}

Image SolidImage(uint8_t r, uint8_t g, uint8_t b)
{
    Image image(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = 255;
        }
    return image;
}

class PatternTest : public PictureBrushTest {
protected:
    // The pattern picture under a disk link of the document.
    void AddPattern(const Image& image, UINT width, UINT height)
    {
        patternTexture = TextureOf(Device(), image);
        AddPicture(manager, PatternKey, patternTexture.Get(), width, height);
    }

    // The document's resource table holding, under ("common_res.dll",
    // number), an image list of the frames and delays, as a document embeds
    // a module's animated pattern.
    void ReadImageList(int32_t number, const std::vector<Image>& pictures, const std::vector<float>& delays)
    {
        TableRecordsEntry entry{L"common_res.dll", number, {}};
        for (std::size_t i = 0; i < pictures.size(); ++i)
            entry.records.push_back(
                TableResourceRecord{0, L"", EncodePng(pictures[i], true), L"frame" + std::to_wstring(i) + L".png"});
        ResourceTableContent table;
        table.images.push_back(entry);
        table.delays.push_back(TableDelaysEntry{L"common_res.dll", number, delays});
        DocumentBuilder builder;
        ResourceTableRecord(builder, table);
        ReadRecordInto(builder.Take(), manager);
    }

    ComHolder<IDirect3DTexture9> patternTexture;
};

PatternBrushContent SampleContent()
{
    PatternBrushContent content;
    content.patternPath = L"common_res.dll";
    content.patternStamp = 4100;
    content.verticalMirror = 1;
    content.rotation = static_cast<uint32_t>(-30);
    content.zoom = 250;
    content.offsetX = 50;
    content.offsetY = 25;
    content.base.speed = 75;
    content.base.name = L"Banner";
    return content;
}

void ExpectSampleFields(const DS_PatternBrush& brush)
{
    EXPECT_EQ(L"common_res.dll", brush.patternLink.value.path);
    EXPECT_EQ(4100, brush.patternLink.value.stamp);
    EXPECT_EQ(1, brush.verticalMirror.value);
    EXPECT_EQ(0, brush.horizontalMirror.value);
    EXPECT_EQ(-30, static_cast<int32_t>(brush.rotation.value));
    EXPECT_FLOAT_EQ(2.5f, brush.zoom.result);
    EXPECT_FLOAT_EQ(-0.5f, brush.offsetX.result);
    EXPECT_FLOAT_EQ(0.25f, brush.offsetY.result);
    EXPECT_FLOAT_EQ(1.5f, brush.speed.result);
    EXPECT_EQ(78, brush.effectLink.value.stamp);
    EXPECT_EQ(L"Banner", brush.name);
}

} // namespace

// Both records read to the same brush and are written back as they were
// read; the wrapper's copy, the one a slide draws, is a plain pattern brush.
TEST(PatternRecord, BothRecordsReadTheSameBrush)
{
    const DocumentBuilder::Bytes plainBytes = PatternBrushRecordBytes(SampleContent());
    DS_PatternBrush plain;
    EXPECT_EQ(0u, ReadRecordInto(plainBytes, plain));
    ExpectSampleFields(plain);
    WritingHandle plainOut;
    plain.Write(plainOut.handle);
    EXPECT_TRUE(plainBytes == plainOut.archive->Bytes());

    const DocumentBuilder::Bytes wrappedBytes = PatternBrushCRecordBytes(SampleContent());
    DS_PatternBrushC wrapped;
    EXPECT_EQ(0u, ReadRecordInto(wrappedBytes, wrapped));
    ExpectSampleFields(wrapped);
    WritingHandle wrappedOut;
    wrapped.Write(wrappedOut.handle);
    EXPECT_TRUE(wrappedBytes == wrappedOut.archive->Bytes());
    const std::unique_ptr<DS_FX_Constructor> copy(wrapped.Clone());
    EXPECT_EQ(typeid(DS_PatternBrush), typeid(*copy));
    ExpectSampleFields(static_cast<const DS_PatternBrush&>(*copy));
}

// The tiling of a 256 × 128 pattern over an 800 × 600 picture: tiles across
// and down, turned (the angle signed), negated when mirrored; a zoom of 0
// tiles at the smallest zoom instead of handing the effect infinities.
TEST_F(PatternTest, TilingFollowsZoomRotationAndMirrors)
{
    ShowPicture(SolidTexture(Device(), Grey).Get(), 800, 600);
    AddPattern(HalvesImage(8, 4), 256, 128);
    struct Case {
        uint32_t rotation;
        int mirrors;
        unsigned zoom, offsetX, offsetY;
        float transform[4];
        float offset[2];
    };
    const Case cases[] = {
        {0, 0, 100, 0, 0, {3.125f, 0, 0, 4.6875f}, {0, 0}},
        {90, 1, 100, 0, 0, {0, -3.125f, 4.6875f, 0}, {0, 0}},
        {static_cast<uint32_t>(-90), 0, 100, 0, 0, {0, -3.125f, 4.6875f, 0}, {0, 0}},
        {0, 0, 200, 50, 50, {1.5625f, 0, 0, 2.34375f}, {-0.5f, 0.5f}},
        {0, 0, 0, 0, 0, {312.5f, 0, 0, 468.75f}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "rotation " << static_cast<int32_t>(c.rotation) << " zoom " << c.zoom);
        DS_PatternBrush brush;
        brush.patternLink.value = PatternKey;
        brush.rotation.value = c.rotation;
        brush.horizontalMirror.value = c.mirrors;
        brush.verticalMirror.value = c.mirrors;
        brush.zoom.SetValue(c.zoom, nullptr);
        brush.offsetX.SetValue(c.offsetX, nullptr);
        brush.offsetY.SetValue(c.offsetY, nullptr);
        brush.BindResources(nullptr);
        ASSERT_TRUE(brush.effect);
        Device()->BeginScene();
        brush.Apply(layer);
        Device()->EndScene();
        EXPECT_EQ((std::vector<float>{2, 1}), EffectFloats(brush.effect.Get(), "scale", 2));
        const std::vector<float> transform = EffectFloats(brush.effect.Get(), "coord_transf", 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(c.transform[i], transform[i], 1e-5f * std::max(1.0f, std::fabs(c.transform[i]))) << i;
        EXPECT_EQ((std::vector<float>{c.offset[0], c.offset[1]}), EffectFloats(brush.effect.Get(), "offset", 2));
    }
}

// A 64 × 32 pattern, red left and blue right, over a 64 × 64 picture at zoom
// 1 lies one tile across and two down. Mirroring it, shifting it by half a
// tile or turning it a quarter (square pixels kept) moves the halves.
TEST_F(PatternTest, PatternTilesTurnsAndMirrorsOnScreen)
{
    ShowPicture(SolidTexture(Device(), Grey).Get());
    AddPattern(HalvesImage(64, 32), 64, 32);
    struct Case {
        const char* name;
        uint32_t rotation;
        int horizontalMirror;
        unsigned offsetX;
        Rgba topLeft, topRight, bottomLeft;
    };
    for (const Case& c : {Case{"plain", 0, 0, 0, Red, Blue, Red}, Case{"mirrored", 0, 1, 0, Blue, Red, Blue},
                          Case{"half a tile over", 0, 0, 50, Blue, Red, Blue},
                          Case{"quarter turn", 90, 0, 0, Blue, Blue, Red}}) {
        SCOPED_TRACE(c.name);
        DS_PatternBrush brush;
        brush.patternLink.value = PatternKey;
        brush.rotation.value = c.rotation;
        brush.horizontalMirror.value = c.horizontalMirror;
        brush.offsetX.SetValue(c.offsetX, nullptr);
        const Pixels pixels = DrawBrush(brush);
        EXPECT_TRUE(ColourNear(pixels.At(16, 16), c.topLeft, 8));
        EXPECT_TRUE(ColourNear(pixels.At(48, 16), c.topRight, 8));
        EXPECT_TRUE(ColourNear(pixels.At(16, 48), c.bottomLeft, 8));
    }
}

// The pattern shows where the mask and its own alpha both allow, with either
// technique; elsewhere the picture stays exactly.
TEST_F(PatternTest, PatternShowsOnlyThroughMaskAndItsAlpha)
{
    ShowPicture(SolidTexture(Device(), Grey).Get());
    AddPattern(HalvesImage(64, 32, 0), 64, 32);
    const Rgba grey = Rgba::FromArgb(Grey);
    for (int flag : {0, 1}) {
        SCOPED_TRACE(flag);
        DS_PatternBrush brush;
        brush.patternLink.value = PatternKey;
        brush.backgroundFlag.value = flag;
        MaskRows(brush, 0, 32);
        const Pixels pixels = DrawBrush(brush);
        EXPECT_TRUE(pixels.AllNear(2, 2, 28, 30, Red, 2));
        EXPECT_TRUE(pixels.AllNear(36, 2, 62, 30, grey, 2)) << "the pattern's clear half";
        EXPECT_TRUE(pixels.AllNear(0, 34, 64, 64, grey, 0)) << "outside the mask";
    }
}

// Without a pattern (an empty link, or a module's list that neither the
// module nor the document holds) or without a picture nothing is set or
// drawn.
TEST_F(PatternTest, NothingIsDrawnWithoutPatternOrPicture)
{
    ShowPicture(SolidTexture(Device(), Grey).Get());
    const float untouched[4] = {7, 7, 7, 7};
    for (const FileKey& link : {FileKey{}, FileKey{L"common_res.dll", 4199}}) {
        DS_PatternBrush brush;
        brush.patternLink.value = link;
        const CountedPtr<DS_ABObj> object = Object(brush);
        DS_FX_Constructor* drawn = static_cast<DS_BrushObj*>(object.Get())->Brush();
        ASSERT_TRUE(drawn->effect);
        drawn->effect->SetFloatArray("coord_transf", untouched, 4);
        EXPECT_TRUE(DrawSlideFrame(device, layer, {object}).AllNear(0, 0, 64, 64, Rgba::FromArgb(Grey), 0));
        EXPECT_EQ((std::vector<float>{7, 7, 7, 7}), EffectFloats(drawn->effect.Get(), "coord_transf", 4));
    }

    // A picture without a size, and patterns of height or width 0: nothing
    // to divide by, so the effect keeps what it had.
    const struct {
        UINT pictureSide, patternWidth, patternHeight;
    } zeroSized[] = {{0, 8, 4}, {Side, 8, 0}, {Side, 0, 4}};
    for (const auto& c : zeroSized) {
        SCOPED_TRACE(testing::Message() << c.pictureSide << " " << c.patternWidth << "x" << c.patternHeight);
        AddPattern(HalvesImage(8, 4), c.patternWidth, c.patternHeight);
        ShowPicture(SolidTexture(Device(), Grey).Get(), c.pictureSide, c.pictureSide);
        DS_PatternBrush brush;
        brush.patternLink.value = PatternKey;
        brush.BindResources(nullptr);
        ASSERT_TRUE(brush.effect);
        brush.effect->SetFloatArray("coord_transf", untouched, 4);
        brush.Apply(layer);
        EXPECT_EQ((std::vector<float>{7, 7, 7, 7}), EffectFloats(brush.effect.Get(), "coord_transf", 4));
    }
}

// A module's animated pattern as documents embed it (frames under their own
// paths, the delays beside them) plays without the module: each frame stays
// for its delay of brush time and changes at the first update after it.
TEST_F(PatternTest, EmbeddedImageListAnimatesWithoutItsModule)
{
    ShowPicture(SolidTexture(Device(), Grey).Get());
    ReadImageList(4100, {SolidImage(255, 0, 0), SolidImage(0, 255, 0), SolidImage(0, 0, 255)}, {0.1f, 0.1f, 0.1f});
    DS_PatternBrush pattern;
    pattern.patternLink.value = FileKey{L"common_res.dll", 4100};
    const CountedPtr<DS_ABObj> object = Object(pattern);
    auto* brush = static_cast<DS_PatternBrush*>(static_cast<DS_BrushObj*>(object.Get())->Brush());
    ASSERT_EQ(3u, brush->frames.textures.size());

    // Updates every 0.04 s: a frame ends at the third update after it began.
    std::vector<uint32_t> shown;
    for (int i = 1; i <= 12; ++i) {
        object->Update(0.04f * static_cast<float>(i));
        shown.push_back(brush->frameIndex);
    }
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 1, 1, 1, 2, 2, 2, 0, 0, 0, 1}), shown);
    EXPECT_TRUE(ColourNear(DrawSlideFrame(device, layer, {object}).At(32, 32), {0, 255, 0, 255}, 2));
}

// An image list with more delays than pictures steps through the pictures it
// has and never past them.
TEST_F(PatternTest, MoreDelaysThanPicturesNeverReadsPastThem)
{
    ShowPicture(SolidTexture(Device(), Grey).Get());
    ReadImageList(4101, {SolidImage(255, 0, 0), SolidImage(0, 255, 0)}, {0.1f, 0.1f, 0.1f, 0.1f});
    DS_PatternBrush pattern;
    pattern.patternLink.value = FileKey{L"common_res.dll", 4101};
    const CountedPtr<DS_ABObj> object = Object(pattern);
    auto* brush = static_cast<DS_PatternBrush*>(static_cast<DS_BrushObj*>(object.Get())->Brush());
    ASSERT_EQ(4u, brush->frames.delays.size());
    std::vector<uint32_t> shown;
    for (int i = 1; i <= 20; ++i) {
        object->Update(0.15f * static_cast<float>(i));
        shown.push_back(brush->frameIndex);
    }
    EXPECT_EQ((std::vector<uint32_t>{1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}), shown);
    EXPECT_TRUE(ColourNear(DrawSlideFrame(device, layer, {object}).At(32, 32), Red, 2));
}
