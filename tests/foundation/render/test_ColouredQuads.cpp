#include "foundation/geometry/MeshBuffers.h"
#include "foundation/render/ColouredQuads.h"
#include "foundation/render/SceneView.h"
#include "foundation/resources/SizedTexture.h"
#include "tests/support/RenderTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ColouredQuadTest = DeviceTest<256, 256>;

const Rgba White{255, 255, 255, 255};

uint8_t AlphaOf(D3DCOLOR c) { return static_cast<uint8_t>(c >> 24); }

// What a stage-0 draw may leave behind, set up before the quad is drawn.
struct LeftoverState {
    const char* name;
    D3DTEXTUREOP op;
    DWORD arg2;
    D3DCOLOR texture;
};

// A sprite array leaves MODULATE with the diffuse colour as argument 2 (the
// fade alpha would be squared); another draw may leave a texture as argument
// 2 (the quad would take the texture's colour and alpha).
const LeftoverState Leftovers[] = {
    {"sprite array", D3DTOP_MODULATE, D3DTA_DIFFUSE, 0xFFFFFFFF},
    {"texture argument", D3DTOP_MODULATE, D3DTA_TEXTURE, 0x00FF0000},
};

void LeaveState(IDirect3DDevice9* d, const LeftoverState& state, IDirect3DTexture9* texture)
{
    d->SetTexture(0, texture);
    d->SetTextureStageState(0, D3DTSS_COLOROP, state.op);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, state.arg2);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, state.op);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, state.arg2);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
}

} // namespace

// Each corner's alpha from its own argument, in the argument order bottom
// left, bottom right, top left, top right; RGB kept; values beyond 0..1 held
// at the ends instead of wrapping.
TEST_F(ColouredQuadTest, SetQuadAlphasSPCSetsEachCornersOpacity)
{
    DS_SimpleMesh<DX_V::SPC> quad;
    SetQuadSPC(quad, 0x00123456, ScreenQuad::FromBackBuffer());
    ASSERT_EQ(4u, ReadVertices(quad).size());
    const struct {
        float a, b, c, d;
        uint8_t byCorner[4]; // bottom left, top left, bottom right, top right
    } cases[] = {
        {1, 0, 0, 0, {255, 0, 0, 0}},
        {0, 1, 0, 0, {0, 0, 255, 0}},
        {0, 0, 1, 0, {0, 255, 0, 0}},
        {0, 0, 0, 1, {0, 0, 0, 255}},
        {0.5f, 0.25f, 0.999f, 0.1f, {127, 254, 63, 25}},
        {1.5f, -0.01f, 2.0f, 0, {255, 255, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.a << " " << c.b << " " << c.c << " " << c.d);
        SetQuadAlphasSPC(quad, c.a, c.b, c.c, c.d);
        const auto v = ReadVertices(quad);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(c.byCorner[i], AlphaOf(v[i].color)) << "corner " << i;
            EXPECT_EQ(0x123456u, v[i].color & 0xFFFFFFu);
        }
    }
}

TEST_F(ColouredQuadTest, PictureQuadsKeepAlphaWhenTheirColourChanges)
{
    DS_SimpleMesh<DX_V::PC> quad;
    SetQuadPC(quad, 0x00FF0000, ScreenQuad::Rectangle(1, 2, 3, 4));
    SetQuadAlphasPC(quad, 1, 1, 0.5f, 0.5f);
    SetQuadRgbPC(quad, 0xAA00FF00);
    const auto v = ReadVertices(quad);
    ASSERT_EQ(4u, v.size());
    EXPECT_EQ(0xFF00FF00u, v[0].color);
    EXPECT_EQ(0x7F00FF00u, v[1].color);
    EXPECT_EQ(0xFF00FF00u, v[2].color);
    EXPECT_EQ(0x7F00FF00u, v[3].color);
    EXPECT_EQ(1.0f, v[0].x);
    EXPECT_EQ(4.0f, v[0].y);
    EXPECT_EQ(0.0f, v[0].z);
}

// Only the bottom-left corner opaque: the black quad darkens the white back
// buffer there and leaves the other corners white.
TEST_F(ColouredQuadTest, CornerAlphasReachTheBackBuffer)
{
    DS_SimpleMesh<DX_V::SPC> quad;
    SetQuadSPC(quad, 0x00000000, ScreenQuad::FromBackBuffer());
    SetQuadAlphasSPC(quad, 1, 0, 0, 0);

    IDirect3DDevice9* d = Device();
    ASSERT_EQ(D3D_OK, d->BeginScene());
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    SetPlainTextureStates(d);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    BindQuadSPCForDraw(quad);
    EXPECT_EQ(D3D_OK, d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount));
    d->EndScene();
    const Pixels p = device.ReadBackBuffer();
    ASSERT_FALSE(p.Empty());
    EXPECT_LT(p.At(1, 254).Brightness(), 16);
    EXPECT_TRUE(ColourNear(p.At(1, 1), White, 8));
    EXPECT_TRUE(ColourNear(p.At(254, 254), White, 8));
    EXPECT_TRUE(ColourNear(p.At(254, 1), White, 8));
    // Opacity falls off away from the corner.
    EXPECT_GT(p.At(64, 192).Brightness(), p.At(16, 240).Brightness() + 32);

    // All transparent: nothing reaches the back buffer.
    SetQuadAlphasSPC(quad, 0, 0, 0, 0);
    ASSERT_EQ(D3D_OK, d->BeginScene());
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    BindQuadSPCForDraw(quad);
    d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount);
    d->EndScene();
    EXPECT_TRUE(device.ReadBackBuffer().AllNear(0, 0, 256, 256, White, 2));
}

// A half-transparent black tint over white gives mid grey, whatever stage-0
// state the draw before it left.
TEST_F(ColouredQuadTest, DrawQuadPCDrawsTheQuadsExactColourOverLeftoverStageState)
{
    SceneView view;
    SizedTexture screenSized;
    screenSized.width = 256;
    screenSized.height = 256;
    DS_SimpleMesh<DX_V::PC> tint;
    SetQuadPC(tint, 0x00000000, ScreenQuad::Rectangle(0, 0, 256, 256));
    SetQuadAlphasPC(tint, 0.5f, 0.5f, 0.5f, 0.5f);

    IDirect3DDevice9* d = Device();
    for (const LeftoverState& leftover : Leftovers) {
        SCOPED_TRACE(leftover.name);
        ComHolder<IDirect3DTexture9> texture = SolidTexture(d, leftover.texture);
        ASSERT_EQ(D3D_OK, d->BeginScene());
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
        SetPlainTextureStates(d);
        // Picture pixels are back-buffer pixels here.
        view.Setup(256, 256, screenSized, SceneView::Stretch, false);
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        view.SetWorld(identity);
        LeaveState(d, leftover, texture.Get());
        DrawQuadPC(tint);
        d->EndScene();
        const Pixels p = device.ReadBackBuffer();
        ASSERT_FALSE(p.Empty());
        EXPECT_TRUE(ColourNear(p.Mean(16, 16, 240, 240), Rgba{128, 128, 128, 255}, 6));

        DWORD value = 0;
        d->GetTextureStageState(0, D3DTSS_COLORARG1, &value);
        EXPECT_EQ(static_cast<DWORD>(D3DTA_TEXTURE), value);
        d->GetTextureStageState(0, D3DTSS_ALPHAARG1, &value);
        EXPECT_EQ(static_cast<DWORD>(D3DTA_TEXTURE), value);
        d->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
        EXPECT_EQ(static_cast<DWORD>(TRUE), value);
    }
}
