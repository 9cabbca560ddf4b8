#include "tests/support/SlideshowDocuments.h"

#include "tools/encoders/ImageWriters.h"
#include "tools/document/Light2DRecord.h"
#include "tools/document/ResourceTableRecord.h"

namespace {

const int PictureSide = 16;
const int64_t FirstStamp = 7;

} // namespace

DocumentBuilder::Bytes FlatPicture(DWORD colour)
{
    Image image(PictureSide, PictureSide);
    for (int y = 0; y < PictureSide; ++y)
        for (int x = 0; x < PictureSide; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = static_cast<uint8_t>(colour >> 16);
            p[1] = static_cast<uint8_t>(colour >> 8);
            p[2] = static_cast<uint8_t>(colour);
            p[3] = 255;
        }
    return EncodePng(image, false);
}

std::wstring FlatPicturePath(std::size_t index) { return L"C:\\Tests\\flat-" + std::to_wstring(index) + L".png"; }

SlideShowContent FlatShowContent(const std::vector<FlatSlide>& slides)
{
    SlideShowContent show;
    for (std::size_t i = 0; i < slides.size(); ++i) {
        LightContent layer;
        layer.picturePath = FlatPicturePath(i);
        layer.pictureStamp = FirstStamp + static_cast<int64_t>(i);
        SlideContent slide;
        slide.version = slides[i].version;
        slide.fadeIn = slides[i].fadeIn;
        slide.display = slides[i].display;
        slide.fadeOut = slides[i].fadeOut;
        slide.name = L"Slide " + std::to_wstring(i);
        slide.layer = Light2DRecordBytes(layer);
        slide.visualObjects = slides[i].visualObjects;
        slide.soundObjects = slides[i].soundObjects;
        show.slides.push_back(slide);
    }
    return show;
}

DocumentBuilder::Bytes FlatSlideshow(const std::vector<FlatSlide>& slides,
                                     const std::vector<AudioFileContent>& audioFiles,
                                     const std::vector<TableRecordsEntry>& otherFiles)
{
    SlideShowContent show = FlatShowContent(slides);
    show.audioFiles = audioFiles;

    ResourceTableContent table;
    for (std::size_t i = 0; i < slides.size(); ++i) {
        TableResourceRecord record;
        record.content = FlatPicture(slides[i].colour);
        record.path = FlatPicturePath(i);
        table.images.push_back({FlatPicturePath(i), FirstStamp + static_cast<int64_t>(i), {record}});
    }
    table.otherFiles = otherFiles;

    DocumentBuilder builder;
    DocumentVersionString(builder);
    SlideShowRecord(builder, show);
    ResourceTableRecord(builder, table);
    return builder.Take();
}
