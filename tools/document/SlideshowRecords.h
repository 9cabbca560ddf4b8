// Emitters of the slideshow's records: the document's version string, the
// root "DS_SlideShow_Light", its slides "DS_SlideContainer" and its music
// "DS_AudioFile". A whole document is the version string, the root record
// and the resource table record (ResourceTableRecord.h), in that order.
#pragma once

#include "tools/document/DocumentBuilder.h"
#include "tools/document/Light2DRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// One slide with the program's defaults: 1 s fade-in, 1 s fade-out, 10 s on
// screen, the plain default layer and no objects.
struct SlideContent {
    // Version 1 has no second object group.
    int32_t version = 2;
    uint32_t fadeIn = 1;
    uint32_t fadeOut = 1;
    uint32_t display = 10;
    // Kept with the slide and used by nothing else.
    int32_t tag = 0;
    std::wstring name;
    // The complete record of the background layer, of any layer class.
    DocumentBuilder::Bytes layer = Light2DRecordBytes();
    // Complete object-constructor records, in document order: brushes,
    // particle systems, 3D objects and sprites first, sound objects second.
    std::vector<DocumentBuilder::Bytes> visualObjects;
    std::vector<DocumentBuilder::Bytes> soundObjects;
};

// A piece of music: its name, the file's bytes and the path the file had.
struct AudioFileContent {
    std::wstring name;
    DocumentBuilder::Bytes content;
    std::wstring path;
};

struct SlideShowContent {
    std::vector<SlideContent> slides;
    std::vector<AudioFileContent> audioFiles;
};

// The string that opens a document; the program reads it and ignores it.
DocumentBuilder& DocumentVersionString(DocumentBuilder& builder, const std::wstring& text = L"OVN v 4.0.0");

// Header "DS_SlideShow_Light" version 1, the slide count and the slide
// records, the audio count and the audio-file records.
DocumentBuilder& SlideShowRecord(DocumentBuilder& builder, const SlideShowContent& content);

// Header "DS_SlideContainer" with the version; fade-in, fade-out and display
// (uint32); the tag (int32); the name; the layer record; the first group
// (count, records); from version 2 on, the second group the same way.
// Throws std::invalid_argument for sound objects in a version 1 slide, which
// has no place for them.
DocumentBuilder& SlideContainerRecord(DocumentBuilder& builder, const SlideContent& content);

// Header "DS_AudioFile" version 1, the name, then the file as an embedded
// file (size, bytes, path).
DocumentBuilder& AudioFileRecord(DocumentBuilder& builder, const AudioFileContent& content);
