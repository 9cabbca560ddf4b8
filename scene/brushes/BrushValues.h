// Small helpers the pattern, background-copy, move and expand brushes share
// for their scaled parameters and records.
#pragma once

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/params/UINTSclaleTo.h"

#include <cstdint>

namespace brush_values {

// A brush's own default: scale and offset, then the value, the result
// computed even when the value did not change.
inline void SetScaled(UINTSclaleTo<float>& parameter, unsigned int value, float scale, float offset)
{
    parameter.scale = scale;
    parameter.offset = offset;
    parameter.SetValue(value, nullptr);
    parameter.Recompute();
}

// A stored value, listeners told only when it differs.
inline void ReadScaledValue(ArchiveHandle& archive, UINTSclaleTo<float>& parameter)
{
    uint32_t value = 0;
    archive->ReadUInt(value);
    parameter.SetValue(value, nullptr);
}

inline void WriteScaledValue(ArchiveHandle& archive, const UINTSclaleTo<float>& parameter)
{
    uint32_t value = parameter.value;
    archive->WriteUInt(value);
}

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
