// Textures named by a GUID (brush masks, the lake's bump texture): the key
// with its order, the entry that carries the stored DDS file, and the GUID's
// text form in the document.
#pragma once

#include "foundation/archive/FileRecord.h"
#include "foundation/core/Types.h"

#include <windows.h>

#include <cstdint>

class ArchiveHandle;

// The identity of a GUID-named texture. Only the GUID orders keys: the name
// and the flag travel with the key but never tell two keys apart.
struct GuidKey {
    GuidKey() = default;
    GuidKey(const GUID& guid, const ds_string& keyName, uint8_t keyFlag) : id(guid), name(keyName), flag(keyFlag) {}

    // A new identity: a fresh GUID, no name, flag 1.
    static GuidKey Fresh();

    GUID id{}; // GUID_NULL
    ds_string name;
    uint8_t flag = 0;
};

// The 16 bytes of the GUIDs in memory order, compared as unsigned bytes.
struct GuidKeyLess {
    bool operator()(const GuidKey& a, const GuidKey& b) const;
};

// A GUID-named texture with its stored bytes (a DDS file). A new entry has a
// fresh identity and an empty file.
class GuidEntry : public GuidKey {
public:
    GuidEntry();

    FileRecord file;
};

// The 38-character registry form, braces included, upper-case hexadecimal.
ds_string GuidText(const GUID& id);

// Writes the GUID as its text form.
void WriteGuid(ArchiveHandle& handle, const GUID& id);
// Reads a GUID text form into id. A text that is not a GUID in registry form
// is not an error: reading goes on and id becomes GUID_NULL, so every record
// with the same unreadable text still names the same texture.
void ReadGuid(ArchiveHandle& handle, GUID& id);
