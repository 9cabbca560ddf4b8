#include "objects/particles/DS_GlowingObj.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/render/SceneView.h"
#include "foundation/resources/EffectTechnique.h"
#include "objects/particles/DS_GlowEffectCtrl.h"
#include "scene/layerbase/DS_2D_Light.h"

namespace {

// The scene view's mode that stretches the picture over a render target.
constexpr int StretchOverTarget = 3;
constexpr D3DCOLOR TransparentBlack = 0x00000000;

bool DeviceHasMaxBlend()
{
    D3DCAPS9 caps{};
    if (!CurrentDevice || FAILED(CurrentDevice->GetDeviceCaps(&caps)))
        return false;
    return (caps.PrimitiveMiscCaps & D3DPMISCCAPS_BLENDOP) != 0;
}

} // namespace

DS_GlowingObj::DS_GlowingObj(DS_GlowEffectCtrl* ownedClone) : DS_ABObj(ownedClone), glow(ownedClone)
{
    controller = ownedClone;
    BindControllerCount();
    ownedClone->LoadEffect();
    LookUpHandles();
    MakeGlowTarget();
}

// The target first, then the geometry (its count binder leaves the clone's
// count), then the clone.
DS_GlowingObj::~DS_GlowingObj() = default;

void DS_GlowingObj::LookUpHandles()
{
    handles = Handles();
    ID3DXEffect* e = glow->effect.Get();
    if (!e)
        return;
    handles.blendMax = UsableTechnique(e, "Blend_Max");
    handles.blendSoft = UsableTechnique(e, "Blend_Soft");
    handles.blendScreen = UsableTechnique(e, "Blend_Screen");
    handles.blendNormal = UsableTechnique(e, "Blend_Normal");
    handles.common = UsableTechnique(e, "Common");
    handles.texture1 = e->GetParameterByName(nullptr, "Texture1");
    handles.texture2 = e->GetParameterByName(nullptr, "Texture2");
    handles.blendColor = e->GetParameterByName(nullptr, "BlendColor");
    // Each of the three passes needs its technique. SetTechnique(NULL) fails
    // and keeps the one set before, so a technique that the document's
    // effect lacks, or that the device refuses, would redraw the captured
    // scene with the glow's own: the slide's scene would be lost. Such an
    // effect is a missing one.
    const bool gathers = handles.blendMax || handles.blendSoft;
    const D3DXHANDLE composite = glow->additive.value == 1 ? handles.blendScreen : handles.blendNormal;
    if (!gathers || !composite || !handles.common) {
        handles = Handles();
        glow->effect.Release();
    }
}

void DS_GlowingObj::MakeGlowTarget()
{
    maxBlend = DeviceHasMaxBlend();
    glowTarget.Create(GlowTargetSize, GlowTargetSize);
    targetDesc = D3DSURFACE_DESC{};
    if (glowTarget.current)
        glowTarget.current->GetLevelDesc(0, &targetDesc);
}

bool DS_GlowingObj::HasQuads() const { return vertices && indices && indexedPrimitiveCount != 0; }

bool DS_GlowingObj::NeedsBackground() { return glow->effect && glowTarget.current; }

void DS_GlowingObj::OnDeviceInvalidated()
{
    glowTarget.ReleaseTextures();
}

void DS_GlowingObj::OnDeviceRestored()
{
    if (!glowTarget.current)
        MakeGlowTarget();
    // The device is asked again: what it draws may differ after a reset.
    LookUpHandles();
}

void DS_GlowingObj::Update(float time)
{
    glow->PreUpdate();
    UpdateParticles(time);
    RebuildParticleQuads();
}

void DS_GlowingObj::GatherGlow(DS_2D_Light& layer, ID3DXEffect* e)
{
    // Without the MAX operation the effect's own fallback, when it has one.
    e->SetTechnique((maxBlend && handles.blendMax) || !handles.blendSoft ? handles.blendMax : handles.blendSoft);
    e->SetTexture(handles.texture1, glow->glowTexture.Get());
    glowTarget.BeginTarget(glowTarget.current);
    // The picture stretched over the whole target, so that its texture
    // coordinates are the picture quad's.
    layer.PushViewSize(targetDesc, StretchOverTarget);
    CurrentDevice->Clear(0, nullptr, D3DCLEAR_TARGET, TransparentBlack, 1.0f, 0);
    if (HasQuads())
        layer.DrawMeshWithEffect(*this, e);
    glowTarget.EndTarget();
    layer.PopViewSize();
}

void DS_GlowingObj::Render(DS_2D_Light& layer)
{
    ID3DXEffect* e = glow->effect.Get();
    if (!e || !CurrentDevice)
        return;

    if (glowTarget.current) {
        // The glow colour 0x00BBGGRR, and the strength.
        const unsigned long c = glow->glowColour.value;
        const float blendColor[4] = {static_cast<float>(c & 0xFFu) / 255.0f,
                                     static_cast<float>((c >> 8) & 0xFFu) / 255.0f,
                                     static_cast<float>((c >> 16) & 0xFFu) / 255.0f, glow->glowStrength.result};
        GatherGlow(layer, e);
        // The scene with the glow over it, redrawn over the whole picture
        // (the scene was asked for, so what lies below is not kept).
        e->SetTechnique(glow->additive.value == 1 ? handles.blendScreen : handles.blendNormal);
        e->SetFloatArray(handles.blendColor, blendColor, 4);
        e->SetTexture(handles.texture1, layer.GetSceneTexture().Get());
        e->SetTexture(handles.texture2, glowTarget.current.Get());
        {
            const TexelAlignedRedraw aligned(layer.SceneTextureIsCaptured());
            layer.DrawQuadWithEffect(layer.GetPictureQuad(), e);
        }
        // Both live in the default pool: the effect must not hold them
        // through a device reset.
        e->SetTexture(handles.texture1, nullptr);
        e->SetTexture(handles.texture2, nullptr);
    }

    if (!HasQuads())
        return;
    e->SetTechnique(handles.common);
    e->SetTexture(handles.texture1, glow->sharpTexture.Get());
    layer.DrawMeshWithEffect(*this, e);
}
