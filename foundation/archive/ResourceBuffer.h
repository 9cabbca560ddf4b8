// The archive's byte source: a cursor over a block of memory that reads never
// pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ResourceBuffer {
public:
    ResourceBuffer() = default;
    ResourceBuffer(const void* data, std::size_t count) { Reset(data, count); }

    void Reset(const void* data, std::size_t count)
    {
        cursor = static_cast<const uint8_t*>(data);
        end = cursor + count;
    }

    std::size_t Remaining() const { return static_cast<std::size_t>(end - cursor); }

    // Returns the next count bytes and moves past them; throws MediaLoadError,
    // consuming nothing, when fewer remain.
    const uint8_t* Take(std::size_t count);

    // A uint32 count, then that many 32-bit values copied as they stand; the
    // vector ends with exactly count elements.
    void ReadIntVector(std::vector<uint32_t>& values);

    const uint8_t* cursor = nullptr;
    const uint8_t* end = nullptr;
};
