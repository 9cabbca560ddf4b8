#include "foundation/params/MediaRectangle.h"

#include "foundation/archive/DS_IOF_Virtual.h"

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
