#include "tools/demodoc/WaterSlides.h"

#include "tools/demodoc/DemoDocument.h"

#include "tools/encoders/JpegWriter.h"
#include "tools/assets/WaterBrushArt.h"
#include "tools/document/WaterBrushRecords.h"
#include "res/resource.h"

namespace {

constexpr int JpegQuality = 92;

// "common_res.dll" numbers of what the water effects use.
constexpr int32_t LightEffect = IDR_EFFECT_LIGHT;
constexpr int32_t WavesEffect = IDR_EFFECT_WAVES;
constexpr int32_t UnderwaterEffect = IDR_EFFECT_UNDERWATER;
constexpr int32_t RippleBumpMap = 89;
constexpr int32_t WaterEffect = IDR_EFFECT_WATER;

constexpr int PictureWidth = 1280;
constexpr int PictureHeight = 800;

// The masks' GUID serials.
constexpr uint32_t FirstWaterMask = 0x0E00;

void AddWaterResources(DemoContent& demo)
{
    demo.AddModulePicture(RippleBumpMap, EncodePng(DrawRippleBump(256), false));
    demo.AddModuleEffect(WaterEffect, "water");
    demo.AddModuleEffect(WavesEffect, "waves");
    demo.AddModuleEffect(LightEffect, "light");
    demo.AddModuleEffect(UnderwaterEffect, "underwater");
}

// The slide's picture, drawn here, in the document as a JPEG.
std::wstring AddJpeg(DemoContent& demo, const wchar_t* fileName, const Image& picture)
{
    return demo.AddPicture(fileName, EncodeJpeg(picture, JpegQuality));
}

SlideContent MoonlitLakeSlide(DemoContent& demo)
{
    SlideContent slide = LayerSlide(L"Moonlit lake", 12,
                                    Light2DRecordBytes(PictureLayer(AddJpeg(
                                        demo, L"moonlit-lake.jpg", DrawMoonlitLake(PictureWidth, PictureHeight)))));

    // The water reads the scene drawn before it, so it also ripples the
    // waves on the moon's path, which are drawn first (objects go from the
    // last to the first).
    WaterContent water;
    water.shape = 100;
    water.ripple = 6;
    water.drift = 12;
    water.wave = 26;
    water.angle = 80;
    water.base.speed = 73;
    water.base.scale = 41;
    water.base.backgroundFlag = 1;
    water.base.mask = demo.AddMask(FirstWaterMask, DrawLakeWaterMask(PictureWidth, PictureHeight));
    water.base.name = L"Lake";
    slide.visualObjects.push_back(WaterRecordBytes(water));

    WavesContent waves;
    waves.amplitude = 6;
    waves.wavelength = 10;
    waves.angle = 270;
    waves.base.speed = 60;
    waves.base.mask = demo.AddMask(FirstWaterMask + 1, DrawMoonPathMask(PictureWidth, PictureHeight));
    waves.base.name = L"Moon path";
    slide.visualObjects.push_back(WavesRecordBytes(waves));
    return slide;
}

SlideContent HarbourLightsSlide(DemoContent& demo)
{
    SlideContent slide = LayerSlide(L"Harbour lights", 12,
                                    Light2DRecordBytes(PictureLayer(AddJpeg(
                                        demo, L"harbour-lights.jpg", DrawHarbourLights(PictureWidth, PictureHeight)))));
    const struct {
        HarbourLight light;
        const wchar_t* name;
        int32_t mode;
        uint32_t strength;
        uint32_t speed;
    } lights[] = {
        // The beacon flashes every few seconds; firelight flickers in the
        // cottage; the lantern breathes slowly.
        {HarbourLight::Lighthouse, L"Beacon", 1, 70, 12},
        {HarbourLight::Windows, L"Firelight", 2, 60, 20},
        {HarbourLight::Lantern, L"Lantern", 0, 50, 15},
    };
    uint32_t serial = FirstWaterMask + 2;
    for (const auto& l : lights) {
        LightBrushContent brush;
        brush.mode = l.mode;
        brush.strength = l.strength;
        brush.base.speed = l.speed;
        brush.base.mask = demo.AddMask(serial++, DrawHarbourLightMask(l.light, PictureWidth, PictureHeight));
        brush.base.name = l.name;
        slide.visualObjects.push_back(LightBrushRecordBytes(brush));
    }

    // A slow swell in the harbour, pushing the picture along its way.
    WavesContent swell;
    swell.amplitude = 8;
    swell.wavelength = 30;
    swell.angle = 270;
    swell.normalMode = 1;
    swell.base.speed = 40;
    swell.base.mask = demo.AddMask(serial, DrawHarbourWaterMask(PictureWidth, PictureHeight));
    swell.base.name = L"Swell";
    slide.visualObjects.push_back(WavesRecordBytes(swell));
    return slide;
}

SlideContent SunlitReefSlide(DemoContent& demo)
{
    UnderwaterLayerContent layer;
    layer.base =
        PictureLayer(AddJpeg(demo, L"sunlit-reef.jpg", DrawSunlitReef(PictureWidth, PictureHeight)), true, 115, 30);
    return LayerSlide(L"Sunlit reef", 12, UnderwaterLayerRecordBytes(layer));
}

} // namespace

void AddWaterSlides(DemoContent& demo)
{
    AddWaterResources(demo);
    demo.show.slides.push_back(MoonlitLakeSlide(demo));
    demo.show.slides.push_back(HarbourLightsSlide(demo));
    demo.show.slides.push_back(SunlitReefSlide(demo));
}
