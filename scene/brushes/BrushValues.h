// Small helpers the pattern, background-copy, move and expand brushes share
// for the plain values of their records.
#pragma once

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/params/MediaParam.h"

#include <cstdint>

namespace brush_values {

// Values that records store straight into the parameter, nobody told.
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

} // namespace brush_values
