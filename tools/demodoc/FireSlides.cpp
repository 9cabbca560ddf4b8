#include "tools/demodoc/FireSlides.h"

#include "tools/demodoc/DemoDocument.h"

#include "tools/assets/FireArt.h"
#include "tools/encoders/JpegWriter.h"
#include "tools/document/BrushRecords.h"
#include "res/resource.h"

namespace {

constexpr int JpegQuality = 92;

// "common_res.dll" numbers of what the fire effects use.
constexpr int32_t FlamePattern = 7;
constexpr int32_t FireNoise = 8;
constexpr int32_t HeatHazeBump = 62;
constexpr int32_t BrushFlamePattern = 93;
constexpr int32_t HeatHazeEffect = IDR_EFFECT_HEATHAZE;
constexpr int32_t FireEffect = IDR_EFFECT_FIRE;

constexpr int EmberWidth = 1024;
constexpr int EmberHeight = 640;
constexpr int GateWidth = 1024;
constexpr int GateHeight = 768;

// The masks' GUID serials.
constexpr uint32_t FirstFireMask = 0x0100;

void AddFireResources(DemoContent& demo)
{
    demo.AddModulePicture(FlamePattern, EncodePng(DrawFlameStreaks(512, FlamePattern), false));
    demo.AddModulePicture(BrushFlamePattern, EncodePng(DrawFlameStreaks(512, BrushFlamePattern), false));
    demo.AddModulePicture(FireNoise, EncodePng(DrawFireNoise(256), false));
    demo.AddModulePicture(HeatHazeBump, EncodePng(DrawHeatHazeBump(512), false));
    demo.AddModuleEffect(FireEffect, "fire");
    demo.AddModuleEffect(HeatHazeEffect, "heathaze");
}

SlideContent EmberNightSlide(DemoContent& demo)
{
    FlameLightContent layer;
    layer.base = PictureLayer(
        demo.AddPicture(L"ember-night.jpg", EncodeJpeg(DrawEmberNight(EmberWidth, EmberHeight), JpegQuality)));
    // A gentle haze, as documents usually have it: speed 0.016, strength
    // 0.006.
    layer.distortionSpeed = 16;
    layer.strength = 3;
    layer.fire.density = 108;
    layer.fire.base.speed = 45;

    return LayerSlide(L"Ember night", 12, FlameLightRecordBytes(layer));
}

SlideContent TorchlitGateSlide(DemoContent& demo)
{
    const LightContent layer = PictureLayer(
        demo.AddPicture(L"torchlit-gate.jpg", EncodeJpeg(DrawTorchlitGate(GateWidth, GateHeight), JpegQuality)));
    SlideContent slide = LayerSlide(L"Torchlit gate", 12, Light2DRecordBytes(layer));

    const wchar_t* const names[] = {L"Left torch", L"Right torch", L"Brazier"};
    const std::vector<FlamePlace> flames = TorchlitGateFlames(GateWidth, GateHeight);
    for (std::size_t i = 0; i < flames.size(); ++i) {
        const FlamePlace& f = flames[i];
        FireContent fire;
        const float left = f.x - f.width / 2, right = f.x + f.width / 2, top = f.y - f.height;
        // Corners 0 and 2 along the flames' tips, 1 and 3 along their base.
        const float corners[4][3] = {{left, top, 0}, {left, f.y, 0}, {right, top, 0}, {right, f.y, 0}};
        for (int c = 0; c < 4; ++c)
            for (int k = 0; k < 3; ++k)
                fire.corners[c][k] = corners[c][k];
        fire.base.mask = demo.AddMask(FirstFireMask + static_cast<uint32_t>(i),
                                      DrawFlameMask(f, GateWidth, GateHeight));
        fire.base.name = names[i];
        // Torches flicker a little faster than the broad brazier fire.
        fire.base.speed = i < 2 ? 60 : 48;
        fire.density = i < 2 ? 110 : 104;
        slide.visualObjects.push_back(FireRecordBytes(fire));
    }
    return slide;
}

} // namespace

void AddFireSlides(DemoContent& demo)
{
    AddFireResources(demo);
    demo.show.slides.push_back(EmberNightSlide(demo));
    demo.show.slides.push_back(TorchlitGateSlide(demo));
}
