#include "objects/particles/DS_FlowConstructor.h"

#include "foundation/core/Numeric.h"
#include "foundation/core/Random.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "objects/particles/ParticleItem.h"

#include <cmath>
#include <iterator>

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_FlowConstructor";
constexpr int32_t WrittenVersion = 4;
// Version 2 kept only whether the sprites turn along the flow.
constexpr int32_t VersionWithTurnFlag = 2;
constexpr int32_t FirstVersionWithOrientation = 3;
constexpr int32_t FirstVersionWithEdges = 4;

constexpr float DriftSpeedScale = 3.0f;
constexpr float DriftChangeScale = 0.25f;

// The drift settings as the constructors set them up: fields assigned and the
// result recomputed directly, with no listener told (unlike SetScaled and
// CopyScaled, which serve the UINTSclaleTo parameters).
void SetDriftScale(MediaFloat<unsigned int>& parameter, float scale)
{
    parameter.scale = scale;
    parameter.offset = 0.0f;
    parameter.Recompute();
}

void CopyDriftSetting(MediaFloat<unsigned int>& to, const MediaFloat<unsigned int>& from)
{
    to.scale = from.scale;
    to.offset = from.offset;
    to.value = from.value;
    to.Recompute();
}

} // namespace

DS_FlowConstructor::DS_FlowConstructor()
{
    SetDriftScale(driftSpeed, DriftSpeedScale);
    SetDriftScale(driftChangeRate, DriftChangeScale);
    BindFlow();
}

DS_FlowConstructor::DS_FlowConstructor(const DS_FlowConstructor& other)
    : DS_ParticleSystemCtrl(other), angle(other.angle), strength(other.strength),
      orientationMode(other.orientationMode),
      edges{other.edges[0], other.edges[1], other.edges[2], other.edges[3]}
{
    CopyDriftSetting(driftSpeed, other.driftSpeed);
    CopyDriftSetting(driftChangeRate, other.driftChangeRate);
    BindFlow();
}

DS_FlowConstructor::~DS_FlowConstructor() = default;

void DS_FlowConstructor::BindFlow()
{
    flowBinders.SetOwner(this, false);
    BindParamCallback(flowBinders, angle, &DS_FlowConstructor::OnAngleChanged, this);
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(edges)); ++i)
        edges[i].BindEdge(i, this);
}

void DS_FlowConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteUInt(archive, angle);
    WriteUInt(archive, driftSpeed);
    WriteUInt(archive, driftChangeRate);
    archive->WriteFloat(strength);
    WriteInt(archive, orientationMode);
    for (DS_BoundControl& control : edges)
        control.Write(archive);
    DS_BaseSpriteProp::Write(archive);
}

DS_ParticleSystemCtrl* DS_FlowConstructor::Clone() const { return new DS_FlowConstructor(*this); }

void DS_FlowConstructor::Read(ArchiveHandle& archive, int32_t version)
{
    archive->ReadUInt(angle.value);
    archive->ReadUInt(driftSpeed.value);
    archive->ReadUInt(driftChangeRate.value);
    archive->ReadFloat(strength);
    if (version == VersionWithTurnFlag) {
        int32_t turns = 0;
        archive->ReadInt(turns);
        orientationMode.value = turns != 0 ? AlongFlow : Upright;
    } else if (version >= FirstVersionWithOrientation) {
        ReadStoredInt(archive, orientationMode);
    }
    if (version >= FirstVersionWithEdges)
        for (DS_BoundControl& control : edges)
            ReadBoundControl(archive, control);
    ReadParticleSystemBase(archive, *this);
}

void DS_FlowConstructor::InitParticle(ParticleItem& p)
{
    p.velocity.z = RandomCentred(2.0f);
    p.sign = D3DXVECTOR3(1.0f, 1.0f, 0.0f);
    p.velocity.x = 0.0f;
    p.velocity.y = 0.0f;
    p.position = RandomPointInView();
    SetupFlowSprite(p);
}

void DS_FlowConstructor::UpdateParticle(ParticleItem& p)
{
    const float drift = p.velocity.z;
    const float sideways = driftSpeed.result;
    // Smaller particles move slower.
    const float vx = (crossVector.x * drift * sideways + flowVector.x * p.sign.x) * p.sizeFactor;
    const float vy = (flowVector.y * p.sign.y + crossVector.y * drift * sideways) * p.sizeFactor;
    if (!p.hidden) {
        p.position.x += step * vx;
        p.position.y += step * vy;
    }

    for (DS_BoundControl& control : edges)
        if (control.Apply(*this, p))
            break;

    if (orientationMode.value == MirroredLeft) {
        p.rightAxis = D3DXVECTOR3(std::copysign(1.0f, vx), 0.0f, 0.0f);
        p.upAxis = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    } else if (orientationMode.value == UpsideDownUp) {
        p.rightAxis = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
        p.upAxis = D3DXVECTOR3(0.0f, std::copysign(1.0f, vy), 0.0f);
    }

    // A rate of 0 never changes the drift.
    const float rate = driftChangeRate.result;
    if (rate > 0.0f && 1.0f / rate < clock - p.lastChange) {
        p.lastChange = clock;
        if (Rand() & 1)
            p.velocity.z = RandomCentred(2.0f);
    }

    // The edge rules' fades show.
    UpdateParticleColor(*this, p);
}

void DS_FlowConstructor::OnAngleChanged(unsigned int newAngle)
{
    // Counter-clockwise as seen, with y pointing down the screen.
    const int32_t degrees = static_cast<int32_t>(360u - newAngle);
    const float radians = static_cast<float>(degrees * PiDouble / 180.0);
    D3DXMatrixRotationZ(&rotation, radians);
    const D3DXVECTOR4 along(strength, 0.0f, 0.0f, 0.0f);
    const D3DXVECTOR4 across(0.0f, 1.0f, 0.0f, 0.0f);
    D3DXVec4Transform(&flowVector, &along, &rotation);
    D3DXVec4Transform(&crossVector, &across, &rotation);
}

void DS_FlowConstructor::SetupFlowSprite(ParticleItem& p)
{
    ApplyAspectRule(p, *this);
    UpdateParticleColor(*this, p);
    if (orientationMode.value == AlongFlow) {
        const D3DXVECTOR3 right(1.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
        D3DXVec3TransformCoord(&p.rightAxis, &right, &rotation);
        D3DXVec3TransformCoord(&p.upAxis, &up, &rotation);
    } else if (orientationMode.value == Upright) {
        p.rightAxis = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
        p.upAxis = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    }
}
