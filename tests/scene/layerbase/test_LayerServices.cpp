// The drawing services that runtime objects call on the layer: mesh parts,
// frame trees, sprite arrays, the overlay quad and the view-size stack.
#include "scene/layerbase/DS_2D_Light.h"

#include "foundation/render/ColouredQuads.h"
#include "scene/layerbase/SpriteArrayDrawable.h"
#include "tests/support/LayerTestSupport.h"
#include "tools/effects/CompiledEffectWriter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const FileKey PictureKey{L"picture.png", 9};
const float Side = 40.0f;
// Half-transparent red on the left texel, half-transparent blue on the right.
const D3DCOLOR HalfRed = 0x80FF0000;
const D3DCOLOR HalfBlue = 0x800000FF;

// A layer over a 256 × 256 picture on a 256 × 256 back buffer, so that
// picture pixels are back-buffer pixels, with the state a frame starts from.
class ServicesTest : public LayerTest<256, 256> {
protected:
    void SetUp() override
    {
        LayerTest<256, 256>::SetUp();
        picture = SolidTexture(Device(), 0xFF404040);
        AddPicture(manager, PictureKey, picture.Get(), 256, 256);
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    }

    template <class Draw>
    Pixels DrawOver(D3DCOLOR clearColour, Draw draw)
    {
        IDirect3DDevice9* d = Device();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, clearColour, 1.0f, 0);
        d->BeginScene();
        draw();
        d->EndScene();
        return device.ReadBackBuffer();
    }

    static D3DXMATRIX At(float x, float y)
    {
        D3DXMATRIX m;
        D3DXMatrixTranslation(&m, x, y, 0.0f);
        return m;
    }

    // The colour that blending each texel in turn over black gives, or the
    // last texel as it stands when nothing blends.
    static Rgba Expected(std::initializer_list<D3DCOLOR> draws, bool blended)
    {
        Rgba out = Rgba::FromArgb(0xFF000000);
        for (D3DCOLOR draw : draws) {
            Rgba src = Rgba::FromArgb(draw);
            if (!blended)
                src.a = 255;
            out = BlendOver(out, src);
        }
        return out;
    }

    ComHolder<IDirect3DTexture9> picture;
    DS_2D_Light layer;
};

// A particle system as the sprite drawing sees it: one quad of white,
// opaque vertices over (40, 40)..(80, 80).
class TestSprites : public SpriteArrayDrawable {
public:
    TestSprites()
    {
        const DX_V::PCT corners[4] = {{40, 80, 0, 0xFFFFFFFF, 0, 1},
                                      {40, 40, 0, 0xFFFFFFFF, 0, 0},
                                      {80, 80, 0, 0xFFFFFFFF, 1, 1},
                                      {80, 40, 0, 0xFFFFFFFF, 1, 0}};
        MakeIndexedQuad(geometry, corners);
    }

    const DS_IndexedMesh<DX_V::PCT>& SpriteGeometry() const override { return geometry; }
    IDirect3DTexture9* CurrentFrameTexture() const override { return frame.Get(); }
    IDirect3DTexture9* GetSecondTexture() const override { return second.Get(); }
    int AdditiveFlag() const override { return additive; }

    DS_IndexedMesh<DX_V::PCT> geometry;
    ComHolder<IDirect3DTexture9> frame;
    ComHolder<IDirect3DTexture9> second;
    int additive = 0;
};

// Two passes: opaque blue, then half-transparent red blended over it.
ComHolder<ID3DXEffect> TwoPassEffect(IDirect3DDevice9* device)
{
    CompiledEffectWriter writer;
    EffectTechnique& technique = writer.AddTechnique("TwoPasses");
    technique.passes.push_back(EffectPass{"Blue",
                                          {
                                              {EffectState::AlphaBlendEnable, 0, FALSE},
                                              {EffectState::TextureFactor, 0, 0xFF0000FF},
                                              {EffectState::ColorOp, 0, D3DTOP_SELECTARG1},
                                              {EffectState::ColorArg1, 0, D3DTA_TFACTOR},
                                          }});
    technique.passes.push_back(EffectPass{"Red",
                                          {
                                              {EffectState::AlphaBlendEnable, 0, TRUE},
                                              {EffectState::SrcBlend, 0, D3DBLEND_SRCALPHA},
                                              {EffectState::DestBlend, 0, D3DBLEND_INVSRCALPHA},
                                              {EffectState::TextureFactor, 0, HalfRed},
                                              {EffectState::ColorOp, 0, D3DTOP_SELECTARG1},
                                              {EffectState::ColorArg1, 0, D3DTA_TFACTOR},
                                              {EffectState::AlphaOp, 0, D3DTOP_SELECTARG1},
                                              {EffectState::AlphaArg1, 0, D3DTA_TFACTOR},
                                          }});
    return LoadEffect(device, writer.Write());
}

// A square of side Side at the origin, in picture pixels, of vertex format
// V (position first, the rest zero).
template <class V>
void MakeIndexedSquare(DS_IndexedMesh<V>& mesh)
{
    const float xy[4][2] = {{0, Side}, {0, 0}, {Side, Side}, {Side, 0}};
    V corners[4]{};
    for (int i = 0; i < 4; ++i) {
        corners[i].x = xy[i][0];
        corners[i].y = xy[i][1];
    }
    MakeIndexedQuad(mesh, corners);
}

} // namespace

// Every pass of the effect draws: the quad and the mesh at their own frame,
// the grid wherever the transform it is given puts it (its effect carries
// its matrix); without an effect nothing is drawn.
TEST_F(ServicesTest, EffectDrawsRunEveryPass)
{
    ComHolder<ID3DXEffect> effect = TwoPassEffect(Device());
    ASSERT_TRUE(effect);
    DS_SimpleMesh<DX_V::PT> quad;
    MakeQuadPT(quad, 0, 0, Side, Side);
    quad.world = At(20, 20);
    DS_IndexedMesh<DX_V::PCT> mesh;
    MakeIndexedSquare(mesh);
    mesh.world = At(100, 20);
    DS_IndexedMesh<DX_V::PT> grid;
    MakeIndexedSquare(grid);
    grid.world = At(100, 100);

    const Pixels pixels = DrawOver(0xFF000000, [&] {
        layer.DrawQuadWithEffect(quad, effect.Get());
        layer.DrawMeshWithEffect(mesh, effect.Get());
        GlobalSceneView->SetWorld(At(180, 20));
        layer.DrawGridWithEffect(grid, effect.Get());
        layer.DrawQuadWithEffect(quad, nullptr);
    });
    const Rgba bothPasses = BlendOver(Rgba::FromArgb(0xFF0000FF), Rgba::FromArgb(HalfRed));
    for (const POINT& p : {POINT{40, 40}, POINT{120, 40}, POINT{200, 40}})
        EXPECT_TRUE(ColourNear(pixels.At(p.x, p.y), bothPasses, 4)) << p.x << ", " << p.y;
    EXPECT_TRUE(ColourNear(pixels.At(120, 120), Rgba::FromArgb(0xFF000000), 0));
}

// Every instance frame draws the front faces (by its own winding) first;
// a two-sided part then draws every frame's back faces, blended. Two frames
// at one place show the four draws in that order.
TEST_F(ServicesTest, MeshPartDrawsFrontsThenBacksAtEveryFrame)
{
    struct Case {
        bool twoSided;
        bool clockwiseFront;
        std::initializer_list<D3DCOLOR> draws;
    };
    const Case cases[] = {
        {true, true, {HalfRed, HalfRed, HalfBlue, HalfBlue}},
        {true, false, {HalfBlue, HalfBlue, HalfRed, HalfRed}},
        {false, true, {HalfRed, HalfRed}},
        {false, false, {HalfBlue, HalfBlue}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "two-sided " << c.twoSided << ", clockwise " << c.clockwiseFront);
        MeshPart part;
        MakeTwoWindingSquares(part, Side);
        part.texture = TwoTexelTexture(Device(), HalfRed, HalfBlue).Get();
        part.twoSided = c.twoSided;
        DS_Frame first;
        DS_Frame second;
        for (DS_Frame* frame : {&first, &second}) {
            frame->world = At(100, 100);
            frame->clockwiseFront = c.clockwiseFront;
            part.instances.push_back(frame);
        }

        const Pixels pixels = DrawOver(0xFF000000, [&] { layer.DrawMeshPart(part); });
        EXPECT_TRUE(ColourNear(pixels.At(120, 120), Expected(c.draws, c.twoSided), 4));
        EXPECT_TRUE(ColourNear(pixels.At(60, 60), Rgba::FromArgb(0xFF000000), 0));
        DWORD blending = TRUE;
        Device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &blending);
        EXPECT_EQ(static_cast<DWORD>(FALSE), blending);
    }
}

// Each child frame gets both faces, counter-clockwise culling first, blended;
// a mesh without children draws nothing and leaves the state alone.
TEST_F(ServicesTest, FrameChildrenDrawBothFacesOfEveryChild)
{
    TexturedMesh<DX_V::PNT> mesh;
    MakeTwoWindingSquares(mesh, Side);
    mesh.texture = TwoTexelTexture(Device(), HalfRed, HalfBlue).Get();
    DS_Frame left;
    DS_Frame right;
    left.world = At(20, 100);
    right.world = At(150, 100);
    mesh.children = {&left, &right};

    const Pixels pixels = DrawOver(0xFF000000, [&] { layer.DrawFrameChildren(mesh); });
    const Rgba bothFaces = Expected({HalfRed, HalfBlue}, true);
    EXPECT_TRUE(ColourNear(pixels.At(40, 120), bothFaces, 4));
    EXPECT_TRUE(ColourNear(pixels.At(170, 120), bothFaces, 4));
    EXPECT_TRUE(ColourNear(pixels.At(100, 120), Rgba::FromArgb(0xFF000000), 0));

    mesh.children.clear();
    Device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    const Pixels untouched = DrawOver(0xFF000000, [&] { layer.DrawFrameChildren(mesh); });
    EXPECT_TRUE(untouched.AllNear(0, 0, 256, 256, Rgba::FromArgb(0xFF000000), 0));
    DWORD blending = FALSE;
    Device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &blending);
    EXPECT_EQ(static_cast<DWORD>(TRUE), blending);
}

// Half-transparent red sprites over grey: blended by default, added with the
// additive flag; a second texture adds a pass in its own colour, additive
// only for flag 1.
TEST_F(ServicesTest, SpriteArraysBlendOrAddByTheirFlag)
{
    const Rgba grey = Rgba::FromArgb(0xFF404040);
    const Rgba blended = BlendOver(grey, Rgba::FromArgb(HalfRed));
    struct Case {
        int additive;
        bool second;
        Rgba expected;
    };
    const Case cases[] = {
        {0, false, blended},
        {1, false, Rgba{192, 64, 64, 255}},
        {1, true, Rgba{blended.r, blended.g, 255, 255}},
        {2, true, Rgba{0, 0, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "additive " << c.additive << ", second " << c.second);
        TestSprites sprites;
        sprites.frame = SolidTexture(Device(), HalfRed).Get();
        if (c.second)
            sprites.second = SolidTexture(Device(), 0xFF0000FF).Get();
        sprites.additive = c.additive;
        const Pixels pixels = DrawOver(0xFF404040, [&] { layer.DrawSpriteArray(sprites); });
        EXPECT_TRUE(ColourNear(pixels.At(60, 60), c.expected, 4));
        EXPECT_TRUE(ColourNear(pixels.At(120, 120), grey, 0));
    }
}

// The fade quad shows exactly its own colour and opacity, also right after a
// sprite draw that left stage 0 modulating with a texture bound; blending
// stays on afterwards.
TEST_F(ServicesTest, OverlayQuadDrawsItsExactColourAfterASpriteDraw)
{
    struct Case {
        D3DCOLOR quad;
        Rgba expected;
    };
    const Case cases[] = {
        {0x80000000, BlendOver(Rgba::FromArgb(0xFFFFFFFF), Rgba::FromArgb(0x80000000))},
        {0xFF808080, Rgba::FromArgb(0xFF808080)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quad);
        TestSprites sprites;
        sprites.frame = SolidTexture(Device(), HalfRed).Get();
        DS_SimpleMesh<DX_V::SPC> overlay;
        SetQuadSPC(overlay, c.quad, ScreenQuad::Rectangle(100, 100, 200, 200));
        const Pixels pixels = DrawOver(0xFFFFFFFF, [&] {
            layer.DrawSpriteArray(sprites);
            layer.DrawOverlayQuad(overlay);
        });
        EXPECT_TRUE(ColourNear(pixels.At(150, 150), c.expected, 2));
        EXPECT_TRUE(ColourNear(pixels.At(220, 220), Rgba::FromArgb(0xFFFFFFFF), 0));
        DWORD blending = FALSE;
        Device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &blending);
        EXPECT_EQ(static_cast<DWORD>(TRUE), blending);
    }
}

// Pushing a surface's size draws in its pixels in the given mode; popping
// returns to the layer's size and the mode before the push; a pop with
// nothing pushed keeps both.
TEST_F(ServicesTest, ViewSizeStackReturnsToTheLayer)
{
    layer.SetPicturePosition(SceneView::Stretch);
    D3DSURFACE_DESC surface{};
    surface.Width = 512;
    surface.Height = 512;
    layer.PushViewSize(surface, SceneView::Capture);
    EXPECT_EQ(512, layer.layerWidth);
    EXPECT_EQ(SceneView::Capture, view.mode);
    EXPECT_FLOAT_EQ(512.0f / 256.0f, view.picture._11);

    layer.PopViewSize();
    EXPECT_EQ(256, layer.layerWidth);
    EXPECT_EQ(256, layer.layerHeight);
    EXPECT_EQ(SceneView::Stretch, view.mode);
    EXPECT_FLOAT_EQ(1.0f, view.picture._11);

    layer.PopViewSize();
    EXPECT_EQ(256, layer.layerWidth);
    EXPECT_EQ(SceneView::Stretch, view.mode);
}
