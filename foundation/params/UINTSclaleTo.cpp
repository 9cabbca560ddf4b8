#include "foundation/params/UINTSclaleTo.h"

#include "foundation/archive/DS_IOF_Virtual.h"

#include <cstdint>

namespace {

// The value is unsigned: 0x80000000 is 2147483648, never negative.
double Scaled(float offset, float scale, unsigned int value)
{
    return static_cast<double>(offset) + static_cast<double>(scale) * static_cast<double>(value);
}

// Truncation as the processor's float-to-int conversion does it: toward zero,
// with NaN and everything outside the int32 range giving 0x80000000 instead of
// the undefined behaviour of a plain cast.
uint32_t TruncateToInt32Bits(double x)
{
    if (!(x > -2147483649.0 && x < 2147483648.0))
        return 0x80000000u;
    return static_cast<uint32_t>(static_cast<int32_t>(x));
}

} // namespace

template <>
unsigned char ScaledResult<unsigned char>(float offset, float scale, unsigned int value)
{
    return static_cast<unsigned char>(TruncateToInt32Bits(Scaled(offset, scale, value)) & 0xFFu);
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
