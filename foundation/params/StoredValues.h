// Plain integer parameters as records store them: the archive's int32 or
// uint32 straight into the value, no listener told.
#pragma once

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/params/MediaParam.h"

#include <cstdint>

namespace stored_values {

// The value changes only once the read succeeded: a failed read throws and
// leaves the parameter as it was.
inline void ReadStoredInt(ArchiveHandle& archive, MediaParamTB<int>& parameter)
{
    int32_t value = 0;
    archive->ReadInt(value);
    parameter.value = value;
}

inline void ReadStoredUInt(ArchiveHandle& archive, MediaParamTB<unsigned int>& parameter)
{
    uint32_t value = 0;
    archive->ReadUInt(value);
    parameter.value = value;
}

// The archive's write slots take their value by reference: a copy goes, so
// the parameter itself is never handed out.
inline void WriteInt(ArchiveHandle& archive, const MediaParamTB<int>& parameter)
{
    int32_t value = parameter.value;
    archive->WriteInt(value);
}

inline void WriteUInt(ArchiveHandle& archive, const MediaParamTB<unsigned int>& parameter)
{
    uint32_t value = parameter.value;
    archive->WriteUInt(value);
}

} // namespace stored_values
