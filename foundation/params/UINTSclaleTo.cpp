#include "foundation/params/UINTSclaleTo.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/DS_IOF_Virtual.h"

#include <cstdint>

namespace {

// The value is unsigned: 0x80000000 is 2147483648, never negative.
double Scaled(float offset, float scale, unsigned int value)
{
    return static_cast<double>(offset) + static_cast<double>(scale) * static_cast<double>(value);
}

} // namespace

template <>
unsigned char ScaledResult<unsigned char>(float offset, float scale, unsigned int value)
{
    return static_cast<unsigned char>(static_cast<uint32_t>(TruncateToInt32(Scaled(offset, scale, value))) & 0xFFu);
}

template <>
float ScaledResult<float>(float offset, float scale, unsigned int value)
{
    return static_cast<float>(Scaled(offset, scale, value));
}

void SetScaled(UINTSclaleTo<float>& parameter, unsigned int value, float scale, float offset)
{
    parameter.scale = scale;
    parameter.offset = offset;
    parameter.SetValue(value, nullptr);
    parameter.Recompute();
}

void CopyScaled(UINTSclaleTo<float>& to, const UINTSclaleTo<float>& from)
{
    to.scale = from.scale;
    to.offset = from.offset;
    to.value = from.value;
    to.NotifyListeners(nullptr);
}

void ReadScaledValue(ArchiveHandle& archive, UINTSclaleTo<float>& parameter)
{
    uint32_t value = 0;
    archive->ReadUInt(value);
    parameter.SetValue(value, nullptr);
}

void WriteScaledValue(ArchiveHandle& archive, const UINTSclaleTo<float>& parameter)
{
    uint32_t value = parameter.value;
    archive->WriteUInt(value);
}
