#include "scene/brushes/DS_WaterFX.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/FirstLinkTexture.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "res/resource.h"

#include <d3dx9math.h>

#include <cmath>

namespace {

const wchar_t* const RecordName = L"DS_WaterFX";
const int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t WaterEffect = IDR_EFFECT_WATER;
const int32_t RippleBumpMap = 89;

const unsigned int DefaultAngle = 40;
const unsigned long White = 0x00FFFFFF;

// The bump offsets turn at 4.5 radians per unit of brush time, taken as
// (T x 0.5) x 9 in single precision.
const float HalfTime = 0.5f;
const float TurnRate = 9.0f;

// Where the profile's denominator k - 1 is 0 the wave is flat (w1 = 1), so
// any finite height serves; this one is as large as the heights next to it.
const float LargestProfileHeight = 1.0e6f;

// A flat bump texel: no offset in either direction.
const D3DCOLOR FlatBump = 0xFF808080;

} // namespace

DS_WaterFX::DS_WaterFX() : angle(DefaultAngle), colour(White)
{
    SetScaled(speed, 50, 0.02f, 0.0f);
    scale.SetValue(30, nullptr);
    effectLink.value = FileKey{CommonModule, WaterEffect};
    SetScaled(shape, 20, 0.0001f, 0.0f);
    SetScaled(ripple, 20, 0.001f, 0.0f);
    SetScaled(drift, 20, 0.00025f, 0.0f);
    SetScaled(wave, 20, 0.0005f, 0.001f);
    SetScaled(shadows, 0, 0.01f, 0.0f);
    SetScaled(height, 0, 0.1f, 0.0f);
    bumpLink.value = FileKey{CommonModule, RippleBumpMap};
    BindAngle();
    UpdateDirection();
}

DS_WaterFX::DS_WaterFX(const DS_WaterFX& other)
    : DS_FX_Constructor(other), shape(other.shape), ripple(other.ripple), drift(other.drift), wave(other.wave),
      angle(other.angle.value), shadows(other.shadows), height(other.height), colour(other.colour.value),
      effectParameters(other.effectParameters)
{
    bumpLink.value = other.bumpLink.value;
    BindAngle();
    UpdateDirection();
}

// The binder goes first (the list is the last member), then the textures,
// the parameters and the base.
DS_WaterFX::~DS_WaterFX() = default;

void DS_WaterFX::BindAngle()
{
    binders.SetOwner(this, false);
    BindParamCallback2(binders, angle, &DS_WaterFX::UpdateDirection, this);
}

void DS_WaterFX::UpdateDirection()
{
    const int32_t degrees = static_cast<int32_t>(angle.value);
    const float a = static_cast<float>(static_cast<double>(degrees) * PiToEightFigures / 180.0);
    D3DXMATRIX rotation;
    D3DXMatrixRotationZ(&rotation, a);
    const D3DXVECTOR4 unit(1.0f, 0.0f, 0.0f, 0.0f);
    D3DXVECTOR4 turned;
    D3DXVec4Transform(&turned, &unit, &rotation);
    direction[0] = turned.x;
    direction[1] = turned.y;
    direction[2] = turned.z;
    direction[3] = turned.w;
}

void DS_WaterFX::Read(ArchiveHandle& archive, int32_t)
{
    ReadScaledValue(archive, shape);
    ReadScaledValue(archive, ripple);
    ReadScaledValue(archive, drift);
    ReadScaledValue(archive, wave);
    stored_values::ReadStoredUInt(archive, angle);
    ReadScaledValue(archive, shadows);
    ReadScaledValue(archive, height);
    int32_t rgb = 0;
    archive->ReadInt(rgb);
    colour.value = static_cast<unsigned long>(static_cast<uint32_t>(rgb));
    ReadFileLink(archive, bumpLink);
    ReadBrushBase(archive);
}

void DS_WaterFX::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteScaledValue(archive, shape);
    WriteScaledValue(archive, ripple);
    WriteScaledValue(archive, drift);
    WriteScaledValue(archive, wave);
    stored_values::WriteUInt(archive, angle);
    WriteScaledValue(archive, shadows);
    WriteScaledValue(archive, height);
    int32_t rgb = static_cast<int32_t>(static_cast<uint32_t>(colour.value));
    archive->WriteInt(rgb);
    if (CurrentResManager)
        CurrentResManager->StoreImageLink(bumpLink);
    WriteFileLink(bumpLink, archive);
    DS_FX_Constructor::Write(archive);
}

DS_FX_Constructor* DS_WaterFX::Clone() const { return new DS_WaterFX(*this); }

void DS_WaterFX::LookUpParameters()
{
    DS_FX_Constructor::LookUpParameters();
    LookUpEffectParameters(effect.Get(), {&effectParameters.bumpMap, &effectParameters.bampTrans, &effectParameters.p1,
                            &effectParameters.p2, &effectParameters.time, &effectParameters.direction1,
                            &effectParameters.direction2, &effectParameters.shadows, &effectParameters.vhalf,
                            &effectParameters.color});
}

void DS_WaterFX::BindResources(IDirect3DTexture9* maskTexture)
{
    bumpTexture = GetFirstLinkTexture(bumpLink).texture;
    DS_FX_Constructor::BindResources(maskTexture);
}

void DS_WaterFX::Update(float t)
{
    DS_FX_Constructor::Update(t);
    const float phi = static_cast<float>(static_cast<float>(Time() * HalfTime) * TurnRate);
    const float c = std::cos(phi);
    const float s = std::sin(phi);
    const float r = ripple.result;
    bumpTransform[0] = r * c;
    bumpTransform[1] = -r * s;
    bumpTransform[2] = r * s;
    bumpTransform[3] = r * c;
}

float DS_WaterFX::ProfileHeight(float w1)
{
    const float k = 2.0f / w1 - 1.0f;
    // A shape of 0: k runs to infinity, and h to 1.
    if (!std::isfinite(k))
        return 1.0f;
    // A shape of 2 or more makes k negative; at k = 0 the root is 0, and the
    // root is kept there beyond.
    const float root = k > 0.0f ? std::sqrt(k) : 0.0f;
    const float h = (root + k) / (k - 1.0f);
    if (std::isfinite(h))
        return h;
    return LargestProfileHeight;
}

IDirect3DTexture9* DS_WaterFX::BumpOrFlat()
{
    if (bumpTexture)
        return bumpTexture.Get();
    if (!flatBump && CurrentDevice) {
        ComHolder<IDirect3DTexture9> texture;
        D3DLOCKED_RECT locked{};
        if (SUCCEEDED(CurrentDevice->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Out(),
                                                   nullptr)) &&
            SUCCEEDED(texture->LockRect(0, &locked, nullptr, 0))) {
            *static_cast<D3DCOLOR*>(locked.pBits) = FlatBump;
            texture->UnlockRect(0);
            flatBump = texture;
        }
    }
    return flatBump.Get();
}

void DS_WaterFX::Apply(DS_2D_Light& layer)
{
    if (!effect)
        return;
    ID3DXEffect* e = effect.Get();
    const float w1 = shape.result;
    const float w2 = wave.result;
    const float w3 = drift.result;
    const float dx = direction[0];
    const float dy = direction[1];

    e->SetTexture(effectParameters.bumpMap.Handle(), BumpOrFlat());
    e->SetFloatArray(effectParameters.bampTrans.Handle(), bumpTransform, 4);
    const float p1[3] = {w1 - 1.0f, -1.0f, w1 - 1.0f};
    e->SetFloatArray(effectParameters.p1.Handle(), p1, 3);
    const float p2[3] = {1.0f, ProfileHeight(w1), 1.0f};
    e->SetFloatArray(effectParameters.p2.Handle(), p2, 3);
    e->SetFloat(effectParameters.time.Handle(), 2.0f * Time());
    const float waveScale = 0.5f / w2;
    const float direction1[2] = {-dx * waveScale, -dy * waveScale};
    e->SetFloatArray(effectParameters.direction1.Handle(), direction1, 2);
    const float driftScale = 0.5f * w3;
    const float direction2[2] = {-dx * driftScale, -dy * driftScale};
    e->SetFloatArray(effectParameters.direction2.Handle(), direction2, 2);
    e->SetFloat(effectParameters.shadows.Handle(), shadows.result);
    const D3DXVECTOR3 light(1.0f, 2.0f, height.result);
    D3DXVECTOR3 half;
    D3DXVec3Normalize(&half, &light);
    e->SetFloatArray(effectParameters.vhalf.Handle(), half, 3);
    float rgb[3];
    for (int i = 0; i < 3; ++i)
        rgb[i] = static_cast<float>((colour.value >> (8 * i)) & 0xFF) / 255.0f;
    e->SetFloatArray(effectParameters.color.Handle(), rgb, 3);
    ApplyCommonEffectParameters(layer);
}
