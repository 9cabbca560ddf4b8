#include "scene/brushes/DS_FX_Constructor.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/TextureCopies.h"
#include "foundation/render/SceneView.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/EffectTechnique.h"
#include "scene/brushes/DS_BrushObj.h"
#include "scene/layerbase/DS_2D_Light.h"

#include <cmath>

namespace {

const wchar_t* const RecordName = L"DS_FX_Constructor";
const int32_t WrittenVersion = 2;
const int32_t FirstVersionWithScale = 2;

const unsigned int DefaultScaleValue = 50; // × 0.02: 1.0
const float ScaleStep = 0.02f;
// The size the editor keeps masks at.
const UINT StoredMaskSize = 512;

void CopyClock(MediaSpeedParam& to, const MediaSpeedParam& from)
{
    to.step = from.step;
    to.time = from.time;
    to.last = from.last;
}

} // namespace

DS_FX_Constructor::DS_FX_Constructor() : backgroundFlag(0), maskIdentity(GuidKey::Fresh())
{
    scale.scale = ScaleStep;
    scale.SetValue(DefaultScaleValue, nullptr);
}

DS_FX_Constructor::DS_FX_Constructor(const DS_FX_Constructor& other)
    : DS_ABObj_Constructor(other), speed(other.speed), backgroundFlag(other.backgroundFlag.value),
      effectLink(other.effectLink), scale(other.scale), maskIdentity(other.maskIdentity), mask(other.mask),
      effect(other.effect), fullMask(other.fullMask), commonParameters(other.commonParameters)
{
}

DS_FX_Constructor& DS_FX_Constructor::operator=(const DS_FX_Constructor& other)
{
    if (this == &other)
        return *this;
    DS_ABObj_Constructor::operator=(other);
    CopyScaled(speed, other.speed);
    CopyClock(speed, other.speed);
    backgroundFlag.value = other.backgroundFlag.value;
    effectLink.value = other.effectLink.value;
    CopyScaled(scale, other.scale);
    maskIdentity = other.maskIdentity;
    mask = other.mask;
    effect = other.effect;
    fullMask = other.fullMask;
    commonParameters = other.commonParameters;
    return *this;
}

// The members release the effect, then the masks, in reverse order.
DS_FX_Constructor::~DS_FX_Constructor() = default;

void DS_FX_Constructor::ReadBrushBase(ArchiveHandle& archive)
{
    const ObjectHeader header = ReadObjectHeader(archive);
    ReadScaledValue(archive, speed);
    int32_t flag = 0;
    archive->ReadInt(flag);
    backgroundFlag.value = flag;
    ReadGuid(archive, maskIdentity.id);
    archive->ReadString(maskIdentity.name);
    bool maskFlag = false;
    archive->ReadBool(maskFlag);
    maskIdentity.flag = maskFlag ? 1 : 0;
    ReadFileLink(archive, effectLink);
    if (header.version >= FirstVersionWithScale)
        ReadScaledValue(archive, scale);
    ReadConstructorBase(archive, *this);
}

void DS_FX_Constructor::Write(ArchiveHandle& archive)
{
    // The editor keeps every mask at one size and format, whatever the brush
    // was given.
    if (CurrentResManager && mask) {
        const ComHolder<IDirect3DTexture9> stored =
            ResampleTexture(StoredMaskSize, StoredMaskSize, mask.Get(), D3DFMT_A8);
        if (stored) {
            CurrentResManager->GuidTexture(maskIdentity) = stored.Get();
            CurrentResManager->RefreshGuidTextureBytes(maskIdentity);
        }
    }
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    uint32_t speedValue = speed.value;
    archive->WriteUInt(speedValue);
    int32_t flag = backgroundFlag.value;
    archive->WriteInt(flag);
    WriteGuid(archive, maskIdentity.id);
    ds_string maskName = maskIdentity.name;
    archive->WriteString(maskName);
    bool maskFlag = maskIdentity.flag != 0;
    archive->WriteBool(maskFlag);
    WriteFileLink(effectLink, archive);
    uint32_t scaleValue = scale.value;
    archive->WriteUInt(scaleValue);
    DS_ABObj_Constructor::Write(archive);
}

DS_ABObj* DS_FX_Constructor::CreateObject() { return new DS_BrushObj(Clone()); }

void DS_FX_Constructor::RenewIdentity()
{
    mask.Release();
    maskIdentity = GuidKey::Fresh();
}

void DS_FX_Constructor::BindResources(IDirect3DTexture9* maskTexture)
{
    if (CurrentResManager)
        effect = CurrentResManager->GetLinkEffect(effectLink);
    CheckTechniques();
    LookUpParameters();
    SetMask(maskTexture);
}

void DS_FX_Constructor::LookUpParameters()
{
    LookUpEffectParameters(effect.Get(), {&commonParameters.scale, &commonParameters.mask,
                            &commonParameters.background});
}

void DS_FX_Constructor::CheckTechniques()
{
    if (effect && !UsableTechnique(effect.Get(), TechniqueName()))
        effect.Release();
}

const char* DS_FX_Constructor::TechniqueName() const { return backgroundFlag.value != 0 ? "MainFX" : "Main"; }

void DS_FX_Constructor::SetMask(IDirect3DTexture9* maskTexture)
{
    if (mask.Get() != maskTexture)
        mask = maskTexture;
    if (!mask)
        EnsureFullMask();
}

void DS_FX_Constructor::EnsureFullMask()
{
    if (fullMask || !CurrentDevice)
        return;
    // Alpha alone is what the effects read; a device without A8 textures
    // takes a full colour one.
    for (const D3DFORMAT format : {D3DFMT_A8, D3DFMT_A8R8G8B8}) {
        ComHolder<IDirect3DTexture9> texture;
        if (FAILED(CurrentDevice->CreateTexture(1, 1, 1, 0, format, D3DPOOL_MANAGED, texture.Out(), nullptr)))
            continue;
        D3DLOCKED_RECT locked{};
        if (FAILED(texture->LockRect(0, &locked, nullptr, 0)))
            continue;
        if (format == D3DFMT_A8)
            *static_cast<uint8_t*>(locked.pBits) = 0xFF;
        else
            *static_cast<uint32_t*>(locked.pBits) = 0xFFFFFFFF;
        texture->UnlockRect(0);
        fullMask = texture;
        return;
    }
}

IDirect3DTexture9* DS_FX_Constructor::MaskOrFull() const { return mask ? mask.Get() : fullMask.Get(); }

void DS_FX_Constructor::Update(float t) { speed.AdvanceClock(t); }

bool DS_FX_Constructor::ReadsBackground() const { return backgroundFlag.value != 0 && effect; }

bool DS_FX_Constructor::WillDraw(DS_2D_Light& layer) const
{
    return effect && layer.GetPictureWidth() > 0 && layer.GetPictureHeight() > 0;
}

void DS_FX_Constructor::ApplyCommonEffectParameters(DS_2D_Light& layer)
{
    const int width = layer.GetPictureWidth();
    const int height = layer.GetPictureHeight();
    // Without a picture there is nothing to draw over, and its aspect would
    // be 0 / 0.
    if (!effect || width <= 0 || height <= 0)
        return;
    const float aspect = static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
    effect->SetTechnique(TechniqueName());
    const float s = std::isfinite(scale.result) && scale.result > SmallestBrushScale ? scale.result
                                                                                      : SmallestBrushScale;
    const float scaleValues[2] = {aspect / s, 1.0f / s};
    effect->SetFloatArray(commonParameters.scale.Handle(), scaleValues, 2);
    effect->SetTexture(commonParameters.mask.Handle(), MaskOrFull());
    effect->SetTexture(commonParameters.background.Handle(), layer.GetSceneTexture().Get());
    const TexelAlignedRedraw aligned(layer.SceneTextureIsCaptured());
    layer.DrawQuadWithEffect(layer.GetPictureQuad(), effect.Get());
}
