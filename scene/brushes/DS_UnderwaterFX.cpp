#include "scene/brushes/DS_UnderwaterFX.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "res/resource.h"

namespace {

const wchar_t* const RecordName = L"DS_UnderwaterFX";
const int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t UnderwaterEffect = IDR_EFFECT_UNDERWATER;
const unsigned int DefaultSpeed = 25;

// "time" runs at this single-precision fraction of the brush time.
const float TimeRate = 0.08f;

} // namespace

DS_UnderwaterFX::DS_UnderwaterFX()
{
    speed.SetValue(DefaultSpeed, nullptr);
    effectLink.value = FileKey{CommonModule, UnderwaterEffect};
    SetScaled(amplitude, 50, 0.000125f, 0.0f);
    SetScaled(wavelength, 50, 0.002f, 0.001f);
}

DS_UnderwaterFX::DS_UnderwaterFX(const DS_UnderwaterFX& other)
    : DS_FX_Constructor(other), amplitude(other.amplitude), wavelength(other.wavelength),
      effectParameters(other.effectParameters)
{
}

DS_UnderwaterFX& DS_UnderwaterFX::operator=(const DS_UnderwaterFX& other)
{
    if (this == &other)
        return *this;
    DS_FX_Constructor::operator=(other);
    CopyScaled(amplitude, other.amplitude);
    CopyScaled(wavelength, other.wavelength);
    effectParameters = other.effectParameters;
    return *this;
}

DS_UnderwaterFX::~DS_UnderwaterFX() = default;

void DS_UnderwaterFX::Read(ArchiveHandle& archive, int32_t)
{
    ReadScaledValue(archive, amplitude);
    ReadScaledValue(archive, wavelength);
    ReadBrushBase(archive);
}

void DS_UnderwaterFX::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteScaledValue(archive, amplitude);
    WriteScaledValue(archive, wavelength);
    DS_FX_Constructor::Write(archive);
}

DS_FX_Constructor* DS_UnderwaterFX::Clone() const { return new DS_UnderwaterFX(*this); }

void DS_UnderwaterFX::LookUpParameters()
{
    DS_FX_Constructor::LookUpParameters();
    LookUpEffectParameters(effect.Get(), {&effectParameters.frequency, &effectParameters.amplitude,
                            &effectParameters.time});
}

void DS_UnderwaterFX::Apply(DS_2D_Light& layer)
{
    if (!effect)
        return;
    const int width = layer.GetPictureWidth();
    const int height = layer.GetPictureHeight();
    // Without a picture height there is no aspect to keep (and the common
    // step draws nothing): the waves are left unstretched rather than
    // handed a NaN.
    const float aspect = height > 0 ? static_cast<float>(static_cast<double>(static_cast<unsigned int>(width)) /
                                                         static_cast<double>(static_cast<unsigned int>(height)))
                                    : 1.0f;
    const float f = 1.0f / wavelength.result;
    const float frequency[2] = {f * aspect, f};
    effect->SetFloatArray(effectParameters.frequency.Handle(), frequency, 2);
    effect->SetFloat(effectParameters.amplitude.Handle(), amplitude.result);
    effect->SetFloat(effectParameters.time.Handle(), Time() * TimeRate);
    ApplyCommonEffectParameters(layer);
}
