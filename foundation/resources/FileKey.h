// The (path, stamp) key that names a linked file in the resource maps.
#pragma once

#include "foundation/Types.h"

#include <cstdint>

struct FileKey {
    ds_string path;
    int64_t stamp = 0;

    // Paths by unsigned UTF-16 code units (a proper prefix first), then stamps
    // as signed numbers.
    bool operator<(const FileKey& other) const
    {
        if (path != other.path)
            return path < other.path;
        return stamp < other.stamp;
    }
    bool operator==(const FileKey& other) const { return path == other.path && stamp == other.stamp; }
};
