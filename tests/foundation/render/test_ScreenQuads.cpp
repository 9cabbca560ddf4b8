#include "foundation/geometry/MeshBuffers.h"
#include "foundation/render/QuadGrid.h"
#include "foundation/render/ScreenQuad.h"
#include "foundation/render/TexturedQuad.h"
#include "foundation/resources/SizedTexture.h"
#include "tests/support/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

SizedTexture ImageOfSize(UINT w, UINT h)
{
    SizedTexture image;
    image.width = w;
    image.height = h;
    return image;
}

// Left, top, width and height of a quad, checked against its four corners.
struct Rect {
    float left, top, width, height;
};

::testing::AssertionResult Spans(const ScreenQuad& q, const Rect& r)
{
    const float x1 = r.left + r.width;
    const float y1 = r.top + r.height;
    const float expected[4][2] = {{r.left, y1}, {r.left, r.top}, {x1, y1}, {x1, r.top}};
    for (int i = 0; i < 4; ++i) {
        if (std::fabs(q.corners[i].x - expected[i][0]) > 1e-3f || std::fabs(q.corners[i].y - expected[i][1]) > 1e-3f)
            return ::testing::AssertionFailure() << "corner " << i << " at (" << q.corners[i].x << ", "
                                                 << q.corners[i].y << "), expected (" << expected[i][0] << ", "
                                                 << expected[i][1] << ")";
    }
    return ::testing::AssertionSuccess();
}

using ScreenQuadTest = DeviceTest<1024, 768>;

} // namespace

TEST(ScreenQuad, NewQuadHasRhwOneAndSpansTheTexture)
{
    const ScreenQuad q;
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0.0f, q.corners[i].x);
        EXPECT_EQ(0.0f, q.corners[i].y);
        EXPECT_EQ(1.0f, q.corners[i].z);
        EXPECT_EQ(uv[i][0], q.corners[i].u);
        EXPECT_EQ(uv[i][1], q.corners[i].v);
    }
}

// Letterbox, pillarbox, equal proportions (second branch, exact fill) and a
// picture without a size (fills the area instead of turning NaN).
TEST(ScreenQuad, FitImageCentresTheLargestRectangleOfTheImagesProportions)
{
    const struct {
        UINT iw, ih;
        int w, h;
        Rect expected;
    } cases[] = {
        {200, 100, 800, 600, {0, 100, 800, 400}},
        {100, 200, 800, 600, {250, 0, 300, 600}},
        {400, 300, 800, 600, {0, 0, 800, 600}},
        {1000, 500, 1024, 768, {0, 128, 1024, 512}},
        {500, 1000, 1024, 768, {320, 0, 384, 768}},
        {0, 0, 800, 600, {0, 0, 800, 600}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.iw << " x " << c.ih << " in " << c.w << " x " << c.h);
        ScreenQuad q;
        q.FitImage(ImageOfSize(c.iw, c.ih), c.w, c.h);
        EXPECT_TRUE(Spans(q, c.expected));
        EXPECT_EQ(1.0f, q.corners[0].z);
        EXPECT_EQ(1.0f, q.corners[0].v);
    }
}

TEST_F(ScreenQuadTest, BackBufferQuadAndRescaleUseTheBackBuffersSize)
{
    EXPECT_TRUE(Spans(ScreenQuad::FromBackBuffer(), {0, 0, 1024, 768}));

    // A picture fitted into a 1 × 1 layer, then stretched to the back buffer.
    ScreenQuad q;
    q.FitImage(ImageOfSize(100, 100), 1, 1);
    q.ScaleToBackBuffer(1, 1);
    EXPECT_TRUE(Spans(q, {0, 0, 1024, 768}));
}

// 8 × 8 cells: 81 vertices, column by column from the bottom edge up; the
// corners land on the quad's corners and the texture coordinates follow.
TEST_F(ScreenQuadTest, FillQuadGridSpansTheQuadColumnByColumn)
{
    DS_SimpleMesh<DX_V::PT> grid;
    ASSERT_EQ(D3D_OK, CreateVertexBufferPT(81, grid, 0, D3DPOOL_MANAGED));
    const ScreenQuad quad = ScreenQuad::Rectangle(16, 32, 80, 160);
    FillQuadGrid(grid, 8, 8, quad);
    const auto v = ReadVertices(grid);
    ASSERT_EQ(81u, v.size());
    const struct {
        int index;
        float x, y, u, v;
    } expected[] = {
        {0, 16, 160, 0, 1},  {8, 16, 32, 0, 0},     {72, 80, 160, 1, 1}, {80, 80, 32, 1, 0},
        {4, 16, 96, 0, 0.5}, {9, 24, 160, 0.125, 1}, {40, 48, 96, 0.5, 0.5},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.index);
        EXPECT_FLOAT_EQ(e.x, v[e.index].x);
        EXPECT_FLOAT_EQ(e.y, v[e.index].y);
        EXPECT_FLOAT_EQ(1.0f, v[e.index].z);
        EXPECT_FLOAT_EQ(e.u, v[e.index].u);
        EXPECT_FLOAT_EQ(e.v, v[e.index].v);
    }
}

// A grid bigger than the buffer, or without cells, writes nothing rather
// than running past the buffer's end.
TEST_F(ScreenQuadTest, FillQuadGridLeavesABufferTooSmallForTheGridUntouched)
{
    DS_SimpleMesh<DX_V::PT> grid;
    ASSERT_EQ(D3D_OK, CreateVertexBufferPT(81, grid, 0, D3DPOOL_MANAGED));
    {
        void* data = nullptr;
        ASSERT_EQ(D3D_OK, grid.vertices->Lock(0, 0, &data, 0));
        std::memset(data, 0, 81 * sizeof(DX_V::PT));
        grid.vertices->Unlock();
    }
    const ScreenQuad quad = ScreenQuad::Rectangle(1, 2, 3, 4);
    FillQuadGrid(grid, 9, 8, quad);
    FillQuadGrid(grid, 0, 8, quad);
    for (const DX_V::PT& vertex : ReadVertices(grid))
        ASSERT_EQ(0.0f, vertex.x);
}

// The splash placement: a square of two thirds of the height, centred.
TEST_F(ScreenQuadTest, LoadCenteredImageCentresAWhiteSquareWithTheResourcesTexture)
{
    TexturedQuad splash;
    EXPECT_EQ(S_OK, splash.LoadCenteredImage(5));
    EXPECT_TRUE(splash.texture);
    const auto v = ReadVertices(splash);
    ASSERT_EQ(4u, v.size());
    EXPECT_EQ(D3DPT_TRIANGLESTRIP, splash.primitiveType);
    EXPECT_EQ(2u, splash.primitiveCount);
    const float expected[4][4] = {{256, 640, 0, 1}, {256, 128, 0, 0}, {768, 640, 1, 1}, {768, 128, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(expected[i][0], v[i].x);
        EXPECT_FLOAT_EQ(expected[i][1], v[i].y);
        EXPECT_EQ(0.0f, v[i].z);
        EXPECT_EQ(1.0f, v[i].rhw);
        EXPECT_EQ(expected[i][2], v[i].u);
        EXPECT_EQ(expected[i][3], v[i].v);
        EXPECT_EQ(0xFFFFFFFFu, v[i].color);
    }

    // The default image does not exist: the quad is placed but untextured.
    TexturedQuad fallback;
    fallback.LoadDefaultImage(ScreenQuad::FromBackBuffer());
    EXPECT_FALSE(fallback.texture);
    EXPECT_EQ(4u, ReadVertices(fallback).size());
}

TEST_F(ScreenQuadTest, SetAlphaAndSetCornersKeepWhatTheyDoNotSet)
{
    TexturedQuad quad;
    quad.SetTexture(nullptr, ScreenQuad::Rectangle(0, 0, 10, 10));
    quad.SetAlpha(128, 0.25f);
    quad.SetCorners(ScreenQuad::Rectangle(5, 6, 7, 8));
    auto v = ReadVertices(quad);
    ASSERT_EQ(4u, v.size());
    for (const auto& vertex : v)
        EXPECT_EQ(0x20FFFFFFu, vertex.color);
    EXPECT_EQ(5.0f, v[0].x);
    EXPECT_EQ(8.0f, v[0].y);
    EXPECT_EQ(7.0f, v[3].x);
    EXPECT_EQ(6.0f, v[3].y);

    // An alpha beyond the byte is held at opaque instead of wrapping round.
    quad.SetAlpha(200, 2.0f);
    v = ReadVertices(quad);
    EXPECT_EQ(0xFFFFFFFFu, v[1].color);
}

TEST_F(ScreenQuadTest, SetTextureSharesTheTextureOnce)
{
    ComHolder<IDirect3DTexture9> texture = SolidTexture(Device(), 0xFF00FF00);
    ASSERT_TRUE(texture);
    TexturedQuad quad;
    quad.SetTexture(texture.Get(), ScreenQuad::FromBackBuffer());
    texture->AddRef();
    const ULONG shared = texture->Release();
    // The quad's own texture passed again changes no count.
    quad.SetTexture(quad.texture.Get(), ScreenQuad::FromBackBuffer());
    texture->AddRef();
    EXPECT_EQ(shared, texture->Release());
    EXPECT_EQ(2u, shared);
}

// A picture fitted into the back buffer is drawn in that rectangle (a 2:1
// picture letterboxed in a 1024 × 768 back buffer) and nowhere else.
TEST_F(ScreenQuadTest, TexturedQuadDrawsThePictureWhereTheFitPlacesIt)
{
    ComHolder<IDirect3DTexture9> cells = CellTexture(Device(), 64);
    ASSERT_TRUE(cells);
    SizedTexture picture;
    picture.texture = cells.Get();
    picture.width = 1000;
    picture.height = 500;
    ScreenQuad fitted;
    fitted.FitImage(picture, 1024, 768);
    TexturedQuad quad;
    quad.SetTexture(cells.Get(), fitted);

    IDirect3DDevice9* d = Device();
    ASSERT_EQ(D3D_OK, d->BeginScene());
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF00FF, 1.0f, 0);
    SetPlainTextureStates(d);
    quad.BindForDraw();
    EXPECT_EQ(D3D_OK, d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount));
    d->EndScene();
    const Pixels pixels = device.ReadBackBuffer();
    ASSERT_FALSE(pixels.Empty());

    const Rgba magenta{255, 0, 255, 255};
    int checked = 0;
    for (int y = 4; y < 768; y += 16) {
        for (int x = 4; x < 1024; x += 16) {
            Rgba expected = magenta;
            const double u = (x + 0.5) / 1024.0;
            const double v = (y + 0.5 - 128.0) / 512.0;
            const bool inside = v >= 0 && v < 1;
            if (inside && !CellAt(u, v, 256, 128, 2, expected))
                continue;
            if (!inside && (std::fabs(v * 512) < 2 || std::fabs((v - 1) * 512) < 2))
                continue;
            ++checked;
            ASSERT_TRUE(ColourNear(pixels.At(x, y), expected, 12)) << "at " << x << ", " << y;
        }
    }
    EXPECT_GT(checked, 2500);
}
