#include "foundation/archive/ResourceBuffer.h"

#include "foundation/core/SaverError.h"

#include <cstring>

const uint8_t* ResourceBuffer::Take(std::size_t count)
{
    if (count > Remaining())
        throw MediaLoadError("read past the end of the document");
    const uint8_t* taken = cursor;
    cursor += count;
    return taken;
}

void ResourceBuffer::ReadIntVector(std::vector<uint32_t>& values)
{
    const uint8_t* mark = cursor;
    uint32_t count = 0;
    std::memcpy(&count, Take(sizeof count), sizeof count);
    if (count > Remaining() / sizeof(uint32_t)) {
        cursor = mark;
        throw MediaLoadError("vector runs past the end of the block");
    }
    values.assign(count, 0);
    if (count)
        std::memcpy(values.data(), Take(count * sizeof(uint32_t)), count * sizeof(uint32_t));
}
