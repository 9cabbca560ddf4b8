#include "scene/brushes/DS_MoveFX.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "res/resource.h"

#include <cmath>

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_MoveFX";
const int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t MoveEffect = IDR_EFFECT_MOVE;

const int JitterMode = 1;
// One octave of noise over 50 T / 75: a new random lean every 1.5 s of
// brush time.
const double JitterTimeScale = 50.0;
const double JitterPeriod = 75.0;
const double JitterPersistence = 0.5;
const int32_t JitterOctaves = 1;

} // namespace

DS_MoveFX::DS_MoveFX() : mode(0)
{
    SetScaled(amplitude, 50, 0.0002f, 0.0f);
    SetScaled(speed, 50, 0.02f, 0.0f);
    effectLink.value = FileKey{CommonModule, MoveEffect};
}

DS_MoveFX::DS_MoveFX(const DS_MoveFX& other) : DS_DirectionBased(other), mode(other.mode),
      effectParameters(other.effectParameters)
{
    shift[0] = other.shift[0];
    shift[1] = other.shift[1];
}

DS_MoveFX::~DS_MoveFX() = default;

void DS_MoveFX::Read(ArchiveHandle& archive, int32_t /*version*/)
{
    ReadStoredInt(archive, mode);
    ReadDirectionBase(archive);
}

void DS_MoveFX::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteInt(archive, mode);
    DS_DirectionBased::Write(archive);
}

DS_FX_Constructor* DS_MoveFX::Clone() const { return new DS_MoveFX(*this); }

void DS_MoveFX::LookUpParameters()
{
    DS_DirectionBased::LookUpParameters();
    LookUpEffectParameters(effect.Get(), {&effectParameters.direction});
}

void DS_MoveFX::Update(float t)
{
    DS_FX_Constructor::Update(t);
    const float time = Time();
    const float k = mode.value == JitterMode
                        ? static_cast<float>(FractalNoise1D(JitterTimeScale * time, JitterPeriod, JitterPersistence,
                                                            JitterOctaves))
                        : static_cast<float>(std::sin(static_cast<double>(time)));
    const float m = static_cast<float>(static_cast<double>(k) * amplitude.result);
    shift[0] = direction[0] * m;
    shift[1] = m * direction[1];
}

void DS_MoveFX::Apply(DS_2D_Light& layer)
{
    if (!effect)
        return;
    effect->SetFloatArray(effectParameters.direction.Handle(), shift, 2);
    ApplyCommonEffectParameters(layer);
}
