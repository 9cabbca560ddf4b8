#include "tools/demodoc/AmbientSlides.h"

#include "tools/assets/AmbientArt.h"
#include "tools/assets/ArcArt.h"
#include "tools/assets/ParticleArt.h"
#include "tools/demodoc/DemoDocument.h"
#include "tools/document/AmbientRecords.h"
#include "tools/document/GlowRecords.h"
#include "tools/document/Light2DRecord.h"
#include "tools/document/StaticObjectRecords.h"
#include "res/resource.h"

#include <string>
#include <vector>

const wchar_t* const ForestSlideName = L"Sunbeams in the forest";
const wchar_t* const StormSlideName = L"Thunderstorm over the fields";
const wchar_t* const MeadowSlideName = L"Wildflowers at dusk";
const wchar_t* const WorkshopSlideName = L"High voltage";

namespace {

// The scenes are all of this size.
constexpr double SceneWidth = 1024;
constexpr double SceneHeight = 576;

// "common_res.dll" numbers of the arcs' effect and pictures.
constexpr int32_t GlowEffect = IDR_EFFECT_GLOW;
constexpr int32_t SharpArc = 95;
constexpr int32_t BroadArc = 98;

// COLORREF values (0x00BBGGRR).
constexpr uint32_t SunWarm = 0x00C0E4FF;
constexpr uint32_t MistWhite = 0x00F0F0E8;
constexpr uint32_t FlashBlue = 0x00FFE8DC;
constexpr uint32_t BoltViolet = 0x00FFE0E8;
constexpr uint32_t RainBlue = 0x00FFE4D2;
constexpr uint32_t FireflyGreen = 0x0050FFD8;
constexpr uint32_t ArcCore = 0x00FFFFCC;
constexpr uint32_t ArcGlowBlue = 0x00FF9900;
constexpr uint32_t ArcGlowViolet = 0x00FF5C9A;
constexpr uint32_t SparkBlue = 0x00FFE8D0;
constexpr uint32_t White = 0x00FFFFFF;
// Grass in the evening: darker and warmer in front, bluer behind.
constexpr uint32_t GrassDusk = 0x0090B8C8;
constexpr uint32_t GrassHaze = 0x00A8A8A8;

// The region in fractions of the scene, with its pixel edges to match.
ViewContent Region(double left, double right, double top, double bottom, uint32_t speed = 50)
{
    ViewContent view = ViewRegion(left, right, top, bottom, SceneWidth, SceneHeight);
    view.speed = speed;
    return view;
}

// The sprite properties of a system showing one of the demo's pictures.
SpriteContent Sprite(const wchar_t* fileName, uint32_t count, uint32_t baseSize, uint32_t transparency,
                     uint32_t colour = White)
{
    SpriteContent sprite;
    sprite.count = count;
    sprite.baseSize = baseSize;
    sprite.transparency = transparency;
    sprite.colour = colour;
    sprite.mainPath = DemoPicturePath(fileName);
    sprite.mainStamp = DemoPictureStamp;
    return sprite;
}

// A pulse between the two phases at the given speed.
void Pulse(SpriteContent& sprite, float speed, float low, float high)
{
    sprite.phaseSpeed = speed;
    sprite.phaseMin = low;
    sprite.phaseMax = high;
}

SlideContent Slide(const wchar_t* name, const wchar_t* scene, bool camera)
{
    return LayerSlide(name, 14, Light2DRecordBytes(PictureLayer(DemoPicturePath(scene), camera, 112, 35)));
}

// Slanted beams of warm light through the canopy, motes glinting in them
// and mist drifting over the forest floor.
SlideContent ForestSlide()
{
    SlideContent slide = Slide(ForestSlideName, L"sunlit-forest.jpg", true);
    GodRayContent rays;
    rays.angle = 68;
    rays.sprite = Sprite(L"god-ray.png", 12, 90, 45, SunWarm);
    rays.sprite.additive = 1;
    rays.sprite.view = Region(0.05, 1.0, 0.0, 1.0, 30);
    Pulse(rays.sprite, 0.3f, 0.05f, 1.0f);

    SpriteContent motes = Sprite(L"sparkle.png", 45, 18, 15, SunWarm);
    motes.additive = 1;
    motes.sizeMin = 0.5f;
    motes.sizeMax = 1.0f;
    motes.view = Region(0.25, 1.0, 0.15, 0.85, 15);
    Pulse(motes, 0.9f, 0.0f, 1.0f);

    FogContent mist;
    mist.speedX = 20.0f;
    mist.speedY = 3.0f;
    mist.sprite = Sprite(L"fog-patch.png", 7, 460, 40, MistWhite);
    mist.sprite.sizeMin = 0.8f;
    mist.sprite.sizeMax = 1.2f;
    mist.sprite.view = Region(0.0, 1.0, 0.72, 0.9);
    Pulse(mist.sprite, 0.12f, 0.3f, 1.0f);

    slide.visualObjects = {SparkleRecordBytes(motes), GodRayRecordBytes(rays), FogRecordBytes(mist)};
    return slide;
}

// Lightning strikes from the clouds to the horizon and flashes inside them,
// over fields in the rain; the thunder sound goes with this slide.
SlideContent StormSlide()
{
    SlideContent slide = Slide(StormSlideName, L"storm-fields.jpg", false);
    // The strikes come down left of the lone tree (which stands in front of
    // them) and reach the hills: the bolt is about as tall as the sky above
    // them, and a bolt lies wholly inside its view.
    SpriteContent bolts = Sprite(L"lightning.png", 3, 384, 0, BoltViolet);
    bolts.additive = 1;
    bolts.sizeMin = 0.96f;
    bolts.sizeMax = 1.0f;
    bolts.view = Region(0.03, 0.63, 0.0, Ambient().fieldsHorizon + 0.03);
    bolts.view.flag = true;

    SpriteContent flashes = Sprite(L"cloud-flash.png", 2, 700, 35, FlashBlue);
    flashes.additive = 1;
    flashes.view = Region(0.0, 1.0, 0.0, 0.5);
    flashes.view.flag = true;

    // Rain in two depths, as on the street, a little lighter.
    FlowContent closeBy;
    closeBy.angle = 258;
    closeBy.strength = 1200.0f;
    closeBy.orientation = 1;
    closeBy.sprite = Sprite(L"raindrop.png", 300, 90, 25, RainBlue);
    FlowContent distant = closeBy;
    distant.strength = 850.0f;
    distant.sprite = Sprite(L"raindrop.png", 300, 50, 45, RainBlue);
    for (FlowContent* rain : {&closeBy, &distant}) {
        rain->sprite.sizeMin = 0.5f;
        rain->sprite.sizeMax = 1.0f;
        Pulse(rain->sprite, 3.0f, 0.4f, 1.0f);
    }
    slide.visualObjects = {RainRecordBytes(closeBy), LightningRecordBytes(bolts), RainRecordBytes(distant),
                           LightningRecordBytes(flashes)};
    return slide;
}

// One flower of the meadow: its kind, its foot's place in fractions of the
// scene, its height in pixels, its sway and the pace of its clock.
struct FlowerPlace {
    const wchar_t* picture;
    double x, foot;
    uint32_t height;
    float sway;
    uint32_t pace;
    uint32_t turn;
};

FlowerContent Flower(const FlowerPlace& place)
{
    FlowerContent flower;
    flower.swayAmplitude = place.sway;
    StaticObjectContent& object = flower.object;
    // The point is the sprite's centre: half its height above the foot.
    object.rectangle[4] = static_cast<int32_t>(place.x * SceneWidth);
    object.rectangle[5] = static_cast<int32_t>(place.foot * SceneHeight - place.height / 2.0);
    object.rotation = place.turn;
    object.sprite = Sprite(place.picture, 1, place.height, 0);
    object.sprite.view.speed = place.pace;
    return flower;
}

// Grass swaying in a wave in front of and behind a few flowers, and
// fireflies glowing over the meadow.
SlideContent MeadowSlide()
{
    SlideContent slide = Slide(MeadowSlideName, L"dusk-meadow.jpg", false);
    GrassContent front;
    front.swayAmplitude = 7.0f;
    front.sprite = Sprite(L"grass-tuft.png", 120, 130, 0, GrassDusk);
    front.sprite.sizeMin = 0.7f;
    front.sprite.sizeMax = 1.2f;
    front.sprite.view = Region(-0.03, 1.03, 0.0, 1.02, 45);
    GrassContent behind = front;
    behind.swayAmplitude = 5.0f;
    behind.sprite = Sprite(L"grass-tuft.png", 110, 80, 10, GrassHaze);
    behind.sprite.sizeMin = 0.7f;
    behind.sprite.sizeMax = 1.1f;
    behind.sprite.view = Region(-0.03, 1.03, 0.0, 0.9, 40);

    const FlowerPlace flowers[] = {
        {L"poppy.png", 0.12, 0.97, 170, 3.0f, 55, 0},   {L"daisy.png", 0.24, 0.93, 130, 4.0f, 70, 4},
        {L"cornflower.png", 0.37, 0.99, 180, 2.5f, 45, 0}, {L"poppy.png", 0.55, 0.94, 140, 3.5f, 62, 356},
        {L"daisy.png", 0.66, 1.0, 190, 2.0f, 50, 0},    {L"cornflower.png", 0.79, 0.93, 125, 4.5f, 75, 0},
        {L"poppy.png", 0.9, 0.98, 175, 3.0f, 58, 3},
    };

    SpriteContent fireflies = Sprite(L"sparkle.png", 30, 36, 0, FireflyGreen);
    fireflies.additive = 1;
    fireflies.sizeMin = 0.6f;
    fireflies.sizeMax = 1.0f;
    fireflies.view = Region(0.0, 1.0, 0.62, 0.95, 20);
    Pulse(fireflies, 1.4f, 0.0f, 1.0f);

    // The first object is drawn last, on top.
    slide.visualObjects = {SparkleRecordBytes(fireflies), GrassRecordBytes(front)};
    for (const FlowerPlace& place : flowers)
        slide.visualObjects.push_back(FlowerRecordBytes(Flower(place)));
    slide.visualObjects.push_back(GrassRecordBytes(behind));
    return slide;
}

// Two arcs with their glow between the coils' toroids, a spark jumping
// across the gap on the bench and the warning sign on the wall.
SlideContent WorkshopSlide()
{
    SlideContent slide = Slide(WorkshopSlideName, L"workshop.jpg", false);
    const WorkshopLayout& w = Workshop();
    // The arcs strike a little way onto the toroids' tubes, where the
    // metal takes the glow's blunt ends.
    constexpr double OntoTheTube = 7;
    GlowArcContent main;
    main.start[0] = static_cast<float>(w.leftToroidX * SceneWidth - OntoTheTube);
    main.start[1] = static_cast<float>(w.toroidY * SceneHeight);
    main.end[0] = static_cast<float>(w.rightToroidX * SceneWidth + OntoTheTube);
    main.end[1] = main.start[1];
    main.jitter = 70;
    main.morphSpeed = 70;
    main.sprite.count = 12;
    main.sprite.baseSize = 80;
    main.sprite.additive = 1;
    main.sprite.colour = ArcCore;
    main.sprite.secondPath = DemoPicturePath(L"arc-glow.png");
    main.sprite.secondStamp = DemoPictureStamp;

    // A second, fainter arc in the broad picture with a violet glow.
    GlowArcContent second = main;
    second.glowVariant = 0;
    second.jitter = 70;
    second.morphSpeed = 100;
    second.glowColour = ArcGlowViolet;
    second.glowStrength = 70;
    second.sprite.count = 9;
    second.sprite.baseSize = 56;
    second.sprite.transparency = 30;
    main.glowColour = ArcGlowBlue;

    StaticObjectContent spark;
    spark.rectangle[4] = static_cast<int32_t>(w.gapX * SceneWidth);
    spark.rectangle[5] = static_cast<int32_t>(w.gapY * SceneHeight);
    spark.sprite = Sprite(L"spark-gap.png", 1, 112, 0, SparkBlue);
    spark.sprite.additive = 1;
    spark.sprite.frameGrid = true;
    spark.sprite.frameCount = SparkFrameCount;
    spark.sprite.frameRate = 14.0f;

    StaticObjectContent sign;
    sign.rectangle[4] = static_cast<int32_t>(w.signX * SceneWidth);
    sign.rectangle[5] = static_cast<int32_t>(w.signY * SceneHeight);
    // Hanging a little crooked: turned 6 degrees clockwise.
    sign.rotation = 354;
    sign.sprite = Sprite(L"warning-sign.png", 1, 92, 0);

    slide.visualObjects = {GlowArcRecordBytes(main), GlowArcRecordBytes(second), DischargeRecordBytes(spark),
                           StaticObjectRecordBytes(sign)};
    return slide;
}

} // namespace

void AddAmbientSlides(DemoContent& demo)
{
    for (const DemoPicture& scene : AmbientScenes())
        demo.AddPicture(scene.fileName, EncodeDemoPicture(scene));
    demo.AddPicture(L"god-ray.png", EncodePng(DrawGodRay(), true));
    demo.AddPicture(L"sparkle.png", EncodePng(DrawSparkle(), true));
    demo.AddPicture(L"fog-patch.png", EncodePng(DrawFogPatch(), true));
    demo.AddPicture(L"lightning.png", EncodePng(DrawLightningBolt(), true));
    demo.AddPicture(L"cloud-flash.png", EncodePng(DrawCloudFlash(), true));
    demo.AddPicture(L"grass-tuft.png", EncodePng(DrawGrassTuft(), true));
    demo.AddPicture(L"poppy.png", EncodePng(DrawFlower(FlowerKind::Poppy), true));
    demo.AddPicture(L"daisy.png", EncodePng(DrawFlower(FlowerKind::Daisy), true));
    demo.AddPicture(L"cornflower.png", EncodePng(DrawFlower(FlowerKind::Cornflower), true));
    demo.AddPicture(L"spark-gap.png", EncodePng(DrawSparkFrames(), true));
    demo.AddPicture(L"warning-sign.png", EncodePng(DrawWarningSign(), true));
    demo.AddPicture(L"arc-glow.png", EncodePng(DrawArcGlow(), true));
    // The rain slide's streak, shared.
    demo.AddPicture(L"raindrop.png", EncodePng(RainStreakSprite().frames.front(), true));
    demo.AddModulePicture(SharpArc, EncodePng(DrawArcStrips(ArcStyle::Sharp), true));
    demo.AddModulePicture(BroadArc, EncodePng(DrawArcStrips(ArcStyle::Broad), true));
    demo.AddModuleEffect(GlowEffect, "glow");

    for (SlideContent (*slide)() : {ForestSlide, StormSlide, MeadowSlide, WorkshopSlide})
        demo.show.slides.push_back(slide());
}
