// The glowing object on the device, with the program's own glow effect:
// what reaches the back buffer (the glow in its colour around the arc, the
// core on top, the screen and normal composites), an object without an
// effect or a glow target leaving the scene alone, the glow gathered without
// the MAX blend operation, a device reset with the arc on its slide, and
// frames that allocate nothing.
#include "objects/particles/DS_GlowingObj.h"

#include "foundation/core/Random.h"
#include "foundation/core/RandomForTesting.h"
#include "objects/particles/DS_DischargeFXConstructor.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "scene/slideshow/DS_SlideContainer.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/BrushTestSupport.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/ParticleTestSupport.h"
#include "tests/support/TestTextures.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const FileKey PictureKey{L"C:\\Art\\grey.png", 1};
const FileKey GlowKey{L"C:\\Art\\glow.png", 2};
const FileKey HalfGlowKey{L"C:\\Art\\half-glow.png", 3};
const FileKey ArcKey{L"common_res.dll", 95};

const D3DCOLOR Grey = 0xFF404040;
// COLORREF yellow (0x00BBGGRR).
constexpr unsigned long YellowGlow = 0x0000FFFF;

const Rgba Scene = Rgba::FromArgb(Grey);
const Rgba White{255, 255, 255, 255};

// One column of eight texels, each strip (four texels) clear at its edges
// and opaque white in its middle: the arc's core.
ComHolder<IDirect3DTexture9> CoreTexture(IDirect3DDevice9* device)
{
    const D3DCOLOR rows[8] = {0, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0};
    return ColourTexture(device, 1, 8, [&rows](UINT, UINT y) { return rows[y]; });
}

} // namespace

// A grey 256 × 256 picture shown pixel for pixel, a plain white glow
// texture and the core texture as picture 95.
class GlowingObjTest : public LayerTest<256, 256> {
protected:
    void SetUp() override
    {
        LayerTest<256, 256>::SetUp();
        picture = SolidTexture(Device(), Grey);
        AddPicture(manager, PictureKey, picture.Get(), 256, 256);
        glow = SolidTexture(Device(), 0xFFFFFFFF);
        AddPicture(manager, GlowKey, glow.Get(), 16, 16);
        halfGlow = SolidTexture(Device(), 0x80808080);
        AddPicture(manager, HalfGlowKey, halfGlow.Get(), 16, 16);
        core = CoreTexture(Device());
        AddPicture(manager, ArcKey, core.Get(), 1, 8);
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    }

    // A straight white arc of four segments 40 pixels wide across the
    // middle, glowing yellow.
    static std::unique_ptr<DS_DischargeFXConstructor> Arc()
    {
        auto arc = std::make_unique<DS_DischargeFXConstructor>();
        arc->startPoint.value = D3DXVECTOR3(28, 128, 0);
        arc->endPoint.value = D3DXVECTOR3(228, 128, 0);
        arc->count.value = 4;
        arc->jitter.SetValue(0, nullptr);
        arc->baseSize.value = 40;
        arc->colour.value = 0x00FFFFFF;
        arc->glowColour.value = YellowGlow;
        arc->secondImage.value = GlowKey;
        return arc;
    }

    static CountedPtr<DS_ABObj> Make(DS_DischargeFXConstructor& arc)
    {
        DS_ABObj* object = arc.CreateObject();
        EXPECT_NE(nullptr, dynamic_cast<DS_GlowingObj*>(object));
        return CountedPtr<DS_ABObj>(object);
    }

    static DS_GlowingObj& Glowing(const CountedPtr<DS_ABObj>& object)
    {
        return *static_cast<DS_GlowingObj*>(object.Get());
    }

    Pixels Frame(const CountedPtr<DS_ABObj>& object, float time)
    {
        object->Update(time);
        return DrawSlideFrame(device, layer, {object});
    }

    ComHolder<IDirect3DTexture9> picture;
    ComHolder<IDirect3DTexture9> glow;
    ComHolder<IDirect3DTexture9> halfGlow;
    ComHolder<IDirect3DTexture9> core;
    DS_2D_Light layer;
};

// A fresh arc (its constructor flag clear, as the authoring tool makes one):
// making the object draws, for each of its particles, the size, the phase's
// sign and both shapes (two draws for every segment but the last) from the
// points it holds then; only loading the effect afterwards moves the points
// to (100, 100) and (R - 100, B - 100) of the picture and sets the flag.
TEST_F(GlowingObjTest, AFreshArcDrawsItsShapesThenTakesTheDefaultPoints)
{
    auto arc = Arc();
    arc->jitter.SetValue(25, nullptr);
    arc->flag = 0;
    arc->sizeFactorMin = 0.5f;
    arc->sizeFactorMax = 1.5f;
    const uint32_t seed = 77;
    ResetRandForTesting(seed);
    const CountedPtr<DS_ABObj> object = Make(*arc);
    const int next = Rand();
    const auto& made = static_cast<const DS_DischargeFXConstructor&>(Glowing(object).System());
    const int perParticle = 1 + 1 + 2 * 2 * (4 - 1);
    const std::vector<int> draws = DrawsFrom(seed, 4 * perParticle + 1);
    EXPECT_EQ(draws.back(), next);

    EXPECT_EQ(D3DXVECTOR3(100, 100, 0), made.startPoint.value);
    EXPECT_EQ(D3DXVECTOR3(156, 156, 0), made.endPoint.value);
    EXPECT_EQ(1, made.flag);
    // The shapes ran from the points held while the particles were made:
    // their last segments end on (228, 128).
    for (const std::vector<BoltPoint>* shape : {&made.fromPolyline, &made.toPolyline}) {
        ASSERT_EQ(4u, shape->size());
        const BoltPoint& last = shape->back();
        EXPECT_NEAR(228.0f, last.position.x + 0.5f * last.width * last.direction.x, 1e-3f);
        EXPECT_NEAR(128.0f, last.position.y + 0.5f * last.width * last.direction.y, 1e-3f);
    }
    // The last particle's draws: its size from the generator after the
    // three before it.
    const float lastSize = Between(arc->sizeFactorMin, arc->sizeFactorMax, draws[3 * perParticle]);
    EXPECT_FLOAT_EQ(lastSize, Glowing(object).items.back()->sizeFactor);
}

// The object loads the program's effect 97, the glow texture of its second
// image and picture 95 as its core, and makes its 512 × 512 target.
TEST_F(GlowingObjTest, TheObjectLoadsWhatItDrawsWith)
{
    auto arc = Arc();
    const CountedPtr<DS_ABObj> object = Make(*arc);
    const DS_GlowingObj& glowing = Glowing(object);
    EXPECT_TRUE(glowing.System().effect);
    EXPECT_EQ(glow.Get(), glowing.System().glowTexture.Get());
    EXPECT_EQ(core.Get(), glowing.System().sharpTexture.Get());
    ASSERT_TRUE(glowing.glowTarget.current);
    D3DSURFACE_DESC desc{};
    glowing.glowTarget.current->GetLevelDesc(0, &desc);
    EXPECT_EQ(512u, desc.Width);
    EXPECT_EQ(512u, desc.Height);
    EXPECT_TRUE(object->NeedsBackground());
    EXPECT_EQ(4u, glowing.items.size());

    // Glow variant 0 takes picture 98 for its core.
    arc->glowVariant.value = 0;
    const CountedPtr<DS_ABObj> plain = Make(*arc);
    EXPECT_EQ(98, Glowing(plain).System().mainImage.value.stamp);
}

// Screen (additive flag 1): around the arc the grey scene is brightened by
// the yellow glow, the core white on top, the rest of the scene as it was.
// The glow colour and strength reach the effect as (1, 1, 0, 1).
TEST_F(GlowingObjTest, TheGlowSurroundsTheArcInItsColourWithTheCoreOnTop)
{
    auto arc = Arc();
    const CountedPtr<DS_ABObj> object = Make(*arc);
    const Pixels pixels = Frame(object, 0.05f);

    EXPECT_TRUE(ColourNear(pixels.At(128, 40), Scene, 1));
    EXPECT_TRUE(ColourNear(pixels.At(128, 200), Scene, 1));
    EXPECT_TRUE(ColourNear(pixels.At(10, 128), Scene, 1));
    EXPECT_TRUE(ColourNear(pixels.At(80, 111), Rgba{255, 255, 64, 255}, 3));
    EXPECT_TRUE(ColourNear(pixels.At(180, 145), Rgba{255, 255, 64, 255}, 3));
    EXPECT_TRUE(ColourNear(pixels.At(80, 128), White, 3));
    EXPECT_TRUE(ColourNear(pixels.At(180, 128), White, 3));

    float blendColor[4] = {};
    Glowing(object).System().effect->GetFloatArray("BlendColor", blendColor, 4);
    EXPECT_EQ(1.0f, blendColor[0]);
    EXPECT_EQ(1.0f, blendColor[1]);
    EXPECT_EQ(0.0f, blendColor[2]);
    EXPECT_EQ(1.0f, blendColor[3]);
}

// At half strength the screen composite only brightens (blue stays the
// scene's), the normal one turns the scene half way to the glow colour
// (blue halves).
TEST_F(GlowingObjTest, ScreenBrightensWhereNormalPaintsOver)
{
    struct Case {
        int additive;
        Rgba glowOnly;
    };
    const Case cases[] = {{1, Rgba{159, 159, 64, 255}}, {0, Rgba{159, 159, 32, 255}}, {2, Rgba{159, 159, 32, 255}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.additive);
        auto arc = Arc();
        arc->additive.value = c.additive;
        arc->glowStrength.SetValue(50, nullptr);
        const Pixels pixels = Frame(Make(*arc), 0.05f);
        EXPECT_TRUE(ColourNear(pixels.At(80, 111), c.glowOnly, 3));
        EXPECT_TRUE(ColourNear(pixels.At(128, 40), Scene, 1));
    }
}

// Without its effect the object neither asks for the scene nor draws: the
// scene stays as drawn. Without its glow target it draws the core over the
// scene as it is.
TEST_F(GlowingObjTest, WithoutEffectOrTargetTheSceneStays)
{
    auto arc = Arc();
    arc->effectLink.value = FileKey{L"common_res.dll", 9999};
    const CountedPtr<DS_ABObj> none = Make(*arc);
    EXPECT_FALSE(Glowing(none).System().effect);
    EXPECT_FALSE(none->NeedsBackground());
    EXPECT_TRUE(Frame(none, 0.05f).AllNear(0, 0, 256, 256, Scene, 1));

    auto lit = Arc();
    const CountedPtr<DS_ABObj> object = Make(*lit);
    object->OnDeviceInvalidated();
    EXPECT_FALSE(Glowing(object).glowTarget.current);
    EXPECT_FALSE(object->NeedsBackground());
    const Pixels pixels = Frame(object, 0.05f);
    EXPECT_TRUE(ColourNear(pixels.At(80, 111), Scene, 1));
    EXPECT_TRUE(ColourNear(pixels.At(80, 128), White, 3));
}

// A document's own effect 97 that lacks a technique the object draws with,
// or holds one the device refuses (ValidateTechnique), is a missing effect:
// without it the composite would redraw the captured scene with the glow's
// technique, still set. The object lets go of the effect, asks for no scene
// and draws nothing, and the scene stays; after a reset the device is asked
// again.
TEST_F(GlowingObjTest, AMissingOrRefusedTechniqueIsAMissingEffect)
{
    const FileKey effectKey{L"common_res.dll", 97};
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"no composite", EffectWithRefusedTechniques({}, {"Blend_Max", "Common"})},
        {"no core", EffectWithRefusedTechniques({}, {"Blend_Max", "Blend_Screen", "Blend_Normal"})},
        {"no gathering", EffectWithRefusedTechniques({}, {"Blend_Screen", "Blend_Normal", "Common"})},
        {"refused composite", EffectWithRefusedTechniques({"Blend_Screen"}, {"Blend_Max", "Blend_Normal", "Common"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AddEffectRecord(manager, effectKey, c.bytes);
        auto arc = Arc();
        const CountedPtr<DS_ABObj> object = Make(*arc);
        EXPECT_FALSE(Glowing(object).System().effect);
        EXPECT_FALSE(object->NeedsBackground());
        EXPECT_TRUE(Frame(object, 0.05f).AllNear(0, 0, 256, 256, Scene, 1));
    }

    // Usable when made; after a reset the device refuses the composite.
    AddEffectRecord(manager, effectKey, EffectWithRefusedTechniques({}, {"Blend_Max", "Blend_Screen", "Common"}));
    auto arc = Arc();
    const CountedPtr<DS_ABObj> object = Make(*arc);
    ASSERT_TRUE(Glowing(object).System().effect);
    AddEffectRecord(manager, effectKey, EffectWithRefusedTechniques({"Blend_Screen"}, {"Blend_Max", "Common"}));
    Glowing(object).System().effect = manager.GetLinkEffect(Glowing(object).System().effectLink);
    object->OnDeviceRestored();
    EXPECT_FALSE(Glowing(object).System().effect);
    EXPECT_FALSE(object->NeedsBackground());
}

// After the composite the effect holds neither the captured scene nor the
// glow target: both live in the default pool and must go before a reset.
TEST_F(GlowingObjTest, TheCompositeLeavesNoTargetBound)
{
    auto arc = Arc();
    const CountedPtr<DS_ABObj> object = Make(*arc);
    ID3DXEffect* effect = Glowing(object).System().effect.Get();
    ASSERT_TRUE(effect);
    Frame(object, 0.05f);
    for (const char* name : {"Texture1", "Texture2"}) {
        SCOPED_TRACE(name);
        IDirect3DBaseTexture9* bound = nullptr;
        ASSERT_EQ(D3D_OK, effect->GetTexture(name, &bound));
        if (bound) {
            EXPECT_NE(Glowing(object).glowTarget.current.Get(), bound);
            D3DSURFACE_DESC desc{};
            static_cast<IDirect3DTexture9*>(bound)->GetLevelDesc(0, &desc);
            EXPECT_NE(D3DPOOL_DEFAULT, desc.Pool);
            bound->Release();
        }
    }
}

// Two segments on the same spot, each of half glow: gathered with MAX the
// target keeps one half; without the MAX operation they are screen-blended
// to three quarters (adding would reach the full).
TEST_F(GlowingObjTest, WithoutMaxTheGlowIsScreenBlended)
{
    for (bool max : {true, false}) {
        SCOPED_TRACE(max);
        auto arc = Arc();
        arc->count.value = 2;
        arc->secondImage.value = HalfGlowKey;
        arc->morphSpeed.SetValue(0, nullptr);
        const CountedPtr<DS_ABObj> object = Make(*arc);
        DS_GlowingObj& glowing = Glowing(object);
        EXPECT_TRUE(glowing.UsesMaxBlend());
        glowing.SetMaxBlend(max);
        auto& system = static_cast<DS_DischargeFXConstructor&>(glowing.System());
        // Both segments the same, and no new shape for a long while.
        system.fromPolyline[1] = system.fromPolyline[0];
        system.lastRegeneration = 1000.0f;
        Frame(object, 0.05f);

        const Pixels target = device.ReadTexture(glowing.glowTarget.current.Get());
        // The first segment covers picture x 28..128, y 108..148: twice that
        // in the target.
        const Rgba gathered = target.At(150, 256);
        EXPECT_NEAR(max ? 128 : 192, gathered.r, 3);
        EXPECT_NEAR(max ? 128 : 192, gathered.a, 3);
        EXPECT_EQ(0, target.At(150, 100).a);
    }
}

// Before a reset the slide's objects let go of their glow target with the
// layer's textures, so the reset succeeds; afterwards the next frame draws
// the arc with its glow again.
TEST_F(GlowingObjTest, AResetWithTheArcOnTheSlide)
{
    DS_SlideContainer slide;
    slide.layer = CountedPtr<DS_2D_Light>(new DS_2D_Light);
    ActivateLayer(*slide.layer, PictureKey, 256, 256, SceneView::Fit);
    auto arc = Arc();
    slide.visualObjects.push_back(Make(*arc));
    const auto frame = [&](float time) {
        slide.Update(time);
        IDirect3DDevice9* d = Device();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        d->BeginScene();
        slide.RenderScene();
        slide.FinishFrame();
        d->EndScene();
        return device.ReadBackBuffer();
    };
    EXPECT_TRUE(ColourNear(frame(0.05f).At(80, 111), Rgba{255, 255, 64, 255}, 3));

    // The fixture's own layer holds default-pool textures too.
    layer.OnDeviceInvalidated();
    slide.OnDeviceInvalidated();
    EXPECT_FALSE(Glowing(slide.visualObjects[0]).glowTarget.current);
    ASSERT_EQ(D3D_OK, device.Reset());
    slide.OnDeviceRestored();
    EXPECT_TRUE(Glowing(slide.visualObjects[0]).glowTarget.current);

    const Pixels after = frame(0.1f);
    EXPECT_TRUE(ColourNear(after.At(80, 111), Rgba{255, 255, 64, 255}, 3));
    EXPECT_TRUE(ColourNear(after.At(80, 128), White, 3));
    EXPECT_TRUE(ColourNear(after.At(128, 40), Scene, 1));
}

// After the first frame, frames of a jittered, flickering, regenerating arc
// allocate nothing.
TEST_F(GlowingObjTest, FramesAllocateNothing)
{
    auto arc = Arc();
    arc->count.value = 24;
    arc->jitter.SetValue(50, nullptr);
    const std::vector<CountedPtr<DS_ABObj>> objects{Make(*arc)};
    IDirect3DDevice9* d = Device();
    const auto frame = [&](float time) {
        objects[0]->Update(time);
        d->BeginScene();
        layer.BeginSceneCapture();
        layer.DrawBackground(false);
        DS_2D_Light::RenderObjects(layer, objects, 1);
        layer.FinishFrame();
        d->EndScene();
    };
    frame(0.0f);
    const long long before = AllocationsMade();
    for (float t = 0.05f; t < 3.0f; t += 0.05f)
        frame(t);
    EXPECT_EQ(before, AllocationsMade());
}
