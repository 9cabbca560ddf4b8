#include "foundation/render/MediaRectangle.h"
#include "foundation/render/PictureMapping.h"
#include "foundation/render/SceneView.h"
#include "foundation/resources/SizedTexture.h"
#include "tests/support/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using SceneViewTest = DeviceTest<1024, 768>;

SizedTexture Picture(UINT w, UINT h)
{
    SizedTexture image;
    image.width = w;
    image.height = h;
    return image;
}

bool IsIdentity(D3DXMATRIX m)
{
    return D3DXMatrixIsIdentity(&m);
}

// p × m for a point in the z = 0 plane.
D3DXVECTOR2 Transform(const D3DXMATRIX& m, float x, float y)
{
    D3DXVECTOR3 out;
    const D3DXVECTOR3 p(x, y, 0.0f);
    D3DXVec3TransformCoord(&out, &p, &m);
    return D3DXVECTOR2(out.x, out.y);
}

// Where a picture point lands in layer units with the view as it stands.
D3DXVECTOR2 LayerPoint(const SceneView& view, float x, float y)
{
    return Transform(view.camera * view.fillOffset * view.fillScale * view.picture, x, y);
}

// The corners of a border quad: left, top, right, bottom.
struct Box {
    float x0, y0, x1, y1;
};

Box BorderBox(const SceneView& view, int border)
{
    const auto v = ReadVertices(view.borders->quads[border]);
    if (v.size() != 4)
        return {-1, -1, -1, -1};
    return {v[1].x, v[1].y, v[2].x, v[2].y};
}

void ExpectBox(const Box& expected, const Box& actual)
{
    EXPECT_FLOAT_EQ(expected.x0, actual.x0);
    EXPECT_FLOAT_EQ(expected.y0, actual.y0);
    EXPECT_FLOAT_EQ(expected.x1, actual.x1);
    EXPECT_FLOAT_EQ(expected.y1, actual.y1);
}

} // namespace

TEST(SceneView, NewViewFitsWithIdentityTransforms)
{
    const SceneView view;
    EXPECT_EQ(SceneView::Fit, view.mode);
    EXPECT_TRUE(IsIdentity(view.picture));
    EXPECT_TRUE(IsIdentity(view.camera));
    EXPECT_TRUE(IsIdentity(view.fillScale));
    EXPECT_TRUE(IsIdentity(view.fillOffset));
    EXPECT_FALSE(view.borders->quads[0].vertices);
    EXPECT_EQ(1.0f, view.backgroundScaleX);
}

// An image of the layer's proportions needs no fill in any mode; the picture
// matrix alone scales it to the layer.
TEST_F(SceneViewTest, ExactFitScalesThePictureAloneInEveryMode)
{
    SceneView view;
    for (int mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        view.Setup(1024, 768, Picture(800, 600), mode, false);
        D3DXMATRIX expected;
        D3DXMatrixScaling(&expected, 1.28f, 1.28f, 1.0f);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(expected[i], view.picture[i], 1e-6f);
        EXPECT_EQ(1.0f, view.fillScale._11);
        EXPECT_EQ(1.0f, view.fillScale._22);
        EXPECT_EQ(0.0f, view.offsetX);
        EXPECT_EQ(0.0f, view.offsetY);
        EXPECT_EQ(1.0f, view.backgroundScaleX);
    }
}

// The letterbox and pillarbox cases: picture scale, fill factors and
// offsets, the Fit borders, and where the image's corners land.
TEST_F(SceneViewTest, LetterboxAndPillarboxPlacement)
{
    SceneView view;
    view.ResetBorderColors();

    view.Setup(1024, 768, Picture(1000, 500), SceneView::Fit, false);
    EXPECT_FLOAT_EQ(1.024f, view.picture._11);
    EXPECT_FLOAT_EQ(128.0f, view.picture._42);
    EXPECT_FLOAT_EQ(1.5f, view.backgroundScaleY);
    ExpectBox({0, 0, 1024, 129}, BorderBox(view, SceneView::TopBorder));
    ExpectBox({0, 640, 1024, 769}, BorderBox(view, SceneView::BottomBorder));
    ExpectBox({0, 0, 0, 512}, BorderBox(view, SceneView::LeftBorder));
    EXPECT_FLOAT_EQ(128.0f, LayerPoint(view, 0, 0).y);
    EXPECT_FLOAT_EQ(640.0f, LayerPoint(view, 1000, 500).y);

    view.Setup(1024, 768, Picture(1000, 500), SceneView::Stretch, false);
    EXPECT_FLOAT_EQ(1.0f, view.fillScale._11);
    EXPECT_FLOAT_EQ(1.5f, view.fillScale._22);
    EXPECT_NEAR(0.0f, LayerPoint(view, 0, 0).y, 1e-3f);
    EXPECT_NEAR(768.0f, LayerPoint(view, 1000, 500).y, 1e-3f);
    EXPECT_NEAR(1024.0f, LayerPoint(view, 1000, 500).x, 1e-3f);

    view.Setup(1024, 768, Picture(1000, 500), SceneView::Fill, false);
    EXPECT_FLOAT_EQ(1.5f, view.fillScale._11);
    EXPECT_FLOAT_EQ(1.5f, view.fillScale._22);
    EXPECT_FLOAT_EQ((1.0f - 1.5f) / 2.0f * 500.0f / 1.5f, view.offsetY);
    EXPECT_NEAR(-256.0f, LayerPoint(view, 0, 0).x, 1e-3f);
    EXPECT_NEAR(0.0f, LayerPoint(view, 0, 0).y, 1e-3f);
    EXPECT_NEAR(1280.0f, LayerPoint(view, 1000, 500).x, 1e-3f);

    view.Setup(1024, 768, Picture(500, 1000), SceneView::Fit, false);
    EXPECT_FLOAT_EQ(0.768f, view.picture._11);
    EXPECT_FLOAT_EQ(320.0f, view.picture._41);
    ExpectBox({0, 0, 321, 768}, BorderBox(view, SceneView::LeftBorder));
    ExpectBox({704, 0, 1025, 768}, BorderBox(view, SceneView::RightBorder));
    ExpectBox({0, 0, 384, 0}, BorderBox(view, SceneView::TopBorder));

    view.Setup(1024, 768, Picture(500, 1000), SceneView::Fill, false);
    EXPECT_FLOAT_EQ((640.0f + 384.0f) / 384.0f, view.fillScale._11);
    EXPECT_FLOAT_EQ(view.fillScale._11, view.fillScale._22);
    EXPECT_NEAR(0.0f, LayerPoint(view, 0, 0).x, 1e-3f);
    EXPECT_NEAR(-640.0f, LayerPoint(view, 0, 0).y, 1e-3f);
}

// A fitted rectangle less than a pixel narrower than the layer leaves a
// margin below a pixel: its side borders have no width.
TEST_F(SceneViewTest, SubPixelMarginGivesEmptyBorders)
{
    SceneView view;
    view.ResetBorderColors();
    view.Setup(1024, 768, Picture(1023, 768), SceneView::Fit, false);
    ASSERT_GT(view.picture._41, 0.0f);
    ASSERT_LT(view.picture._41, 1.0f);
    const Box left = BorderBox(view, SceneView::LeftBorder);
    EXPECT_EQ(left.x0, left.x1);
    const Box right = BorderBox(view, SceneView::RightBorder);
    EXPECT_EQ(right.x0, right.x1);
}

// A picture that did not load has no size: the placement stays finite.
TEST_F(SceneViewTest, PictureWithoutSizeGivesFiniteTransforms)
{
    SceneView view;
    view.ResetBorderColors();
    for (int mode : {0, 1, 2, 3}) {
        view.Setup(1024, 768, Picture(0, 0), mode, false);
        for (const D3DXMATRIX* m : {&view.picture, &view.fillScale, &view.fillOffset})
            for (int i = 0; i < 16; ++i)
                ASSERT_TRUE(std::isfinite((*m)[i])) << "mode " << mode;
        ASSERT_TRUE(std::isfinite(view.backgroundScaleX));
    }
}

// Setup puts world, view and projection on the device: a layer point lands
// on the back-buffer pixel of the same coordinates. In target pixels the
// layer is the target itself; otherwise the layer is rescaled to the back
// buffer.
TEST_F(SceneViewTest, SetupSetsTheDeviceTransformsAndTheTargetScale)
{
    SceneView view;
    view.Setup(512, 384, Picture(800, 600), SceneView::Fit, true);
    D3DXMATRIX world, v, p;
    Device()->GetTransform(D3DTS_WORLD, &world);
    Device()->GetTransform(D3DTS_VIEW, &v);
    Device()->GetTransform(D3DTS_PROJECTION, &p);
    EXPECT_TRUE(IsIdentity(world));
    const D3DXVECTOR2 corner = Transform(v * p, 512, 384);
    EXPECT_NEAR(1.0f, corner.x, 1e-5f);
    EXPECT_NEAR(-1.0f, corner.y, 1e-5f);
    EXPECT_FLOAT_EQ(1.0f, view.backgroundScaleX);

    view.Setup(1, 1, Picture(1000, 500), SceneView::Fit, false);
    EXPECT_FLOAT_EQ(1.0f, view.backgroundScaleX);
    EXPECT_FLOAT_EQ(2.0f, view.backgroundScaleY);
    EXPECT_FLOAT_EQ(0.25f, view.picture._42);
}

// The camera zooms about a point of the image that stays in place, and
// drops out of the world in Capture mode.
TEST_F(SceneViewTest, CameraZoomsAboutItsPanPointAndIsLeftOutInCapture)
{
    SceneView view;
    view.Setup(1024, 768, Picture(800, 600), SceneView::Fit, false);
    // No zoom, and a zoom of 0 or less, which would divide by zero.
    for (float z : {1.0f, 0.0f, -0.5f}) {
        view.SetCameraOffset(z, 0.7f, -0.3f);
        EXPECT_TRUE(IsIdentity(view.camera)) << z;
    }

    const struct {
        float px, py, fixedX, fixedY;
    } cases[] = {{0, 0, 400, 300}, {-1, -1, 0, 0}, {1, 1, 800, 600}, {1, -1, 800, 0}};
    for (const auto& c : cases) {
        view.SetCameraOffset(1.2f, c.px, c.py);
        const D3DXVECTOR2 fixed = Transform(view.camera, c.fixedX, c.fixedY);
        EXPECT_NEAR(c.fixedX, fixed.x, 1e-3f);
        EXPECT_NEAR(c.fixedY, fixed.y, 1e-3f);
        EXPECT_FLOAT_EQ(1.2f, view.camera._11);
    }

    view.SetCameraOffset(1.2f, 0, 0);
    D3DXMATRIX frame;
    D3DXMatrixTranslation(&frame, 10, 20, 0);
    D3DXMATRIX world;
    view.SetWorld(frame);
    Device()->GetTransform(D3DTS_WORLD, &world);
    const D3DXMATRIX withCamera = frame * view.camera * view.fillOffset * view.fillScale * view.picture;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(withCamera[i], world[i], 1e-4f);

    D3DXMATRIX composed;
    view.ComposeWorldViewProjection(composed, frame);
    const D3DXMATRIX expectedComposed = withCamera * view.viewMatrix * view.projection;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(expectedComposed[i], composed[i], 1e-5f);

    view.Setup(1024, 768, Picture(1000, 500), SceneView::Capture, false);
    view.SetWorld(frame);
    Device()->GetTransform(D3DTS_WORLD, &world);
    const D3DXMATRIX withoutCamera = frame * view.fillOffset * view.fillScale * view.picture;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(withoutCamera[i], world[i], 1e-4f);

    D3DXMATRIX viewProjection;
    view.GetViewProjection(viewProjection);
    const D3DXMATRIX expectedCapture =
        view.fillOffset * view.fillScale * view.picture * view.viewMatrix * view.projection;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(expectedCapture[i], viewProjection[i], 1e-6f);
    view.Setup(1024, 768, Picture(1000, 500), SceneView::Stretch, false);
    view.GetViewProjection(viewProjection);
    const D3DXMATRIX expectedPlain = view.picture * view.viewMatrix * view.projection;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(expectedPlain[i], viewProjection[i], 1e-6f);
}

// The shift that camera and fill apply, in image pixels before scaling.
TEST_F(SceneViewTest, ViewOffsetIsTheShiftBeforeScaling)
{
    SceneView view;
    view.Setup(1024, 768, Picture(1000, 500), SceneView::Stretch, false);
    EXPECT_FLOAT_EQ(0.0f, view.GetViewOffsetX());
    EXPECT_FLOAT_EQ(view.offsetY, view.GetViewOffsetY());

    view.SetCameraOffset(2.0f, -1.0f, -1.0f);
    // Zoom 2 about the top-left corner moves nothing there; the fill's shift
    // is then counted at the doubled scale.
    EXPECT_FLOAT_EQ(0.0f, view.GetViewOffsetX());
    EXPECT_FLOAT_EQ(view.offsetY / 2.0f, view.GetViewOffsetY());
}

// Back-buffer points map into picture pixels through the published mapping
// and the fill; Contains compares them with the rectangle's edges, which
// count as inside.
TEST_F(SceneViewTest, ScreenPointsMapIntoPictureAndRectanglesContainTheirEdges)
{
    SceneView view;
    SceneView* const saved = GlobalSceneView;
    GlobalSceneView = &view;
    const SizedTexture picture = Picture(1000, 500);
    view.Setup(1024, 768, picture, SceneView::Fill, false);
    ScreenQuad fitted;
    fitted.FitImage(picture, 1024, 768);
    fitted.ScaleToBackBuffer(1024, 768);
    PublishPictureMapping(500, fitted, 1024, 768, 1000);

    // The screen's centre is the picture's centre; its left edge shows the
    // picture a sixth of the way in.
    D3DXVECTOR3 p = MapScreenPointToView(512, 384, 7);
    EXPECT_NEAR(500.0f, p.x, 1e-3f);
    EXPECT_NEAR(250.0f, p.y, 1e-3f);
    EXPECT_EQ(7.0f, p.z);
    p = MapScreenPointToView(0, 0, 0);
    EXPECT_NEAR(1000.0f / 6.0f, p.x, 1e-3f);
    EXPECT_NEAR(0.0f, p.y, 1e-3f);

    // Fit of a 512 × 384 picture on the whole back buffer: one picture pixel
    // is exactly two back-buffer pixels, so edges compare exactly.
    const SizedTexture half = Picture(512, 384);
    view.Setup(1024, 768, half, SceneView::Fit, false);
    fitted.FitImage(half, 1024, 768);
    fitted.ScaleToBackBuffer(1024, 768);
    PublishPictureMapping(384, fitted, 1024, 768, 512);
    MediaRectangle rectangle;
    rectangle.left.value = 100;
    rectangle.right.value = 200;
    rectangle.top.value = 50;
    rectangle.bottom.value = 80;
    const struct {
        float x, y;
        bool inside;
    } cases[] = {
        {200, 100, true},  // top-left corner
        {400, 160, true},  // bottom-right corner
        {300, 130, true},  // inside
        {198, 130, false}, // one unit left
        {402, 130, false}, // one unit right
        {300, 98, false},  // one unit above
        {300, 162, false}, // one unit below
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, rectangle.Contains(c.x, c.y)) << c.x << ", " << c.y;

    // Points are given in layer units: a 512 × 384 layer doubles them.
    PublishPictureMapping(384, fitted, 512, 384, 512);
    EXPECT_TRUE(rectangle.Contains(200, 80));
    EXPECT_FALSE(rectangle.Contains(201, 80));

    GlobalSceneView = saved;
    CurrentPictureMapping = PictureMapping();
}

// Each screen hands the view a border set made on its own device; the view's
// own set lets go of a device's buffers when that device goes, so that the
// view, which lives until the process ends, keeps no device alive.
TEST_F(SceneViewTest, ScreensBringTheirOwnBordersAndTheOwnSetLetsAGoingDeviceGo)
{
    SceneView view;
    view.ResetBorderColors();
    SceneBorders screen;
    view.UseBorders(&screen);
    view.ResetBorderColors();
    view.Setup(1024, 768, Picture(1000, 500), SceneView::Fit, false);
    ASSERT_TRUE(screen.quads[0].vertices);
    ExpectBox({0, 0, 1024, 129}, BorderBox(view, SceneView::TopBorder));

    view.UseBorders(nullptr);
    ASSERT_NE(&screen, view.borders);
    ASSERT_TRUE(view.borders->quads[0].vertices);
    TestDevice other(64, 64);
    ASSERT_TRUE(other.Ok());
    view.ReleaseBordersOf(other.Device());
    EXPECT_TRUE(view.borders->quads[0].vertices);
    view.ReleaseBordersOf(Device());
    for (const DS_SimpleMesh<DX_V::SPC>& quad : view.borders->quads)
        EXPECT_FALSE(quad.vertices);
    EXPECT_TRUE(screen.quads[0].vertices);
}
