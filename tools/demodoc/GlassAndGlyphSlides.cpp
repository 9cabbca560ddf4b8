#include "tools/demodoc/GlassAndGlyphSlides.h"

#include "tools/assets/GlassArt.h"
#include "tools/assets/GlyphArt.h"
#include "tools/assets/NightCityArt.h"
#include "tools/demodoc/DemoDocument.h"
#include "tools/document/GlassBallRecord.h"
#include "tools/document/MatrixCodeRecord.h"

namespace {

const int32_t GlassHighlight = 58;
const int32_t GlassRim = 59;
const int32_t GlassShadow = 60;
const int32_t GlyphStrip = 40;

// COLORREF values (0x00BBGGRR).
const uint32_t NightIndigo = 0x00200A08;
const uint32_t StudioSlate = 0x00584A40;
const uint32_t CodeGreen = 0x0048F048;
const uint32_t PaleGreen = 0x00E8FFE8;
const uint32_t White = 0x00FFFFFF;

// The aurora seen through a crystal ball that floats over a studio
// backdrop, swaying slowly, its shadow on the floor below.
SlideContent CrystalBall()
{
    GlassBallContent ball;
    ball.base = PictureLayer(DemoPicturePath(L"aurora-lake.jpg"));
    ball.size = 40;
    ball.depth = 30;
    ball.y = -30;
    ball.shadow = 1;
    ball.motionMode = 3;
    ball.motionSpeed = 150;
    ball.topColour = NightIndigo;
    ball.bottomColour = StudioSlate;
    return LayerSlide(L"Crystal ball", 12, GlassBallRecordBytes(ball));
}

// The moonlit hills rolling inside a clear ball that rests in the desert
// night, the second picture standing behind it.
SlideContent RollingBall()
{
    GlassBallContent ball;
    ball.base = PictureLayer(DemoPicturePath(L"moonlit-hills.jpg"));
    ball.backgroundPath = DemoPicturePath(L"desert-galaxy.jpg");
    ball.backgroundStamp = DemoPictureStamp;
    ball.pictureBackground = 1;
    ball.size = 45;
    ball.depth = 60;
    ball.x = 0;
    ball.y = 45;
    ball.motionMode = 1;
    ball.motionSpeed = 100;
    return LayerSlide(L"Rolling ball", 12, GlassBallRecordBytes(ball));
}

// Green code rains over the aurora while the camera drifts.
SlideContent CodeOverAurora()
{
    MatrixCodeContent rain;
    rain.base = PictureLayer(DemoPicturePath(L"aurora-lake.jpg"), true, 115, 40);
    rain.cellSize = 22;
    rain.density = 45;
    rain.frozenCount = 40;
    rain.flicker = 1;
    rain.backgroundMode = 0;
    rain.streamMode = 2;
    rain.trailColour = CodeGreen;
    rain.headColour = PaleGreen;
    rain.brightness = 10;
    return LayerSlide(L"Code over the aurora", 11, MatrixCodeRecordBytes(rain));
}

// The night city drawn by the code alone: over black, each glyph as bright
// as the picture beneath it, the heads white.
SlideContent CodeCity()
{
    MatrixCodeContent rain;
    rain.base = PictureLayer(DemoPicturePath(L"night-city.jpg"));
    rain.cellSize = 18;
    rain.density = 90;
    rain.frozenCount = 6;
    rain.flicker = 0;
    rain.backgroundMode = 1;
    rain.streamMode = 2;
    rain.trailColour = CodeGreen;
    rain.headColour = White;
    rain.brightness = 0;
    return LayerSlide(L"Code city", 12, MatrixCodeRecordBytes(rain));
}

} // namespace

void AddGlassAndGlyphSlides(DemoContent& demo)
{
    demo.show.slides.push_back(CrystalBall());
    demo.show.slides.push_back(RollingBall());
    demo.show.slides.push_back(CodeOverAurora());
    demo.show.slides.push_back(CodeCity());

    demo.AddModulePicture(GlassHighlight, MakeGlassHighlightFile());
    demo.AddModulePicture(GlassRim, MakeGlassRimFile());
    demo.AddModulePicture(GlassShadow, MakeGlassShadowFile());
    demo.AddModulePicture(GlyphStrip, MakeGlyphStripFile());
    demo.AddPicture(L"night-city.jpg", MakeNightCityFile());
}
