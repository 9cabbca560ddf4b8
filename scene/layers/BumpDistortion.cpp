#include "scene/layers/BumpDistortion.h"

#include "foundation/geometry/MeshBuffers.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/RenderTargetPair.h"
#include "foundation/render/VertexLock.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/EffectTechnique.h"
#include "foundation/resources/FirstLinkTexture.h"
#include "res/resource.h"

namespace {

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t BumpPicture = 62;
const int32_t DistortionEffect = IDR_EFFECT_HEATHAZE;
const char* const Technique = "BumpmapDistortLow2";

// The strength the effect receives is the strength's result times this.
const float StrengthFactor = 0.05f;

const float PlaceholderWidth = 800.0f;
const float PlaceholderHeight = 600.0f;

// Bottom-left, top-left, bottom-right, top-right, as every picture strip.
void WritePositions(DS_SimpleMesh<DX_V::PT>& quad, float width, float height)
{
    VertexLock<DX_V::PT> lock(quad, 4);
    if (!lock)
        return;
    DX_V::PT* v = lock.Vertices();
    const float xs[4] = {0.0f, 0.0f, width, width};
    const float ys[4] = {height, 0.0f, height, 0.0f};
    for (int i = 0; i < 4; ++i) {
        v[i].x = xs[i];
        v[i].y = ys[i];
        v[i].z = 0.0f;
    }
}

} // namespace

BumpDistortion::BumpDistortion()
{
    bumpImage.value = FileKey{CommonModule, BumpPicture};
    effectLink.value = FileKey{CommonModule, DistortionEffect};
    SetScaled(speed, 50, 0.001f, 0.0f);
    SetScaled(strength, 25, 0.002f, 0.0f);
    SetScaled(bumpScale, 88, -0.009f, 1.0f);
}

bool BumpDistortion::Restore()
{
    if (SUCCEEDED(CreateQuadBufferPT(quad))) {
        VertexLock<DX_V::PT> lock(quad, 4);
        if (lock) {
            const DX_V::PT corners[4] = {{0.0f, PlaceholderHeight, 0.0f, 0.0f, 1.0f},
                                         {0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
                                         {PlaceholderWidth, PlaceholderHeight, 0.0f, 1.0f, 1.0f},
                                         {PlaceholderWidth, 0.0f, 0.0f, 1.0f, 0.0f}};
            for (int i = 0; i < 4; ++i)
                lock.Vertices()[i] = corners[i];
        }
    }
    effect.Release();
    if (!CurrentResManager)
        return false;
    bumpTexture = GetFirstLinkTexture(bumpImage).texture;
    effect = CurrentResManager->GetLinkEffect(effectLink);
    CheckTechnique();
    LookUpEffectParameters(effect.Get(), {&effectParameters.strength, &effectParameters.offset,
                                          &effectParameters.bumpScale, &effectParameters.sceneTexture,
                                          &effectParameters.bumpTexture});
    return static_cast<bool>(effect);
}

void BumpDistortion::CheckTechnique()
{
    if (effect && !UsableTechnique(effect.Get(), Technique))
        effect.Release();
}

void BumpDistortion::SetQuad(float width, float height)
{
    WritePositions(quad, width, height);
    // A picture without width has no shape to follow.
    aspect = width > 0.0f ? height / width : 1.0f;
}

void BumpDistortion::FrameMove(float t)
{
    if (!effect)
        return;
    speed.AdvanceClock(t);
    const float time = speed.time;
    effect->SetFloat(effectParameters.strength.Handle(), strength.result * StrengthFactor);
    const float offset[2] = {time, -time};
    effect->SetFloatArray(effectParameters.offset.Handle(), offset, 2);
    const float scale[2] = {bumpScale.result, aspect * bumpScale.result};
    effect->SetFloatArray(effectParameters.bumpScale.Handle(), scale, 2);
}

void BumpDistortion::Render(RenderTargetPair& pair)
{
    if (!effect || !CurrentDevice)
        return;
    effect->SetTexture(effectParameters.sceneTexture.Handle(), pair.current.Get());
    effect->SetTexture(effectParameters.bumpTexture.Handle(), bumpTexture.Get());
    effect->SetTechnique(Technique);
    UINT passes = 0;
    if (FAILED(effect->Begin(&passes, 0)))
        return;
    for (UINT pass = 0; pass < passes; ++pass) {
        effect->BeginPass(pass);
        CurrentDevice->SetVertexShader(nullptr);
        CurrentDevice->SetFVF(DX_V::PT::FVF);
        CurrentDevice->SetStreamSource(0, quad.vertices.Get(), 0, sizeof(DX_V::PT));
        CurrentDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        effect->EndPass();
    }
    effect->End();
    // The capture lives in the default pool; the effect must not keep it
    // bound (and referenced) through a device reset.
    effect->SetTexture(effectParameters.sceneTexture.Handle(), nullptr);
}
