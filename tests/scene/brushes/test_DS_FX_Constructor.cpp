// The brush base: its record, the runtime object, the mask and effect it
// binds, the common parameters and the two techniques' drawing over the
// layer's scene.
#include "tests/support/BrushTestSupport.h"

#include "scene/brushes/DS_BrushObj.h"
#include "scene/brushes/DS_FireFX.h"
#include "foundation/resources/EffectTechnique.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tests/support/RenderTestSupport.h"
#include "tools/document/BrushRecords.h"
#include "tools/effects/EffectCompiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const FileKey PictureKey{L"picture.png", 3};
const FileKey TestEffectKey{L"common_res.dll", 4000};
const D3DCOLOR PictureRed = 0xFFC00000;

// A brush effect of the tests' own: "Main" blends green where the mask is;
// "MainFX" redraws the background with green mixed in by the mask, opaque.
const char* const TestBrushEffect = R"(
float2 Scale;
texture Mask;
texture Background;
sampler MaskSampler { Texture = Mask; AddressU = Clamp; AddressV = Clamp; MinFilter = Point; MagFilter = Point; }
sampler BackgroundSampler { Texture = Background; AddressU = Clamp; AddressV = Clamp; MinFilter = Point;
                            MagFilter = Point; }
pixelshader MainPS(MaskSampler = s0) {
    ps_2_0
    def c0, 0, 1, 0, 1
    dcl t0.xy
    dcl_2d s0
    texld r0, t0, s0
    mov r1, c0
    mov r1.w, r0.w
    mov oC0, r1
}
pixelshader MainFXPS(MaskSampler = s0, BackgroundSampler = s1) {
    ps_2_0
    def c0, 0, 1, 0, 1
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s0
    texld r1, t0, s1
    lrp r2, r0.w, c0, r1
    mov r2.w, c0.w
    mov oC0, r2
}
technique Main { pass P0 { ZEnable = False; CullMode = None; Lighting = False; AlphaBlendEnable = True;
                           SrcBlend = SrcAlpha; DestBlend = InvSrcAlpha; PixelShader = MainPS; } }
technique MainFX { pass P0 { ZEnable = False; CullMode = None; Lighting = False; AlphaBlendEnable = False;
                             PixelShader = MainFXPS; } }
)";

// The smallest concrete brush: the common parameters and the picture quad.
class TestBrush : public DS_FX_Constructor {
public:
    TestBrush() { effectLink.value = TestEffectKey; }
    void Apply(DS_2D_Light& layer) override { ApplyCommonEffectParameters(layer); }
    DS_FX_Constructor* Clone() const override { return new TestBrush(*this); }
};

class BrushTest : public LayerTest<64, 64> {
protected:
    void SetUp() override
    {
        LayerTest<64, 64>::SetUp();
        const std::vector<uint8_t> compiled = CompileEffectSource(TestBrushEffect);
        ResourceRecord record(TestEffectKey.path);
        record.SetBytes(static_cast<int32_t>(compiled.size()), compiled.data());
        manager.Table().allRecords[TestEffectKey].push_back(record);
    }

    // The layer over a red picture of the given size, stretched over the
    // back buffer.
    void ShowPicture(UINT width, UINT height)
    {
        picture = SolidTexture(Device(), PictureRed);
        AddPicture(manager, PictureKey, picture.Get(), width, height);
        ActivateLayer(layer, PictureKey, 64, 64, SceneView::Stretch);
    }

    // A brush whose mask covers the left half of the picture.
    CountedPtr<DS_ABObj> LeftHalfBrush(int backgroundFlag)
    {
        TestBrush brush;
        brush.backgroundFlag.value = backgroundFlag;
        std::vector<uint8_t> leftHalf(64, 0);
        std::fill(leftHalf.begin(), leftHalf.begin() + 32, uint8_t{255});
        manager.GuidTexture(brush.maskIdentity) = AlphaTexture(Device(), 64, 1, leftHalf).Get();
        return CountedPtr<DS_ABObj>(brush.CreateObject());
    }

    DS_2D_Light layer;
    ComHolder<IDirect3DTexture9> picture;
};

// The record of a brush base, as a water brush of a document stores it.
DocumentBuilder::Bytes WaterBrushBase()
{
    FireContent fire;
    fire.version = 1;
    fire.base.speed = 73;
    fire.base.mask = GUID{0xDA5FE6D9, 0xF45A, 0x4F77, {0x98, 0xC7, 0x33, 0x93, 0x6F, 0x45, 0xB9, 0xF2}};
    fire.base.effectStamp = 90;
    fire.base.scale = 41;
    fire.base.name = L"Water brush";
    DocumentBuilder builder;
    FireRecord(builder, fire);
    return builder.Take();
}

} // namespace

// A brush base record as documents store one: the speed and scale take their
// values (and their results follow), the rest is stored as it stands. A
// version 1 base keeps the scale's default.
TEST(BrushRecord, ReadsTheBaseAndTheConstructorName)
{
    DS_FireFX brush;
    EXPECT_EQ(0u, ReadRecordInto(WaterBrushBase(), brush));

    EXPECT_EQ(73u, brush.speed.value);
    EXPECT_FLOAT_EQ(1.46f, brush.speed.result);
    EXPECT_EQ(0, brush.backgroundFlag.value);
    EXPECT_EQ(L"{DA5FE6D9-F45A-4F77-98C7-33936F45B9F2}", GuidText(brush.maskIdentity.id));
    EXPECT_TRUE(brush.maskIdentity.name.empty());
    EXPECT_EQ(1, brush.maskIdentity.flag);
    EXPECT_EQ(L"common_res.dll", brush.effectLink.value.path);
    EXPECT_EQ(90, brush.effectLink.value.stamp);
    EXPECT_EQ(41u, brush.scale.value);
    EXPECT_FLOAT_EQ(0.82f, brush.scale.result);
    EXPECT_EQ(L"Water brush", brush.name);

    FireContent old;
    old.version = 1;
    old.base.version = 1;
    old.base.scale = 41;
    DS_FireFX oldBrush;
    EXPECT_EQ(0u, ReadRecordInto(FireRecordBytes(old), oldBrush));
    EXPECT_EQ(50u, oldBrush.scale.value);
}

// "Scale" is (aspect / s, 1 / s); a scale of 0 reaches the effect as the
// smallest scale rather than as infinities.
TEST_F(BrushTest, ScaleFollowsThePictureAndTheBrushScale)
{
    ShowPicture(800, 600);
    struct Case {
        unsigned value;
        float x, y;
    };
    for (const Case& c : {Case{50, 1.3333334f, 1.0f}, Case{25, 2.6666667f, 2.0f}, Case{0, 66.666664f, 50.0f}}) {
        SCOPED_TRACE(c.value);
        TestBrush brush;
        brush.scale.SetValue(c.value, nullptr);
        brush.BindResources(nullptr);
        ASSERT_TRUE(brush.effect);
        Device()->BeginScene();
        brush.Apply(layer);
        Device()->EndScene();
        float scale[2] = {};
        ASSERT_EQ(D3D_OK, brush.effect->GetFloatArray("Scale", scale, 2));
        EXPECT_FLOAT_EQ(c.x, scale[0]);
        EXPECT_FLOAT_EQ(c.y, scale[1]);
    }
}

// Both techniques change only the masked half: "Main" blends over the
// picture, "MainFX" redraws the whole picture area from the scene it reads.
TEST_F(BrushTest, BothTechniquesLeaveTheUnmaskedPictureAsItWas)
{
    ShowPicture(64, 64);
    for (int flag : {0, 1, 2}) {
        SCOPED_TRACE(flag);
        const CountedPtr<DS_ABObj> brush = LeftHalfBrush(flag);
        EXPECT_EQ(flag != 0, brush->NeedsBackground());
        const Pixels pixels = DrawSlideFrame(device, layer, {brush});
        EXPECT_TRUE(pixels.AllNear(2, 2, 30, 62, {0, 255, 0, 255}, 2));
        EXPECT_TRUE(pixels.AllNear(34, 2, 62, 62, Rgba::FromArgb(PictureRed), 2));
    }
}

// Objects that share a brush's clone share its mask and effect; the last to
// go lets go of them.
TEST_F(BrushTest, ObjectsOfOneBrushShareMaskAndEffect)
{
    ShowPicture(64, 64);
    TestBrush brush;
    const ComHolder<IDirect3DTexture9> mask = AlphaTexture(Device(), 1, 1, {255});
    manager.GuidTexture(brush.maskIdentity) = mask.Get();
    CountedPtr<DS_ABObj> first(brush.CreateObject());
    {
        CountedPtr<DS_ABObj> second(brush.CreateObject());
        auto* a = static_cast<DS_BrushObj*>(first.Get())->Brush();
        auto* b = static_cast<DS_BrushObj*>(second.Get())->Brush();
        EXPECT_EQ(a->mask.Get(), b->mask.Get());
        EXPECT_EQ(mask.Get(), a->mask.Get());
        EXPECT_EQ(a->effect.Get(), b->effect.Get());
    }
    auto* remaining = static_cast<DS_BrushObj*>(first.Get())->Brush();
    ASSERT_TRUE(remaining->effect);
    const Pixels pixels = DrawSlideFrame(device, layer, {first});
    EXPECT_TRUE(pixels.AllNear(2, 2, 62, 62, {0, 255, 0, 255}, 2));
}

// A technique the device refuses (ValidateTechnique) is a missing effect:
// the brush lets go of the effect when it binds it, and again when the
// device, asked after a reset, refuses the technique; it then reads no
// background and draws nothing, and the slide shows its picture.
TEST_F(BrushTest, ARefusedTechniqueIsAMissingEffect)
{
    const std::vector<uint8_t> bytes = EffectWithRefusedTechniques({"MainFX"}, {"Main"});
    const ComHolder<ID3DXEffect> loaded = LoadEffect(Device(), bytes);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(UsableTechnique(loaded.Get(), "Main"));
    EXPECT_FALSE(UsableTechnique(loaded.Get(), "MainFX"));
    EXPECT_FALSE(UsableTechnique(loaded.Get(), "Absent"));
    EXPECT_TRUE(TechniquesUsable(loaded.Get(), {"Main"}));
    EXPECT_FALSE(TechniquesUsable(loaded.Get(), {"Main", "MainFX"}));

    AddEffectRecord(manager, TestEffectKey, bytes);
    ShowPicture(64, 64);
    const CountedPtr<DS_ABObj> refused = LeftHalfBrush(1);
    EXPECT_FALSE(static_cast<DS_BrushObj*>(refused.Get())->Brush()->effect);
    EXPECT_FALSE(refused->NeedsBackground());
    EXPECT_TRUE(DrawSlideFrame(device, layer, {refused}).AllNear(0, 0, 64, 64, Rgba::FromArgb(PictureRed), 2));

    const CountedPtr<DS_ABObj> accepted = LeftHalfBrush(0);
    DS_FX_Constructor& brush = *static_cast<DS_BrushObj*>(accepted.Get())->Brush();
    ASSERT_TRUE(brush.effect);
    brush.backgroundFlag.value = 1;
    accepted->OnDeviceRestored();
    EXPECT_FALSE(brush.effect);
    EXPECT_FALSE(accepted->NeedsBackground());
    EXPECT_TRUE(DrawSlideFrame(device, layer, {accepted}).AllNear(0, 0, 64, 64, Rgba::FromArgb(PictureRed), 2));
}

// A brush without an effect draws nothing and, whatever its flag, does not
// make the layer give up the scene: the picture stays. A GUID the document
// has no texture for gets an empty slot, and the brush then covers its whole
// area.
TEST_F(BrushTest, MissingEffectOrMaskNeverBlanksTheScene)
{
    ShowPicture(64, 64);
    TestBrush lost;
    lost.effectLink.value = FileKey{L"absent.dll", 4001};
    lost.backgroundFlag.value = 1;
    const CountedPtr<DS_ABObj> withoutEffect(lost.CreateObject());
    EXPECT_FALSE(withoutEffect->NeedsBackground());
    EXPECT_TRUE(DrawSlideFrame(device, layer, {withoutEffect}).AllNear(0, 0, 64, 64, Rgba::FromArgb(PictureRed), 2));

    TestBrush unmasked;
    const CountedPtr<DS_ABObj> withoutMask(unmasked.CreateObject());
    EXPECT_EQ(1u, manager.Table().guidTextures.count(unmasked.maskIdentity));
    EXPECT_FALSE(manager.Table().guidTextures[unmasked.maskIdentity]);
    EXPECT_TRUE(DrawSlideFrame(device, layer, {withoutMask}).AllNear(2, 2, 62, 62, {0, 255, 0, 255}, 2));
}

// Without a picture there is no aspect: nothing is set or drawn.
TEST_F(BrushTest, NoPictureDrawsNothing)
{
    ShowPicture(0, 0);
    TestBrush brush;
    brush.BindResources(nullptr);
    const float before[2] = {7.0f, 7.0f};
    brush.effect->SetFloatArray("Scale", before, 2);
    brush.Apply(layer);
    float after[2] = {};
    brush.effect->GetFloatArray("Scale", after, 2);
    EXPECT_EQ(7.0f, after[0]);
    EXPECT_EQ(7.0f, after[1]);
}

// The clock starts at zero and its first step is at most 0.2 s, whatever the
// application time.
TEST(BrushClock, FirstStepIsCapped)
{
    TestBrush brush;
    brush.speed.scale = 0.02f;
    brush.speed.SetValue(50, nullptr);
    brush.Update(1000.0f);
    EXPECT_FLOAT_EQ(0.2f, brush.Time());
    brush.Update(1000.1f);
    EXPECT_NEAR(0.3f, brush.Time(), 1e-4f);
}
