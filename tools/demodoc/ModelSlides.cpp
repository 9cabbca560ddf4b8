#include "tools/demodoc/ModelSlides.h"

#include "tools/encoders/JpegWriter.h"
#include "tools/assets/ModelArt.h"
#include "tools/assets/ModelMeshes.h"
#include "tools/demodoc/DemoDocument.h"
#include "tools/document/Light2DRecord.h"
#include "tools/document/ModelRecords.h"

#include <cmath>
#include <string>

namespace {

constexpr int JpegQuality = 90;
constexpr int SceneWidth = 1024;
constexpr int SceneHeight = 576;

// "common_res.dll" numbers of the objects' pictures.
constexpr int32_t BodyPicture = 6;
constexpr int32_t FacePicture = 71;
constexpr int32_t HandPicture = 72;

const wchar_t* const DemoMeshFolder = L"C:\\Nightglass\\Meshes\\";

void AddObjectResources(DemoContent& demo)
{
    for (const ProgramMesh& mesh : ProgramMeshes())
        demo.AddModuleFile(mesh.number, EncodeProgramMesh(mesh));
    demo.AddModulePicture(BodyPicture, EncodePng(DrawButterflySkin(128, 256), false));
    demo.AddModulePicture(FacePicture, EncodePng(DrawClockFace(512), true));
    demo.AddModulePicture(HandPicture, EncodePng(DrawClockHand(32, 256), true));
}

SlideContent Slide(const wchar_t* name, const std::wstring& picturePath, uint32_t display, bool camera)
{
    return LayerSlide(name, display, Light2DRecordBytes(PictureLayer(picturePath, camera, 110, 30)));
}

// A region in fractions of the scene, with its pixel edges to match.
ViewContent Region(double left, double right, double top, double bottom)
{
    ViewContent view = ViewRegion(left, right, top, bottom, SceneWidth, SceneHeight);
    view.flag = true;
    return view;
}

ButterflyContent Butterflies(DemoContent& demo, WingKind kind, const wchar_t* wingFile, uint32_t count,
                             uint32_t size, const ViewContent& region)
{
    ButterflyContent c;
    c.object.count = count;
    c.object.size = size;
    c.object.texturePath = demo.AddPicture(wingFile, EncodePng(DrawButterflyWing(kind, 256), true));
    c.object.textureStamp = DemoPictureStamp;
    c.object.view = region;
    return c;
}

// Monarchs and blue morphos over the flower beds, flapping and gliding,
// turning back whenever they stray from the garden.
SlideContent GardenSlide(DemoContent& demo)
{
    const std::wstring picture = demo.AddPicture(
        L"butterfly-garden.jpg", EncodeJpeg(DrawButterflyGarden(SceneWidth, SceneHeight), JpegQuality));
    SlideContent slide = Slide(L"Butterflies in the garden", picture, 16, true);
    ButterflyContent monarchs =
        Butterflies(demo, WingKind::Monarch, L"wing-monarch.png", 4, 150, Region(0.12, 0.80, 0.34, 0.78));
    monarchs.object.view.name = L"Monarchs";
    ButterflyContent morphos =
        Butterflies(demo, WingKind::Morpho, L"wing-morpho.png", 2, 175, Region(0.30, 0.90, 0.28, 0.70));
    morphos.object.view.name = L"Blue morphos";
    morphos.object.view.speed = 45;
    slide.visualObjects = {ButterflyRecordBytes(morphos), ButterflyRecordBytes(monarchs)};
    return slide;
}

// The tower's dial filled by the clock, showing the time of the computer it
// runs on; the clock ticks.
SlideContent ClockTowerSlide(DemoContent& demo)
{
    const std::wstring picture =
        demo.AddPicture(L"clock-tower.jpg", EncodeJpeg(DrawClockTower(SceneWidth, SceneHeight), JpegQuality));
    SlideContent slide = Slide(L"The clock tower", picture, 14, false);
    const TowerDial dial = ClockTowerDial();
    ClockContent clock;
    const int32_t centreX = static_cast<int32_t>(std::lround(dial.u * SceneHeight));
    const int32_t centreY = static_cast<int32_t>(std::lround(dial.v * SceneHeight));
    // The face's bronze rim just inside the tower's stone ring.
    const int32_t size = static_cast<int32_t>(std::lround(dial.radius * SceneHeight * 2.0));
    const int32_t rectangle[6] = {centreX - size / 2, centreX + size / 2, centreY - size / 2, centreY + size / 2,
                                  centreX, centreY};
    for (int i = 0; i < 6; ++i)
        clock.rectangle[i] = rectangle[i];
    clock.object.size = static_cast<uint32_t>(size);
    clock.object.view.name = L"Tower clock";
    slide.visualObjects = {ClockRecordBytes(clock)};
    return slide;
}

TableResourceRecord EmbeddedFile(const std::wstring& path, DocumentBuilder::Bytes content)
{
    TableResourceRecord record;
    record.path = path;
    record.content = std::move(content);
    return record;
}

Sprites3DContent Drift(const TableResourceRecord& mesh, const TableResourceRecord& picture, uint32_t count,
                       uint32_t size, uint32_t speed, uint32_t angle)
{
    Sprites3DContent c;
    c.count = count;
    c.mesh = mesh;
    c.texture = picture;
    c.size = size;
    c.speed = speed;
    c.angle = angle;
    return c;
}

// Petals blown across the moonlit hills from the right, in two depths:
// small slow ones far off, larger ones near, all fluttering as they go.
SlideContent BlossomSlide()
{
    SlideContent slide = Slide(L"Blossom on the night wind", DemoPicturePath(L"moonlit-hills.jpg"), 14, false);
    const TableResourceRecord mesh =
        EmbeddedFile(std::wstring(DemoMeshFolder) + L"petal.x", EncodeXFile(PetalMesh(), "petal"));
    const TableResourceRecord picture = EmbeddedFile(DemoPicturePath(L"petal.png"), EncodePng(DrawPetal(128), true));
    Sprites3DContent distant = Drift(mesh, picture, 70, 16, 6, 196);
    distant.driftAmount = 15;
    distant.driftChangeRate = 10;
    distant.tumble = 25;
    distant.name = distant.leadingName = L"Far petals";
    Sprites3DContent closeBy = Drift(mesh, picture, 28, 36, 11, 200);
    closeBy.driftAmount = 25;
    closeBy.driftChangeRate = 20;
    closeBy.tumble = 30;
    closeBy.name = closeBy.leadingName = L"Near petals";
    slide.visualObjects = {Sprites3DRecordBytes(closeBy), Sprites3DRecordBytes(distant)};
    return slide;
}

// Autumn leaves falling slowly through the misty forest, turning over and
// swinging from side to side.
SlideContent LeavesSlide()
{
    SlideContent slide = Slide(L"Leaves in the mist", DemoPicturePath(L"misty-forest.png"), 14, false);
    const TableResourceRecord mesh =
        EmbeddedFile(std::wstring(DemoMeshFolder) + L"leaf.x", EncodeXFile(LeafMesh(), "leaf"));
    const TableResourceRecord picture =
        EmbeddedFile(DemoPicturePath(L"autumn-leaf.png"), EncodePng(DrawAutumnLeaf(128, 64), true));
    Sprites3DContent leaves = Drift(mesh, picture, 36, 44, 9, 258);
    leaves.driftAmount = 30;
    leaves.driftChangeRate = 15;
    leaves.tumble = 22;
    leaves.name = leaves.leadingName = L"Falling leaves";
    slide.visualObjects = {Sprites3DRecordBytes(leaves)};
    return slide;
}

} // namespace

void AddModelSlides(DemoContent& demo)
{
    AddObjectResources(demo);
    demo.show.slides.push_back(GardenSlide(demo));
    demo.show.slides.push_back(ClockTowerSlide(demo));
    demo.show.slides.push_back(BlossomSlide());
    demo.show.slides.push_back(LeavesSlide());
}
