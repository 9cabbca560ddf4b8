// Little helpers that spell archive bytes out by hand for the reader tests.
#pragma once

#include "foundation/archive/DS_IOF_R.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void Append(Bytes& out, std::initializer_list<int> bytes)
{
    for (int b : bytes)
        out.push_back(static_cast<uint8_t>(b));
}

inline void AppendInt32(Bytes& out, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

// A string with a 4-byte header (length below 255).
inline void AppendShortString(Bytes& out, const std::u16string& text)
{
    Append(out, {0xFF, 0xFE, 0xFF, static_cast<int>(text.size())});
    for (char16_t c : text)
        Append(out, {c & 0xFF, c >> 8});
}

// An archive reading from bytes, with the buffer kept alive beside it.
struct ByteArchive {
    explicit ByteArchive(const Bytes& source)
        : bytes(source), buffer(bytes.data(), bytes.size()),
          handle(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer))
    {
    }
    std::size_t Consumed() const { return static_cast<std::size_t>(buffer.cursor - bytes.data()); }

    Bytes bytes;
    ResourceBuffer buffer;
    ArchiveHandle handle;
};
