#include "scene/brushes/DS_LightFX.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "res/resource.h"

#include <cmath>

namespace {

const wchar_t* const RecordName = L"DS_LightFX";
const int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t LightEffect = IDR_EFFECT_LIGHT;
const unsigned int DefaultSpeed = 40;

const int BlinkMode = 1;
const int FirstFlickerMode = 2;

// The pulse's sine runs at 0.2 radians per unit of brush time.
const double PulseRate = 0.2;
// The flicker: two octaves of noise over 10 T / 75, the second at half
// weight.
const double FlickerRate = 10.0;
const double FlickerPeriod = 75.0;
const double FlickerFalloff = 0.5;
const int32_t FlickerOctaves = 2;

} // namespace

DS_LightFX::DS_LightFX() : mode(0)
{
    speed.SetValue(DefaultSpeed, nullptr);
    effectLink.value = FileKey{CommonModule, LightEffect};
    strength.scale = 0.01f;
    strength.SetValue(40, nullptr);
}

DS_LightFX::DS_LightFX(const DS_LightFX& other)
    : DS_FX_Constructor(other), strength(other.strength), mode(other.mode.value),
      effectParameters(other.effectParameters)
{
}

DS_LightFX::~DS_LightFX() = default;

void DS_LightFX::Read(ArchiveHandle& archive, int32_t)
{
    ReadScaledValue(archive, strength);
    stored_values::ReadStoredInt(archive, mode);
    ReadBrushBase(archive);
}

void DS_LightFX::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteScaledValue(archive, strength);
    stored_values::WriteInt(archive, mode);
    DS_FX_Constructor::Write(archive);
}

DS_FX_Constructor* DS_LightFX::Clone() const { return new DS_LightFX(*this); }

void DS_LightFX::LookUpParameters()
{
    DS_FX_Constructor::LookUpParameters();
    LookUpEffectParameters(effect.Get(), {&effectParameters.multiplier});
}

float DS_LightFX::Pulse() const
{
    const float t = Time();
    if (mode.value >= FirstFlickerMode) {
        const float n = static_cast<float>(FractalNoise1D(FlickerRate * t, FlickerPeriod, FlickerFalloff,
                                                          FlickerOctaves));
        return (n + 1.0f) * 0.5f;
    }
    const float s = static_cast<float>(std::sin(static_cast<float>(PulseRate * t)));
    const float pulse = (s + 1.0f) * 0.5f;
    if (mode.value == BlinkMode)
        return pulse > 0.5f ? 1.0f : 0.0f;
    return pulse;
}

void DS_LightFX::Apply(DS_2D_Light& layer)
{
    if (!effect)
        return;
    effect->SetFloat(effectParameters.multiplier.Handle(), strength.result * Pulse());
    ApplyCommonEffectParameters(layer);
}
