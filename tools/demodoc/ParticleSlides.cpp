#include "tools/demodoc/ParticleSlides.h"

#include "tools/assets/ParticleArt.h"
#include "tools/demodoc/DemoDocument.h"
#include "tools/document/Light2DRecord.h"
#include "tools/document/ParticleRecords.h"

#include <string>
#include <vector>

namespace {

// The scenes are all of this size.
constexpr double SceneWidth = 1280;
constexpr double SceneHeight = 720;

// The order of a flow's edge rules.
enum Edge { Top, Bottom, Left, Right };

// COLORREF values (0x00BBGGRR).
constexpr uint32_t White = 0x00FFFFFF;
constexpr uint32_t RainBlue = 0x00FFE4D2;
constexpr uint32_t MoonGlow = 0x00FFF0E0;

// Leave and come back through the other side, fading out and in.
BoundContent Fading(uint32_t fadeOut, uint32_t fadeIn, uint32_t minHidden, uint32_t maxHidden)
{
    return BoundContent{0, fadeOut, fadeIn, minHidden, maxHidden};
}

const BoundContent BounceBack{1, 0, 0, 0, 0};

// The sprites drawn from a frame grid, and each grid's frames.
constexpr uint32_t LeafFrames = 8;
constexpr uint32_t BirdFrames = 8;

bool IsGrid(const std::wstring& fileName)
{
    return fileName == L"leaf-crimson.png" || fileName == L"leaf-golden.png" || fileName == L"bird.png";
}

// A sprite whose picture holds `frames` frames side by side, shown at `rate`
// frames per second of the system's clock.
void UseGrid(SpriteContent& sprite, uint32_t frames, float rate)
{
    sprite.frameGrid = true;
    sprite.frameCount = frames;
    sprite.frameRate = rate;
}

// The region in fractions of the scene, with its pixel edges to match.
ViewContent Region(double left, double right, double top, double bottom)
{
    ViewContent view = ViewRegion(left, right, top, bottom, SceneWidth, SceneHeight);
    return view;
}

// The sprite properties of a system showing one of the demo's sprites.
SpriteContent Sprite(const wchar_t* fileName, uint32_t count, uint32_t baseSize, float sizeMin, float sizeMax,
                     uint32_t transparency, uint32_t colour = White)
{
    SpriteContent sprite;
    sprite.count = count;
    sprite.baseSize = baseSize;
    sprite.sizeMin = sizeMin;
    sprite.sizeMax = sizeMax;
    sprite.transparency = transparency;
    sprite.colour = colour;
    sprite.mainPath = DemoPicturePath(fileName);
    sprite.mainStamp = DemoPictureStamp;
    return sprite;
}

FlowContent Flow(uint32_t angle, float strength, uint32_t drift, uint32_t driftChanges, const SpriteContent& sprite)
{
    FlowContent flow;
    flow.angle = angle;
    flow.strength = strength;
    flow.driftSpeed = drift;
    flow.driftChangeRate = driftChanges;
    flow.sprite = sprite;
    return flow;
}

SlideContent Slide(const wchar_t* name, const wchar_t* scene, uint32_t display, bool camera)
{
    return LayerSlide(name, display, Light2DRecordBytes(PictureLayer(DemoPicturePath(scene), camera, 115, 40)));
}

// Snow in two depths: many small slow flakes far away, fewer large ones
// near, all wandering sideways; flakes that leave fade away and come back
// through the other side a little later.
SlideContent SnowSlide()
{
    SlideContent slide = Slide(L"Snow in the pines", L"winter-wood.jpg", 14, true);
    FlowContent distant = Flow(268, 45.0f, 6, 4, Sprite(L"snowflake.png", 650, 10, 0.5f, 1.0f, 20));
    FlowContent closeBy = Flow(265, 85.0f, 12, 3, Sprite(L"snowflake.png", 150, 26, 0.6f, 1.2f, 0));
    for (FlowContent* flow : {&distant, &closeBy})
        for (BoundContent& edge : flow->edges)
            edge = Fading(400, 600, 0, 1200);
    slide.visualObjects = {FlowRecordBytes(closeBy), FlowRecordBytes(distant)};
    return slide;
}

// Rain slanting a little to the left, in two depths, its streaks turned
// along the fall and flickering; a drop that reaches the street starts again
// at the top at once.
SlideContent RainSlide()
{
    SlideContent slide = Slide(L"Rain on the street", L"rainy-street.jpg", 12, false);
    FlowContent closeBy = Flow(262, 1300.0f, 0, 0, Sprite(L"raindrop.png", 420, 96, 0.6f, 1.0f, 10, RainBlue));
    FlowContent distant = Flow(262, 900.0f, 0, 0, Sprite(L"raindrop.png", 360, 56, 0.5f, 0.9f, 35, RainBlue));
    for (FlowContent* flow : {&closeBy, &distant}) {
        flow->orientation = 1;
        flow->sprite.phaseSpeed = 3.0f;
        flow->sprite.phaseMin = 0.4f;
        flow->sprite.phaseMax = 1.0f;
    }
    slide.visualObjects = {RainRecordBytes(closeBy), RainRecordBytes(distant)};
    return slide;
}

// Leaves of two colours tumbling down and to the left, each colour at its
// own tumbling pace through the frames of its grid, drifting in the breeze;
// those that leave come back after a while.
SlideContent LeavesSlide()
{
    SlideContent slide = Slide(L"Falling leaves", L"autumn-park.jpg", 14, false);
    FlowContent crimson = Flow(250, 55.0f, 18, 2, Sprite(L"leaf-crimson.png", 20, 46, 0.7f, 1.2f, 0));
    FlowContent golden = Flow(244, 48.0f, 22, 2, Sprite(L"leaf-golden.png", 18, 42, 0.7f, 1.2f, 0));
    for (FlowContent* flow : {&crimson, &golden})
        for (BoundContent& edge : flow->edges)
            edge = Fading(300, 500, 500, 3000);
    // Each colour tumbles at a pace of its own.
    UseGrid(crimson.sprite, LeafFrames, 11.0f);
    UseGrid(golden.sprite, LeafFrames, 14.0f);
    slide.visualObjects = {FlowRecordBytes(crimson), FlowRecordBytes(golden)};
    return slide;
}

// Clownfish and blue tangs swim back and forth over the reef, turning once
// they have left the picture; a stream of bubbles rises from the corals,
// kept to its column.
SlideContent ReefSlide()
{
    SlideContent slide = Slide(L"Coral reef", L"coral-reef.jpg", 16, true);
    FishContent clown;
    clown.speedX = 70.0f;
    clown.speedY = 12.0f;
    clown.sprite = Sprite(L"fish-clown.png", 6, 72, 0.8f, 1.1f, 0);
    clown.sprite.view = Region(-0.06, 1.06, 0.22, 0.74);
    FishContent tang;
    tang.speedX = 95.0f;
    tang.speedY = 16.0f;
    tang.sprite = Sprite(L"fish-tang.png", 4, 84, 0.85f, 1.1f, 0);
    tang.sprite.view = Region(-0.08, 1.08, 0.12, 0.62);
    FlowContent bubbles = Flow(90, 70.0f, 8, 6, Sprite(L"bubble.png", 26, 18, 0.4f, 1.0f, 15));
    bubbles.sprite.additive = 1;
    bubbles.sprite.view = Region(0.60, 0.68, 0.0, 0.84);
    bubbles.edges[Top] = Fading(200, 300, 0, 2500);
    bubbles.edges[Left] = BounceBack;
    bubbles.edges[Right] = BounceBack;
    slide.visualObjects = {FishRecordBytes(tang), FishRecordBytes(clown), FlowRecordBytes(bubbles)};
    return slide;
}

// Birds beating their wings across the evening sky, climbing and falling
// but never slowing much; two flocks beat at slightly different paces.
SlideContent BirdsSlide()
{
    SlideContent slide = Slide(L"Birds at dusk", L"evening-sky.jpg", 12, false);
    FishContent flock;
    flock.speedX = 110.0f;
    flock.speedY = 26.0f;
    flock.sprite = Sprite(L"bird.png", 5, 120, 0.7f, 1.1f, 0);
    flock.sprite.view = Region(-0.06, 1.06, 0.06, 0.62);
    FishContent stragglers = flock;
    stragglers.speedX = 90.0f;
    stragglers.sprite = Sprite(L"bird.png", 4, 100, 0.7f, 1.0f, 10);
    stragglers.sprite.view = Region(-0.06, 1.06, 0.1, 0.5);
    UseGrid(flock.sprite, BirdFrames, 14.0f);
    UseGrid(stragglers.sprite, BirdFrames, 11.0f);
    slide.visualObjects = {BirdRecordBytes(flock), BirdRecordBytes(stragglers)};
    return slide;
}

// Ghosts drifting over the hill, fading away and coming back somewhere else.
SlideContent GhostsSlide()
{
    SlideContent slide = Slide(L"The haunted hill", L"haunted-hill.jpg", 12, false);
    FishContent ghosts;
    ghosts.speedX = 40.0f;
    ghosts.speedY = 18.0f;
    ghosts.sprite = Sprite(L"ghost.png", 5, 110, 0.7f, 1.1f, 30, MoonGlow);
    ghosts.sprite.phaseSpeed = 0.35f;
    ghosts.sprite.phaseMin = 0.0f;
    ghosts.sprite.phaseMax = 1.0f;
    ghosts.sprite.view = Region(0.05, 0.95, 0.12, 0.88);
    slide.visualObjects = {GhostRecordBytes(ghosts)};
    return slide;
}

// An image list of the demo under its own picture path: one record per
// frame, with the frames' delays.
void AddImageList(ResourceTableContent& table, const wchar_t* fileName, const std::vector<Bytes>& frames,
                  float delay)
{
    const std::wstring path = DemoPicturePath(fileName);
    TableRecordsEntry entry;
    entry.path = path;
    entry.stamp = DemoPictureStamp;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        TableResourceRecord record;
        record.content = frames[i];
        record.path = i == 0 ? path : path + L"#" + std::to_wstring(i);
        entry.records.push_back(std::move(record));
    }
    table.images.push_back(std::move(entry));
    table.delays.push_back(TableDelaysEntry{path, DemoPictureStamp, std::vector<float>(frames.size(), delay)});
}

// Tumbling leaves and beating wings are frame grids, one picture each; the
// other animations are image lists of one picture per frame.
void AddSprite(DemoContent& demo, const SpriteArt& sprite)
{
    if (sprite.frames.size() == 1) {
        demo.AddPicture(sprite.fileName, EncodePng(sprite.frames[0], true));
    } else if (IsGrid(sprite.fileName)) {
        demo.AddPicture(sprite.fileName, EncodePng(FrameStrip(sprite.frames), true));
    } else {
        std::vector<Bytes> frames;
        for (const Image& frame : sprite.frames)
            frames.push_back(EncodePng(frame, true));
        AddImageList(demo.table, sprite.fileName, frames, sprite.delay);
    }
}

} // namespace

void AddParticleSlides(DemoContent& demo)
{
    for (const DemoPicture& scene : ParticleScenes())
        demo.AddPicture(scene.fileName, EncodeDemoPicture(scene));
    for (const SpriteArt& sprite : ParticleSprites())
        AddSprite(demo, sprite);

    for (SlideContent (*slide)() : {SnowSlide, RainSlide, LeavesSlide, ReefSlide, BirdsSlide, GhostsSlide})
        demo.show.slides.push_back(slide());
}
