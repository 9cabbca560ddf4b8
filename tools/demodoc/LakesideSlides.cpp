#include "tools/demodoc/LakesideSlides.h"

#include "tools/encoders/JpegWriter.h"
#include "tools/assets/LakesideArt.h"
#include "tools/demodoc/DemoDocument.h"
#include "tools/document/MotionBrushRecords.h"
#include "tools/document/PatternBrushRecords.h"
#include "res/resource.h"

#include <cmath>
#include <string>

namespace {

constexpr int JpegQuality = 92;
constexpr int LakeWidth = 1024;
constexpr int LakeHeight = 640;

// "common_res.dll" numbers: the effects, and the flag's image list (a module
// pattern, always stored as a list).
constexpr int32_t BackgroundCopyEffect = IDR_EFFECT_BACKGROUNDCOPY;
constexpr int32_t PatternEffect = IDR_EFFECT_PATTERN;
constexpr int32_t MoveEffect = IDR_EFFECT_MOVE;
constexpr int32_t ExpandEffect = IDR_EFFECT_EXPAND;
constexpr int32_t BannerList = 120;

constexpr int BannerWidth = 128;
constexpr int BannerHeight = 64;
constexpr int BannerFrames = 12;
constexpr float BannerDelay = 0.07f;
// Tiles of 1.2 × the frames' size: one tile as tall as the flag.
constexpr uint32_t BannerZoom = 120;

// The masks' GUID serials.
constexpr uint32_t FirstLakesideMask = 0x0500;

void AddLakesideResources(DemoContent& demo)
{
    demo.AddModuleEffect(BackgroundCopyEffect, "backgroundcopy");
    demo.AddModuleEffect(PatternEffect, "pattern");
    demo.AddModuleEffect(MoveEffect, "move");
    demo.AddModuleEffect(ExpandEffect, "expand");
    std::vector<std::pair<std::wstring, DocumentBuilder::Bytes>> frames;
    for (int i = 0; i < BannerFrames; ++i)
        frames.emplace_back(L"banner-" + std::to_wstring(i + 1) + L".png",
                            EncodePng(DrawBannerFrame(BannerWidth, BannerHeight, i, BannerFrames), false));
    demo.AddModuleImageList(BannerList, std::vector<float>(BannerFrames, BannerDelay), frames);
}

BrushBaseContent Base(DemoContent& demo, uint32_t serial, const std::vector<uint8_t>& mask, const wchar_t* name,
                      uint32_t speed, int64_t effect)
{
    BrushBaseContent base;
    base.mask = demo.AddMask(serial, mask);
    base.name = name;
    base.speed = speed;
    base.effectStamp = effect;
    return base;
}

SlideContent LakesideInnSlide(DemoContent& demo)
{
    const LightContent layer = PictureLayer(
        demo.AddPicture(L"lakeside-inn.jpg", EncodeJpeg(DrawLakesideInn(LakeWidth, LakeHeight), JpegQuality)));
    SlideContent slide = LayerSlide(L"Lakeside inn", 14, Light2DRecordBytes(layer));

    const LakesidePlaces places = LakesidePlacesOf(LakeHeight);

    // First in the list, so drawn last: the lake mirrors everything the other
    // brushes drew (it reads the scene, technique "MainFX"). Mirrored top to
    // bottom, the copy folds at the picture's middle; shifted down by
    // 2 × shore - height it folds at the shore.
    BackgroundCopyContent lake;
    lake.pointY = 2 * places.shoreY - LakeHeight;
    lake.verticalMirror = 1;
    lake.base = Base(demo, FirstLakesideMask, DrawLakeMask(LakeWidth, LakeHeight), L"Lake", 0, BackgroundCopyEffect);
    lake.base.backgroundFlag = 1;
    slide.visualObjects.push_back(BackgroundCopyRecordBytes(lake));

    // The lantern swells and shrinks in a slow breath.
    ExpandContent lantern;
    lantern.mode = 1;
    lantern.expansion = 36;
    lantern.contraction = 12;
    lantern.centre[0] = places.lanternX;
    lantern.centre[1] = places.lanternY;
    lantern.base = Base(demo, FirstLakesideMask + 1, DrawLanternMask(LakeWidth, LakeHeight), L"Lantern", 100,
                        ExpandEffect);
    slide.visualObjects.push_back(ExpandRecordBytes(lantern));

    // Reeds sway evenly in the breeze; the willow's strands stir unevenly.
    MoveContent reeds;
    reeds.amplitude = 40;
    reeds.base = Base(demo, FirstLakesideMask + 2, DrawReedsMask(LakeWidth, LakeHeight), L"Reeds", 85, MoveEffect);
    slide.visualObjects.push_back(MoveRecordBytes(reeds));
    MoveContent willow;
    willow.mode = 1;
    willow.amplitude = 25;
    willow.base = Base(demo, FirstLakesideMask + 3, DrawWillowMask(LakeWidth, LakeHeight), L"Willow", 60, MoveEffect);
    slide.visualObjects.push_back(MoveRecordBytes(willow));

    // The flag: the banner's frames tiled at the flag's height, shifted so
    // that a tile starts at its top edge.
    PatternBrushContent flag;
    flag.patternPath = CommonModule;
    flag.patternStamp = BannerList;
    flag.zoom = BannerZoom;
    const double tiles = places.flagTop / (BannerHeight * BannerZoom / 100.0);
    flag.offsetY = static_cast<uint32_t>(std::floor((std::ceil(tiles) - tiles) * 100.0 + 0.5));
    flag.base = Base(demo, FirstLakesideMask + 4, DrawFlagMask(LakeWidth, LakeHeight), L"Flag", 50, PatternEffect);
    slide.visualObjects.push_back(PatternBrushCRecordBytes(flag));
    return slide;
}

} // namespace

void AddLakesideSlides(DemoContent& demo)
{
    AddLakesideResources(demo);
    demo.show.slides.push_back(LakesideInnSlide(demo));
}
