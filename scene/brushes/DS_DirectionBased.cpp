#include "scene/brushes/DS_DirectionBased.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"

#include <d3dx9math.h>

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_DirectionBased";
const int32_t WrittenVersion = 1;

const double FullTurnDegrees = 360.0;
const double HalfTurnDegrees = 180.0;

} // namespace

DS_DirectionBased::DS_DirectionBased() : angle(0u)
{
    BindAngle();
    UpdateDirection();
}

DS_DirectionBased::DS_DirectionBased(const DS_DirectionBased& other)
    : DS_FX_Constructor(other), amplitude(other.amplitude), angle(other.angle)
{
    BindAngle();
    UpdateDirection();
}

DS_DirectionBased::~DS_DirectionBased() = default;

void DS_DirectionBased::BindAngle()
{
    binders.SetOwner(this, false);
    BindParamCallback2(binders, angle, &DS_DirectionBased::UpdateDirection, this);
}

void DS_DirectionBased::UpdateDirection()
{
    // In double precision: 360 minus the most negative angle does not fit an
    // int32.
    const double degrees = FullTurnDegrees - static_cast<int32_t>(angle.value);
    const float a = static_cast<float>(degrees * PiToEightFigures / HalfTurnDegrees);
    D3DXMATRIX turning;
    D3DXMatrixRotationZ(&turning, a);
    const D3DXVECTOR4 along(1.0f, 0.0f, 0.0f, 0.0f);
    D3DXVECTOR4 turned;
    D3DXVec4Transform(&turned, &along, &turning);
    direction[0] = turned.x;
    direction[1] = turned.y;
    direction[2] = turned.z;
    direction[3] = turned.w;
}

void DS_DirectionBased::ReadDirectionBase(ArchiveHandle& archive)
{
    ReadObjectHeader(archive);
    ReadScaledValue(archive, amplitude);
    ReadStoredUInt(archive, angle);
    ReadBrushBase(archive);
}

void DS_DirectionBased::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteScaledValue(archive, amplitude);
    WriteUInt(archive, angle);
    DS_FX_Constructor::Write(archive);
}
