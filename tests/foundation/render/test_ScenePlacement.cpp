// What reaches the back buffer when a picture is drawn through the scene
// view in each mode, read back pixel by pixel.
#include "foundation/geometry/MeshBuffers.h"
#include "foundation/render/ImageQuad.h"
#include "foundation/render/SceneView.h"
#include "tests/support/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const Rgba Black{0, 0, 0, 255};
const D3DCOLOR ClearColour = 0xFFFF00FF;

// Where the whole picture lies on the 1024 × 768 back buffer (it may reach
// beyond it), and whether what lies outside it is a black border.
struct Placement {
    const char* name;
    UINT imageW, imageH;
    int mode;
    double left, top, width, height;
};

// The cases of the letterbox (1000 × 500) and pillarbox (500 × 1000)
// pictures on a 1024 × 768 layer, in every mode.
const Placement Placements[] = {
    {"stretch letterbox", 1000, 500, SceneView::Stretch, 0, 0, 1024, 768},
    {"stretch pillarbox", 500, 1000, SceneView::Stretch, 0, 0, 1024, 768},
    {"fit letterbox", 1000, 500, SceneView::Fit, 0, 128, 1024, 512},
    {"fit pillarbox", 500, 1000, SceneView::Fit, 320, 0, 384, 768},
    {"fill letterbox", 1000, 500, SceneView::Fill, -256, 0, 1536, 768},
    {"fill pillarbox", 500, 1000, SceneView::Fill, 0, -640, 1024, 2048},
    // Drawing into the capture, the picture covers the whole target whatever
    // its shape; whoever reads the capture places it.
    {"capture letterbox", 1000, 500, SceneView::Capture, 0, 0, 1024, 768},
    {"capture pillarbox", 500, 1000, SceneView::Capture, 0, 0, 1024, 768},
};

class ScenePlacementTest : public DeviceTest<1024, 768> {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        cells = CellTexture(Device(), 64);
        ASSERT_TRUE(cells);
        ASSERT_EQ(D3D_OK, quad.CreateBuffer());
        view.ResetBorderColors();
    }

    // The layer's draw of its picture, then the Fit borders.
    void DrawScene(const Placement& placement, void (*beforeBorders)(IDirect3DDevice9*, IDirect3DTexture9*) = nullptr)
    {
        SizedTexture picture;
        picture.texture = cells.Get();
        picture.width = placement.imageW;
        picture.height = placement.imageH;
        quad.SetImage(picture);

        IDirect3DDevice9* d = Device();
        ASSERT_EQ(D3D_OK, d->BeginScene());
        d->Clear(0, nullptr, D3DCLEAR_TARGET, ClearColour, 1.0f, 0);
        SetPlainTextureStates(d);
        view.Setup(1024, 768, picture, placement.mode, false);
        view.SetWorld(quad.world);
        BindTexturedQuadPT(quad);
        EXPECT_EQ(D3D_OK, d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount));
        if (beforeBorders)
            beforeBorders(d, leftover.Get());
        view.DrawBorders();
        d->EndScene();
    }

    // Every 16th pixel: the picture's cell where the placement puts the
    // picture, black elsewhere (the borders). Pixels within two of a cell or
    // picture edge are skipped.
    void ExpectPlacement(const Placement& placement)
    {
        const Pixels pixels = device.ReadBackBuffer();
        ASSERT_FALSE(pixels.Empty());
        const double cellW = placement.width / CellsPerSide;
        const double cellH = placement.height / CellsPerSide;
        int checked = 0;
        for (int y = 5; y < 768; y += 16) {
            for (int x = 5; x < 1024; x += 16) {
                const double u = (x + 0.5 - placement.left) / placement.width;
                const double v = (y + 0.5 - placement.top) / placement.height;
                const bool inside = u >= 0 && u < 1 && v >= 0 && v < 1;
                Rgba expected = Black;
                if (inside && !CellAt(u, v, cellW, cellH, 2, expected))
                    continue;
                if (!inside && (std::fabs(x + 0.5 - placement.left) < 2 ||
                                std::fabs(x + 0.5 - placement.left - placement.width) < 2 ||
                                std::fabs(y + 0.5 - placement.top) < 2 ||
                                std::fabs(y + 0.5 - placement.top - placement.height) < 2))
                    continue;
                ++checked;
                ASSERT_TRUE(ColourNear(pixels.At(x, y), expected, 12)) << "at " << x << ", " << y;
            }
        }
        EXPECT_GT(checked, 2500);
    }

    ComHolder<IDirect3DTexture9> cells;
    ComHolder<IDirect3DTexture9> leftover;
    ImageQuad quad;
    SceneView view;
};

} // namespace

TEST_F(ScenePlacementTest, EachModePlacesThePictureAndFitDrawsBlackBorders)
{
    for (const Placement& placement : Placements) {
        SCOPED_TRACE(placement.name);
        DrawScene(placement);
        ExpectPlacement(placement);
    }
}

// Stage 0 left modulating with a texture as both operations' second argument
// (a texture of alpha 0): the borders still come out opaque black.
TEST_F(ScenePlacementTest, BordersDrawOpaqueBlackOverLeftoverStageState)
{
    leftover = SolidTexture(Device(), 0x00FFFFFF);
    ASSERT_TRUE(leftover);
    for (const Placement& placement : {Placements[2], Placements[3]}) {
        SCOPED_TRACE(placement.name);
        DrawScene(placement, [](IDirect3DDevice9* d, IDirect3DTexture9* texture) {
            d->SetTexture(0, texture);
            d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
            d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
            d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
            d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
            d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE);
            d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
            d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
        });
        ExpectPlacement(placement);

        DWORD value = 0;
        Device()->GetTextureStageState(0, D3DTSS_COLORARG1, &value);
        EXPECT_EQ(static_cast<DWORD>(D3DTA_TEXTURE), value);
        Device()->GetTextureStageState(0, D3DTSS_ALPHAARG1, &value);
        EXPECT_EQ(static_cast<DWORD>(D3DTA_TEXTURE), value);
    }
}

// Only Fit has borders: in the other modes DrawBorders draws nothing, even
// over a picture that does not cover the back buffer.
TEST_F(ScenePlacementTest, OtherModesDrawNoBorders)
{
    IDirect3DDevice9* d = Device();
    ASSERT_EQ(D3D_OK, d->BeginScene());
    d->Clear(0, nullptr, D3DCLEAR_TARGET, ClearColour, 1.0f, 0);
    SizedTexture letterbox;
    letterbox.width = 1000;
    letterbox.height = 500;
    for (int mode : {SceneView::Stretch, SceneView::Fill, SceneView::Capture}) {
        view.Setup(1024, 768, letterbox, mode, false);
        view.DrawBorders();
    }
    d->EndScene();
    EXPECT_TRUE(device.ReadBackBuffer().AllNear(0, 0, 1024, 768, Rgba{255, 0, 255, 255}, 2));
}
