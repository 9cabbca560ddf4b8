// The layer's frame: the picture, the scene capture handed to the objects
// that read the background, the finishing pass and a device reset.
#include "scene/layerbase/DS_2D_Light.h"

#include "foundation/model/DS_ABObj.h"
#include "tests/support/LayerTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using LayerFrameTest = LayerTest<256, 256>;
using LayerPlacementTest = LayerTest<1024, 768>;

const FileKey PictureKey{L"picture.png", 9};
const D3DCOLOR PictureGrey = 0xFF404040;

// What an object saw when it rendered.
struct Sighting {
    bool rendered = false;
    IDirect3DTexture9* sceneTexture = nullptr;
    bool onBackBuffer = false;
    int viewMode = -1;
};

bool DrawingOnBackBuffer()
{
    ComHolder<IDirect3DSurface9> target;
    ComHolder<IDirect3DSurface9> backBuffer;
    CurrentDevice->GetRenderTarget(0, target.Out());
    CurrentDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.Out());
    return target.Get() == backBuffer.Get();
}

// Paints a full-height stripe of its colour through the layer's effect
// service; an object that needs the background first redraws the whole
// picture area from the scene texture it was given, as brushes do.
class StripeObject : public DS_ABObj {
public:
    StripeObject(bool readsBackground, ID3DXEffect* paint, ID3DXEffect* copy, float left, float right)
        : DS_ABObj(nullptr), needsBackground(readsBackground), paintEffect(paint), copyEffect(copy)
    {
        MakeQuadPT(stripe, left, 0.0f, right, 256.0f);
    }

    void Render(DS_2D_Light& layer) override
    {
        seen.rendered = true;
        seen.sceneTexture = layer.GetSceneTexture().Get();
        seen.onBackBuffer = DrawingOnBackBuffer();
        seen.viewMode = GlobalSceneView->mode;
        if (needsBackground) {
            CurrentDevice->SetTexture(0, seen.sceneTexture);
            layer.DrawQuadWithEffect(layer.GetPictureQuad(), copyEffect);
        }
        layer.DrawQuadWithEffect(stripe, paintEffect);
    }
    void DrawHighlight(DS_2D_Light&, int) override {}
    void Update(float) override {}
    void OnViewChanged() override {}
    bool NeedsBackground() override { return needsBackground; }

    Sighting seen;

private:
    bool needsBackground;
    ID3DXEffect* paintEffect;
    ID3DXEffect* copyEffect;
    DS_SimpleMesh<DX_V::PT> stripe;
};

// A layer whose finishing pass reads the capture: it ends it there and shows
// it on the back buffer before the borders.
class CapturingLayer : public DS_2D_Light {
public:
    explicit CapturingLayer(ID3DXEffect* copy) : copyEffect(copy) {}
    bool NeedsSceneCapture() override { return true; }
    void FinishFrame() override
    {
        captureOpenAtFinish = !DrawingOnBackBuffer();
        viewModeAtFinish = GlobalSceneView->mode;
        RenderTargetPair& pair = EndSceneCapture(false);
        CurrentDevice->SetTexture(0, pair.current.Get());
        DrawQuadWithEffect(pictureQuad, copyEffect);
        DS_2D_Light::FinishFrame();
    }

    bool captureOpenAtFinish = false;
    int viewModeAtFinish = -1;

private:
    ID3DXEffect* copyEffect;
};

// Stripes in picture pixels, which are back-buffer pixels here.
struct Stripe {
    D3DCOLOR colour;
    float left, right;
};
const Stripe Red{0xFFFF0000, 10, 40};
const Stripe Green{0xFF00FF00, 60, 90};
const Stripe Blue{0xFF0000FF, 110, 140};
const Stripe Yellow{0xFFFFFF00, 160, 190};

class CaptureTest : public LayerFrameTest {
protected:
    void SetUp() override
    {
        LayerFrameTest::SetUp();
        picture = SolidTexture(Device(), PictureGrey);
        AddPicture(manager, PictureKey, picture.Get(), 256, 256);
        copy = CopyTextureEffect(Device());
        ASSERT_TRUE(copy);
    }

    // Shows the picture in Fit mode and keeps the pair's two textures.
    void Prepare(DS_2D_Light& layer)
    {
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
        first = layer.targetPair.textures[0].Get();
        second = layer.targetPair.textures[1].Get();
    }

    StripeObject* Add(const Stripe& stripe, bool readsBackground)
    {
        effects.push_back(FlatEffect(Device(), stripe.colour));
        auto* object = new StripeObject(readsBackground, effects.back().Get(), copy.Get(), stripe.left, stripe.right);
        objects.emplace_back(object);
        return object;
    }

    // One frame as the slide draws it; the back buffer as it ends.
    Pixels DrawFrame(DS_2D_Light& layer)
    {
        int n = layer.NeedsSceneCapture() ? 1 : 0;
        for (const CountedPtr<DS_ABObj>& object : objects)
            n += object->NeedsBackground() ? 1 : 0;
        IDirect3DDevice9* d = Device();
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        d->BeginScene();
        if (n > 0)
            layer.BeginSceneCapture();
        layer.DrawBackground(false);
        DS_2D_Light::RenderObjects(layer, objects, n);
        viewModeAfterObjects = view.mode;
        layer.FinishFrame();
        d->EndScene();
        return device.ReadBackBuffer();
    }

    // The picture with every stripe named, at the stripe's middle, and the
    // picture between the stripes.
    static void ExpectStripes(const Pixels& pixels, std::initializer_list<Stripe> stripes)
    {
        for (const Stripe& s : stripes) {
            const int x = static_cast<int>((s.left + s.right) / 2);
            EXPECT_TRUE(ColourNear(pixels.At(x, 128), Rgba::FromArgb(s.colour), 4)) << "stripe at " << x;
        }
        EXPECT_TRUE(ColourNear(pixels.At(50, 128), Rgba::FromArgb(PictureGrey), 4));
        EXPECT_TRUE(ColourNear(pixels.At(230, 20), Rgba::FromArgb(PictureGrey), 4));
    }

    ComHolder<IDirect3DTexture9> picture;
    ComHolder<ID3DXEffect> copy;
    std::vector<ComHolder<ID3DXEffect>> effects;
    std::vector<CountedPtr<DS_ABObj>> objects;
    int viewModeAfterObjects = -1;
    IDirect3DTexture9* first = nullptr;
    IDirect3DTexture9* second = nullptr;
};

} // namespace

// Without a reader of the background nothing is captured: the picture and
// every object go straight onto the back buffer, over the plain picture.
TEST_F(CaptureTest, NoBackgroundReaderDrawsOnTheBackBuffer)
{
    DS_2D_Light layer;
    Prepare(layer);
    StripeObject* top = Add(Red, false);
    StripeObject* bottom = Add(Green, false);

    const Pixels pixels = DrawFrame(layer);
    for (StripeObject* object : {top, bottom}) {
        EXPECT_TRUE(object->seen.onBackBuffer);
        EXPECT_EQ(picture.Get(), object->seen.sceneTexture);
        EXPECT_EQ(SceneView::Fit, object->seen.viewMode);
    }
    ExpectStripes(pixels, {Red, Green});
    EXPECT_EQ(picture.Get(), layer.GetSceneTexture().Get());
}

// Two readers last in the list: the last element flips and reads the
// picture as captured, drawing into the second texture; the one before ends
// the capture and reads that texture onto the back buffer; earlier objects
// draw onto the back buffer over the picture.
TEST_F(CaptureTest, TwoReadersOnAPlainLayer)
{
    DS_2D_Light layer;
    Prepare(layer);
    StripeObject* a = Add(Red, false);
    StripeObject* b = Add(Green, false);
    StripeObject* c = Add(Blue, true);
    StripeObject* d = Add(Yellow, true);

    const Pixels pixels = DrawFrame(layer);
    EXPECT_EQ(first, d->seen.sceneTexture);
    EXPECT_FALSE(d->seen.onBackBuffer);
    EXPECT_EQ(SceneView::Capture, d->seen.viewMode);
    EXPECT_EQ(second, c->seen.sceneTexture);
    EXPECT_TRUE(c->seen.onBackBuffer);
    EXPECT_EQ(SceneView::Fit, c->seen.viewMode);
    for (StripeObject* plain : {a, b}) {
        EXPECT_EQ(picture.Get(), plain->seen.sceneTexture);
        EXPECT_TRUE(plain->seen.onBackBuffer);
    }
    // The yellow stripe went into the capture and reached the screen through
    // the object that read it.
    ExpectStripes(pixels, {Red, Green, Blue, Yellow});
    EXPECT_EQ(SceneView::Fit, viewModeAfterObjects);

    // The first texture holds the picture alone, as the last element read it.
    const Pixels captured = device.ReadTexture(first);
    EXPECT_TRUE(captured.AllNear(0, 0, 256, 256, Rgba::FromArgb(PictureGrey), 4));
}

// A layer that reads the capture itself counts as one more reader: both
// objects flip, a plain object before them draws into the capture, and the
// capture is still open (in the capture placement) when the finishing pass
// runs.
TEST_F(CaptureTest, ALayerThatNeedsTheCaptureKeepsItOpenUntilItsFinish)
{
    CapturingLayer layer(copy.Get());
    Prepare(layer);
    StripeObject* a = Add(Red, false);
    StripeObject* c = Add(Blue, true);
    StripeObject* d = Add(Yellow, true);

    const Pixels pixels = DrawFrame(layer);
    EXPECT_EQ(first, d->seen.sceneTexture);
    EXPECT_EQ(second, c->seen.sceneTexture);
    EXPECT_EQ(picture.Get(), a->seen.sceneTexture);
    for (StripeObject* object : {a, c, d})
        EXPECT_FALSE(object->seen.onBackBuffer);
    EXPECT_EQ(SceneView::Capture, viewModeAfterObjects);
    EXPECT_TRUE(layer.captureOpenAtFinish);
    EXPECT_EQ(SceneView::Capture, layer.viewModeAtFinish);
    EXPECT_EQ(SceneView::Fit, view.mode);
    ExpectStripes(pixels, {Red, Blue, Yellow});
}

// An object between two readers finds the plain picture, not the capture it
// is drawn into; the reader before it brings its stripe to the screen.
TEST_F(CaptureTest, AnObjectBetweenReadersFindsThePicture)
{
    DS_2D_Light layer;
    Prepare(layer);
    StripeObject* x = Add(Blue, true);
    StripeObject* m = Add(Red, false);
    StripeObject* y = Add(Yellow, true);

    const Pixels pixels = DrawFrame(layer);
    EXPECT_EQ(picture.Get(), m->seen.sceneTexture);
    EXPECT_FALSE(m->seen.onBackBuffer);
    EXPECT_EQ(first, y->seen.sceneTexture);
    EXPECT_EQ(second, x->seen.sceneTexture);
    EXPECT_TRUE(x->seen.onBackBuffer);
    ExpectStripes(pixels, {Blue, Red, Yellow});
}

// Before a reset the layer lets go of its default-pool textures, so the
// reset succeeds; restored, it captures and draws as before.
TEST_F(CaptureTest, DrawsAgainAfterADeviceReset)
{
    DS_2D_Light layer;
    Prepare(layer);
    StripeObject* reader = Add(Blue, true);
    ExpectStripes(DrawFrame(layer), {Blue});

    layer.OnDeviceInvalidated();
    EXPECT_FALSE(layer.targetPair.current);
    EXPECT_FALSE(layer.GetSceneTexture());
    for (ComHolder<ID3DXEffect>& effect : effects)
        effect->OnLostDevice();
    copy->OnLostDevice();
    ASSERT_EQ(D3D_OK, device.Reset());
    for (ComHolder<ID3DXEffect>& effect : effects)
        effect->OnResetDevice();
    copy->OnResetDevice();
    layer.OnDeviceRestored();

    reader->seen = Sighting();
    const Pixels pixels = DrawFrame(layer);
    EXPECT_TRUE(reader->seen.rendered);
    EXPECT_EQ(layer.targetPair.current.Get(), reader->seen.sceneTexture);
    ExpectStripes(pixels, {Blue});
}

// Fit mode: the picture lies in the letterbox the scene view computed, the
// right way up, and the finishing pass paints the bands black over whatever
// was there.
TEST_F(LayerPlacementTest, BackgroundLiesWhereTheViewPlacesIt)
{
    ComHolder<IDirect3DTexture9> cells = CellTexture(Device(), 64);
    AddPicture(manager, PictureKey, cells.Get(), 1000, 500);
    DS_2D_Light layer;
    ActivateLayer(layer, PictureKey, 1024, 768, SceneView::Fit);

    IDirect3DDevice9* d = Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    d->BeginScene();
    layer.DrawBackground(false);
    layer.FinishFrame();
    d->EndScene();
    const Pixels pixels = device.ReadBackBuffer();

    // The picture spans x 0..1024 and y 128..640: each cell 256 × 128.
    for (int row = 0; row < CellsPerSide; ++row) {
        for (int column = 0; column < CellsPerSide; ++column) {
            const int x = 128 + 256 * column;
            const int y = 128 + 64 + 128 * row;
            EXPECT_TRUE(ColourNear(pixels.At(x, y), CellColour(column, row), 6))
                << "cell " << column << ", " << row;
        }
    }
    const Rgba black = Rgba::FromArgb(0xFF000000);
    EXPECT_TRUE(pixels.AllNear(0, 0, 1024, 126, black, 2));
    EXPECT_TRUE(pixels.AllNear(0, 642, 1024, 768, black, 2));
}

// A reader of the background redraws the capture of a 2:1 picture through
// the picture quad: the capture held the picture over the whole target, and
// redrawn in Fit mode it lands inside the letterbox, cell for cell where the
// picture itself lies, with the bands black.
TEST_F(LayerPlacementTest, ACaptureRedrawnInFitModeLandsInsideTheLetterbox)
{
    ComHolder<IDirect3DTexture9> cells = CellTexture(Device(), 64);
    AddPicture(manager, PictureKey, cells.Get(), 1000, 500);
    ComHolder<ID3DXEffect> copy = CopyTextureEffect(Device());
    ComHolder<ID3DXEffect> nothing = FlatEffect(Device(), 0x00000000);
    ASSERT_TRUE(copy);
    DS_2D_Light layer;
    ActivateLayer(layer, PictureKey, 1024, 768, SceneView::Fit);
    // Its stripe lies outside the picture: it only redraws the capture.
    std::vector<CountedPtr<DS_ABObj>> objects;
    objects.emplace_back(new StripeObject(true, nothing.Get(), copy.Get(), 0, 0));

    IDirect3DDevice9* d = Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    d->BeginScene();
    layer.BeginSceneCapture();
    layer.DrawBackground(false);
    DS_2D_Light::RenderObjects(layer, objects, 1);
    layer.FinishFrame();
    d->EndScene();
    const Pixels pixels = device.ReadBackBuffer();

    const Pixels captured = device.ReadTexture(layer.targetPair.current.Get());
    for (int row = 0; row < CellsPerSide; ++row) {
        for (int column = 0; column < CellsPerSide; ++column) {
            EXPECT_TRUE(ColourNear(captured.At(128 + 256 * column, 96 + 192 * row), CellColour(column, row), 6))
                << "captured cell " << column << ", " << row;
            EXPECT_TRUE(ColourNear(pixels.At(128 + 256 * column, 192 + 128 * row), CellColour(column, row), 6))
                << "shown cell " << column << ", " << row;
        }
    }
    const Rgba black = Rgba::FromArgb(0xFF000000);
    EXPECT_TRUE(pixels.AllNear(0, 0, 1024, 126, black, 2));
    EXPECT_TRUE(pixels.AllNear(0, 642, 1024, 768, black, 2));
}
