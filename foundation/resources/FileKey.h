// The (path, stamp) key that names a linked file in the resource maps.
#pragma once

#include "foundation/core/Types.h"

#include <cstddef>
#include <cstdint>

struct FileKey {
    ds_string path;
    int64_t stamp = 0;

    // Paths by unsigned 16-bit code units, a proper prefix first, then stamps
    // as signed numbers. The units are compared explicitly rather than through
    // wchar_t so the order does not depend on the width or signedness of
    // wchar_t: stored documents' maps were built in this order.
    bool operator<(const FileKey& other) const
    {
        const std::size_t common = path.size() < other.path.size() ? path.size() : other.path.size();
        for (std::size_t i = 0; i < common; ++i) {
            const auto mine = static_cast<uint16_t>(path[i]);
            const auto theirs = static_cast<uint16_t>(other.path[i]);
            if (mine != theirs)
                return mine < theirs;
        }
        if (path.size() != other.path.size())
            return path.size() < other.path.size();
        return stamp < other.stamp;
    }
    bool operator==(const FileKey& other) const { return path == other.path && stamp == other.stamp; }
    bool operator!=(const FileKey& other) const { return !(*this == other); }
};
