#include "tools/demodoc/WaterLayerSlides.h"

#include "tools/demodoc/DemoDocument.h"

#include "tools/assets/WaterArt.h"
#include "tools/document/LakeRecord.h"
#include "tools/document/WaterRingRecord.h"

namespace {

// The lake's key has no texture in the document: the program builds the
// ripples from its own noise picture, the same on every system.
constexpr uint32_t LakeBumpSerial = 0x0200;

SlideContent MountainLakeSlide(DemoContent& demo)
{
    const DemoPicture& picture = WaterPictures()[0];
    LakeContent lake;
    // A slow drift towards the mountains; the lake follows the picture.
    lake.light = PictureLayer(demo.AddPicture(picture.fileName, EncodeDemoPicture(picture)), true, 112, 30);
    // The default depth puts the horizon on the picture's waterline.
    lake.lakeFraction = 25;
    // Dusk-blue water rather than the default green, and a reflection of
    // 1024 pixels a side, sharp on large screens.
    lake.tintColor = 0x502010;
    lake.reflectionSizeExponent = 3;
    lake.bumpKey = DemoGuid(LakeBumpSerial);

    return LayerSlide(L"Mountain lake", 14, LakeRecordBytes(lake));
}

SlideContent LilyPondSlide(DemoContent& demo)
{
    const DemoPicture& picture = WaterPictures()[1];
    WaterRingContent rings;
    rings.light = PictureLayer(demo.AddPicture(picture.fileName, EncodeDemoPicture(picture)));
    // A shower: two and a half drops a second, heavier than the default and seen
    // through deeper water, so each ring bends the pebbles and pads.
    rings.dropRate = 150;
    rings.dropStrength = 180;
    rings.refractionDepth = 60;

    return LayerSlide(L"Rain on the lily pond", 14, WaterRingRecordBytes(rings));
}

} // namespace

void AddWaterLayerSlides(DemoContent& demo)
{
    demo.show.slides.push_back(MountainLakeSlide(demo));
    demo.show.slides.push_back(LilyPondSlide(demo));
}
