// Scene documents for the slideshow and player tests: slides that each show
// a picture of one flat colour, embedded in the document's resource table
// under a disk path, so that every frame's expected pixels are known.
#pragma once

#include "tools/document/DocumentBuilder.h"
#include "tools/document/ResourceTableRecord.h"
#include "tools/document/SlideshowRecords.h"

#include <windows.h>

#include <cstdint>
#include <vector>

struct FlatSlide {
    FlatSlide(DWORD rgb = 0, uint32_t in = 1, uint32_t shown = 10, uint32_t out = 1)
        : colour(rgb), fadeIn(in), display(shown), fadeOut(out)
    {
    }

    // 0x00RRGGBB.
    DWORD colour;
    uint32_t fadeIn;
    uint32_t display;
    uint32_t fadeOut;
    int32_t version = 2;
    std::vector<DocumentBuilder::Bytes> visualObjects;
    std::vector<DocumentBuilder::Bytes> soundObjects;
};

// The picture of slide i: a 16 × 16 PNG of the colour, under the path
// "C:\Tests\flat-<i>.png".
DocumentBuilder::Bytes FlatPicture(DWORD colour);
std::wstring FlatPicturePath(std::size_t index);

// The slideshow record alone (root and slides), and a whole document: the
// version string, that record and the resource table with the pictures and
// any other files the objects link to.
SlideShowContent FlatShowContent(const std::vector<FlatSlide>& slides);
DocumentBuilder::Bytes FlatSlideshow(const std::vector<FlatSlide>& slides,
                                     const std::vector<AudioFileContent>& audioFiles = {},
                                     const std::vector<TableRecordsEntry>& otherFiles = {});
