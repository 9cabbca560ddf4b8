#include "tools/demodoc/DemoDocument.h"

#include "tools/assets/DemoArt.h"
#include "tools/demodoc/SoundSlides.h"
#include "tools/document/Light2DRecord.h"
#include "tools/document/ResourceTableRecord.h"
#include "tools/document/SlideshowRecords.h"

#include <iterator>
#include <stdexcept>
#include <vector>

const wchar_t* const DemoPictureFolder = L"C:\\Nightglass\\Pictures\\";
const int64_t DemoPictureStamp = 133485408000000000LL;

namespace {

// How each picture is shown, in the order of DemoPictures(). The whole cycle
// lasts 77 seconds.
struct SlidePlan {
    const wchar_t* name;
    uint32_t fadeIn;
    uint32_t display;
    uint32_t fadeOut;
    int32_t cameraEnabled;
    uint32_t cameraZoom;
    uint32_t cameraSpeed;
};

const SlidePlan Plans[] = {
    {L"Moonlit hills", 2, 12, 2, 1, 120, 50},
    {L"Aurora over the lake", 2, 10, 2, 0, 120, 50},
    {L"Misty forest", 3, 12, 2, 1, 130, 40},
    {L"Desert galaxy", 2, 11, 3, 0, 120, 50},
    {L"Sunset sea", 2, 10, 2, 1, 125, 60},
};

SlideContent MakeSlide(const SlidePlan& plan, const std::wstring& picturePath)
{
    LightContent layer;
    layer.picturePath = picturePath;
    layer.pictureStamp = DemoPictureStamp;
    layer.cameraEnabled = plan.cameraEnabled;
    layer.cameraZoom = plan.cameraZoom;
    layer.cameraSpeed = plan.cameraSpeed;

    SlideContent slide;
    slide.fadeIn = plan.fadeIn;
    slide.display = plan.display;
    slide.fadeOut = plan.fadeOut;
    slide.name = plan.name;
    slide.layer = Light2DRecordBytes(layer);
    return slide;
}

// A disk picture as the resource table keeps it: one record holding the
// file's bytes under its own path.
TableRecordsEntry MakePictureEntry(const std::wstring& path, DocumentBuilder::Bytes content)
{
    TableResourceRecord record;
    record.content = std::move(content);
    record.path = path;
    TableRecordsEntry entry;
    entry.path = path;
    entry.stamp = DemoPictureStamp;
    entry.records.push_back(std::move(record));
    return entry;
}

} // namespace

std::wstring DemoPicturePath(const wchar_t* fileName) { return std::wstring(DemoPictureFolder) + fileName; }

DocumentBuilder::Bytes BuildDemoDocument()
{
    const std::vector<DemoPicture>& pictures = DemoPictures();
    if (pictures.size() != std::size(Plans))
        throw std::logic_error("every demo picture needs a slide plan");

    SlideShowContent show;
    ResourceTableContent table;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::wstring path = DemoPicturePath(pictures[i].fileName);
        show.slides.push_back(MakeSlide(Plans[i], path));
        table.images.push_back(MakePictureEntry(path, EncodeDemoPicture(pictures[i])));
    }
    AddDemoSounds(show, table);

    DocumentBuilder builder;
    DocumentVersionString(builder);
    SlideShowRecord(builder, show);
    ResourceTableRecord(builder, table);
    return builder.Take();
}
