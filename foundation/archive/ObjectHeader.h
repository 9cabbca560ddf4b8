// The class name and version that open every record of the document.
#pragma once

#include "foundation/core/Types.h"

#include <cstdint>

class ArchiveHandle;

// The version belongs to the header's own class: it says which of that
// class's fields follow and nothing about its base's record.
struct ObjectHeader {
    ds_string className;
    int32_t version = 0;
};

// The class name (a string) then the version (an int32).
ObjectHeader ReadObjectHeader(ArchiveHandle& archive);
void WriteObjectHeader(ArchiveHandle& archive, const ds_string& className, int32_t version);
