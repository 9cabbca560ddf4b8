#include "tools/document/Light2DRecord.h"
#include "tools/document/SlideshowRecords.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

// The expected bytes are spelt out here from the record layouts, apart from
// the short helpers below, so that the emitters are checked against the
// layouts rather than against themselves.
namespace {

using Bytes = DocumentBuilder::Bytes;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// An ASCII text in the archive's string form: marker, one length byte, then
// UTF-16LE units.
Bytes Text(const std::string& text)
{
    Bytes out{0xFF, 0xFE, 0xFF, static_cast<uint8_t>(text.size())};
    for (char c : text)
        out.insert(out.end(), {static_cast<uint8_t>(c), 0x00});
    return out;
}

const Bytes Zero{0, 0, 0, 0};
const Bytes One{1, 0, 0, 0};
const Bytes Two{2, 0, 0, 0};

} // namespace

TEST(Light2DRecord, EachVersionAddsItsField)
{
    const Bytes link = Text("a.png") + Bytes{7, 0, 0, 0, 0, 0, 0, 0};
    const Bytes camera = Text("DSM_Camera") + One + One + Bytes{150, 0, 0, 0} + Bytes{40, 0, 0, 0};
    struct Case {
        int32_t version;
        Bytes expected;
    };
    for (const Case& c : {Case{1, Text("DS_2D_Light") + One},
                          Case{2, Text("DS_2D_Light") + Two + link},
                          Case{3, Text("DS_2D_Light") + Bytes{3, 0, 0, 0} + link + camera}}) {
        LightContent layer;
        layer.version = c.version;
        layer.picturePath = L"a.png";
        layer.pictureStamp = 7;
        layer.cameraEnabled = 1;
        layer.cameraZoom = 150;
        layer.cameraSpeed = 40;
        EXPECT_EQ(c.expected, Light2DRecordBytes(layer)) << "version " << c.version;
    }
}

// A new layer shows module "common_res.dll" resource 5 with a disabled
// camera at zoom 120 and speed 50.
TEST(Light2DRecord, DefaultsAreTheProgramsNewLayer)
{
    const Bytes expected = Text("DS_2D_Light") + Bytes{3, 0, 0, 0} + Text("common_res.dll") +
                           Bytes{5, 0, 0, 0, 0, 0, 0, 0} + Text("DSM_Camera") + One + Zero + Bytes{120, 0, 0, 0} +
                           Bytes{50, 0, 0, 0};
    EXPECT_EQ(expected, Light2DRecordBytes());
}

TEST(SlideshowRecords, SlideHoldsTimesNameLayerAndBothGroups)
{
    SlideContent slide;
    slide.fadeIn = 2;
    slide.fadeOut = 3;
    slide.display = 0x107;
    slide.tag = -1;
    slide.name = L"S";
    slide.layer = {0xAB};
    slide.visualObjects = {{0xC1}, {0xC2, 0xC3}};
    slide.soundObjects = {{0xD1}};
    const Bytes head = Text("DS_SlideContainer");
    const Bytes body = Two + Bytes{3, 0, 0, 0} + Bytes{7, 1, 0, 0} + Bytes{0xFF, 0xFF, 0xFF, 0xFF} + Text("S") +
                       Bytes{0xAB} + Two + Bytes{0xC1, 0xC2, 0xC3};

    DocumentBuilder two;
    SlideContainerRecord(two, slide);
    EXPECT_EQ(head + Two + body + One + Bytes{0xD1}, two.Data());

    // Version 1 ends after the first group and has no room for sounds.
    slide.version = 1;
    DocumentBuilder one;
    EXPECT_THROW(SlideContainerRecord(one, slide), std::invalid_argument);
    slide.soundObjects.clear();
    DocumentBuilder oneWithoutSounds;
    SlideContainerRecord(oneWithoutSounds, slide);
    EXPECT_EQ(head + One + body, oneWithoutSounds.Data());
}

TEST(SlideshowRecords, DefaultSlideIsTheProgramsNewSlide)
{
    DocumentBuilder b;
    SlideContainerRecord(b, SlideContent{});
    const Bytes expected = Text("DS_SlideContainer") + Two + One + One + Bytes{10, 0, 0, 0} + Zero + Text("") +
                           Light2DRecordBytes() + Zero + Zero;
    EXPECT_EQ(expected, b.Data());
}

TEST(SlideshowRecords, AudioFileEmbedsNameBytesAndPath)
{
    DocumentBuilder b;
    AudioFileRecord(b, {L"M", {9, 8, 7}, L"C:\\m.wav"});
    const Bytes expected = Text("DS_AudioFile") + One + Text("M") + Bytes{3, 0, 0, 0, 9, 8, 7} + Text("C:\\m.wav");
    EXPECT_EQ(expected, b.Data());
}

// The document opens with its version string, then the root with its counted
// slides and audio files.
TEST(SlideshowRecords, DocumentHeadIsVersionStringThenRoot)
{
    SlideShowContent show;
    show.slides.resize(2);
    show.slides[1].name = L"B";
    show.audioFiles.push_back({L"", {}, L"x"});

    DocumentBuilder slides;
    SlideContainerRecord(slides, show.slides[0]);
    SlideContainerRecord(slides, show.slides[1]);
    const Bytes expected = Text("OVN v 4.0.0") + Text("DS_SlideShow_Light") + One + Two + slides.Data() + One +
                           Text("DS_AudioFile") + One + Text("") + Zero + Text("x");

    DocumentBuilder b;
    DocumentVersionString(b);
    SlideShowRecord(b, show);
    EXPECT_EQ(expected, b.Data());

    DocumentBuilder empty;
    SlideShowRecord(empty, {});
    EXPECT_EQ(Text("DS_SlideShow_Light") + One + Zero + Zero, empty.Data());
}
