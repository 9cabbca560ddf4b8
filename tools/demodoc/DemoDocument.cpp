#include "tools/demodoc/DemoDocument.h"

#include "tools/assets/DemoArt.h"
#include "tools/demodoc/AmbientSlides.h"
#include "tools/demodoc/DemoContent.h"
#include "tools/demodoc/FireSlides.h"
#include "tools/demodoc/GlassAndGlyphSlides.h"
#include "tools/demodoc/LakesideSlides.h"
#include "tools/demodoc/ModelSlides.h"
#include "tools/demodoc/ParticleSlides.h"
#include "tools/demodoc/SoundSlides.h"
#include "tools/demodoc/WaterLayerSlides.h"
#include "tools/demodoc/WaterSlides.h"
#include "tools/document/Light2DRecord.h"

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
    const LightContent layer = PictureLayer(picturePath, plan.cameraEnabled != 0, plan.cameraZoom, plan.cameraSpeed);

    SlideContent slide;
    slide.fadeIn = plan.fadeIn;
    slide.display = plan.display;
    slide.fadeOut = plan.fadeOut;
    slide.name = plan.name;
    slide.layer = Light2DRecordBytes(layer);
    return slide;
}

} // namespace

std::wstring DemoPicturePath(const wchar_t* fileName) { return std::wstring(DemoPictureFolder) + fileName; }

DocumentBuilder::Bytes BuildDemoDocument(const std::string& effectsFolder)
{
    const std::vector<DemoPicture>& pictures = DemoPictures();
    if (pictures.size() != std::size(Plans))
        throw std::logic_error("every demo picture needs a slide plan");

    DemoContent demo(effectsFolder);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::wstring path = demo.AddPicture(pictures[i].fileName, EncodeDemoPicture(pictures[i]));
        demo.show.slides.push_back(MakeSlide(Plans[i], path));
    }
    AddFireSlides(demo);
    AddGlassAndGlyphSlides(demo);
    AddParticleSlides(demo);
    AddLakesideSlides(demo);
    AddWaterLayerSlides(demo);
    AddWaterSlides(demo);
    AddModelSlides(demo);
    AddAmbientSlides(demo);
    // Last: the sounds go onto slides the families above made.
    AddDemoSounds(demo);
    return demo.Document();
}
