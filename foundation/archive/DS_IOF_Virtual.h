// The archive interface through which every document class reads (and, in
// tools, writes) its record, and the handle that readers receive.
#pragma once

#include "foundation/core/Types.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class FileRecord;
class ResourceRecord;

// Write slot n pairs with read slot n + 11 and takes the same type. The
// program's only archive reads; its write slots do nothing.
class DS_IOF_Virtual {
public:
    virtual ~DS_IOF_Virtual() = default;

    virtual void WriteResourceRecord(ResourceRecord&) {}
    virtual void WriteFileRecord(FileRecord&) {}
    virtual void WriteString(ds_string&) {}
    virtual void WriteInt64(int64_t&) {}
    virtual void WriteFloat(float&) {}
    virtual void WritePoint(POINT&) {}
    virtual void WriteInt(int32_t&) {}
    virtual void WriteUInt(uint32_t&) {}
    virtual void WriteByte(uint8_t&) {}
    virtual void WriteBool(bool&) {}
    virtual void WriteLong(long&) {}

    virtual void ReadResourceRecord(ResourceRecord&) = 0;
    virtual void ReadFileRecord(FileRecord&) = 0;
    virtual void ReadString(ds_string&) = 0;
    virtual void ReadInt64(int64_t&) = 0;
    virtual void ReadFloat(float&) = 0;
    virtual void ReadPoint(POINT&) = 0;
    virtual void ReadInt(int32_t&) = 0;
    virtual void ReadUInt(uint32_t&) = 0;
    virtual void ReadByte(uint8_t&) = 0;
    virtual void ReadBool(bool&) = 0;
    virtual void ReadLong(long&) = 0;

    // Bytes a reader may still consume, so that counts can be checked before
    // anything is allocated for them. Archives that only write have no limit.
    virtual std::size_t BytesLeft() const { return SIZE_MAX; }
    // An int32 count of elements of elementSize bytes each, all of which must
    // still follow it; when they do not, MediaLoadError is thrown and nothing
    // is consumed, as with every other failed read. Archives without a limit
    // read the count alone.
    virtual void ReadCount(int32_t& count, std::size_t) { ReadInt(count); }
};

// Owns the archive being read; every document reader receives it by reference.
class ArchiveHandle {
public:
    explicit ArchiveHandle(std::unique_ptr<DS_IOF_Virtual> owned) : archive(std::move(owned)) {}

    DS_IOF_Virtual* operator->() const { return archive.get(); }
    DS_IOF_Virtual& operator*() const { return *archive; }

private:
    std::unique_ptr<DS_IOF_Virtual> archive;
};

// An int32 count, then count floats appended to values; elements already
// there stay, and a count of 0 or less reads nothing more.
void ReadFloatVector(ArchiveHandle& handle, std::vector<float>& values);
