#include "scene/brushes/DS_WavesFX.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "res/resource.h"

#include <d3dx9math.h>

namespace {

const wchar_t* const RecordName = L"DS_WavesFX";
const int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t WavesEffect = IDR_EFFECT_WAVES;
const unsigned int DefaultSpeed = 25;

// "time" runs at this single-precision fraction of the brush time.
const float TimeRate = 0.08f;

void Transform(float out[4], const D3DXVECTOR4& v, const D3DXMATRIX& m)
{
    D3DXVECTOR4 turned;
    D3DXVec4Transform(&turned, &v, &m);
    out[0] = turned.x;
    out[1] = turned.y;
    out[2] = turned.z;
    out[3] = turned.w;
}

} // namespace

DS_WavesFX::DS_WavesFX() : angle(0u), normalMode(0)
{
    speed.SetValue(DefaultSpeed, nullptr);
    effectLink.value = FileKey{CommonModule, WavesEffect};
    SetScaled(amplitude, 50, 0.00025f, 0.0f);
    SetScaled(wavelength, 50, 0.0005f, 0.001f);
    Bind();
    UpdateDirection();
}

DS_WavesFX::DS_WavesFX(const DS_WavesFX& other)
    : DS_FX_Constructor(other), amplitude(other.amplitude), wavelength(other.wavelength),
      angle(other.angle.value), normalMode(other.normalMode.value), effectParameters(other.effectParameters)
{
    Bind();
    UpdateDirection();
}

DS_WavesFX::~DS_WavesFX() = default;

void DS_WavesFX::Bind()
{
    binders.SetOwner(this, false);
    BindParamCallback2(binders, angle, &DS_WavesFX::UpdateDirection, this);
    BindParamCallback2(binders, normalMode, &DS_WavesFX::UpdateDirection, this);
}

void DS_WavesFX::UpdateDirection()
{
    // 360 less the angle wraps as the 32-bit integers it is stored in.
    const int32_t degrees = static_cast<int32_t>(360u - angle.value);
    const float a = static_cast<float>(static_cast<double>(static_cast<float>(degrees)) * PiToEightFigures / 180.0);
    D3DXMATRIX rotation;
    D3DXMatrixRotationZ(&rotation, a);
    Transform(direction, D3DXVECTOR4(1.0f, 0.0f, 0.0f, 0.0f), rotation);
    const D3DXVECTOR4 across(0.0f, 1.0f, 0.0f, 0.0f);
    const D3DXVECTOR4 back(-1.0f, 0.0f, 0.0f, 0.0f);
    Transform(normal, normalMode.value == 0 ? across : back, rotation);
}

void DS_WavesFX::Read(ArchiveHandle& archive, int32_t)
{
    ReadScaledValue(archive, amplitude);
    ReadScaledValue(archive, wavelength);
    stored_values::ReadStoredUInt(archive, angle);
    stored_values::ReadStoredInt(archive, normalMode);
    ReadBrushBase(archive);
}

void DS_WavesFX::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteScaledValue(archive, amplitude);
    WriteScaledValue(archive, wavelength);
    stored_values::WriteUInt(archive, angle);
    stored_values::WriteInt(archive, normalMode);
    DS_FX_Constructor::Write(archive);
}

DS_FX_Constructor* DS_WavesFX::Clone() const { return new DS_WavesFX(*this); }

void DS_WavesFX::LookUpParameters()
{
    DS_FX_Constructor::LookUpParameters();
    LookUpEffectParameters(effect.Get(), {&effectParameters.direction, &effectParameters.directionN,
                            &effectParameters.frequency, &effectParameters.amplitude, &effectParameters.time});
}

void DS_WavesFX::Apply(DS_2D_Light& layer)
{
    if (!effect)
        return;
    ID3DXEffect* e = effect.Get();
    const float travel[2] = {-direction[0], -direction[1]};
    e->SetFloatArray(effectParameters.direction.Handle(), travel, 2);
    e->SetFloatArray(effectParameters.directionN.Handle(), normal, 2);
    e->SetFloat(effectParameters.frequency.Handle(), 1.0f / wavelength.result);
    e->SetFloat(effectParameters.amplitude.Handle(), amplitude.result);
    e->SetFloat(effectParameters.time.Handle(), Time() * TimeRate);
    ApplyCommonEffectParameters(layer);
}
