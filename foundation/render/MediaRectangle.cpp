#include "foundation/render/MediaRectangle.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/render/PictureMapping.h"
#include "foundation/render/SceneView.h"

namespace {

void ReadStraight(ArchiveHandle& handle, MediaParamTB<int>& parameter)
{
    long v = 0;
    handle->ReadLong(v);
    parameter.value = static_cast<int>(v);
}

void WriteValue(ArchiveHandle& handle, const MediaParamTB<int>& parameter)
{
    long v = parameter.value;
    handle->WriteLong(v);
}

} // namespace

void MediaRectangle::Read(ArchiveHandle& handle)
{
    ReadStraight(handle, left);
    ReadStraight(handle, right);
    ReadStraight(handle, top);
    ReadStraight(handle, bottom);
    ReadStraight(handle, pointX);
    ReadStraight(handle, pointY);
}

void MediaRectangle::Write(ArchiveHandle& handle)
{
    WriteValue(handle, left);
    WriteValue(handle, right);
    WriteValue(handle, top);
    WriteValue(handle, bottom);
    WriteValue(handle, pointX);
    WriteValue(handle, pointY);
}

bool MediaRectangle::Contains(float x, float y) const
{
    const D3DXVECTOR3 p =
        MapScreenPointToView(x * CurrentPictureMapping.scaleX, y * CurrentPictureMapping.scaleY, 0.0f);
    return static_cast<float>(left.value) <= p.x && p.x <= static_cast<float>(right.value) &&
           static_cast<float>(top.value) <= p.y && p.y <= static_cast<float>(bottom.value);
}
