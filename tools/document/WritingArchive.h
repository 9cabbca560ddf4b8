// An archive that writes: it implements the write slots in the byte layout
// the reading archive reads, so tools can save document objects and tests can
// check that reading and writing mirror each other.
#pragma once

#include "foundation/archive/DS_IOF_Virtual.h"

#include <cstdint>
#include <vector>

class WritingArchive : public DS_IOF_Virtual {
public:
    void WriteResourceRecord(ResourceRecord& record) override;
    void WriteFileRecord(FileRecord& record) override;
    void WriteString(ds_string& text) override;
    void WriteInt64(int64_t& value) override;
    void WriteFloat(float& value) override;
    void WritePoint(POINT& point) override;
    void WriteInt(int32_t& value) override;
    void WriteUInt(uint32_t& value) override;
    void WriteByte(uint8_t& value) override;
    void WriteBool(bool& value) override;
    void WriteLong(long& value) override;

    // This archive only writes: every read throws std::logic_error.
    void ReadResourceRecord(ResourceRecord&) override;
    void ReadFileRecord(FileRecord&) override;
    void ReadString(ds_string&) override;
    void ReadInt64(int64_t&) override;
    void ReadFloat(float&) override;
    void ReadPoint(POINT&) override;
    void ReadInt(int32_t&) override;
    void ReadUInt(uint32_t&) override;
    void ReadByte(uint8_t&) override;
    void ReadBool(bool&) override;
    void ReadLong(long&) override;

    const std::vector<uint8_t>& Bytes() const { return bytes; }

private:
    void Put(const void* data, std::size_t count);
    void PutString(const ds_string& text);

    std::vector<uint8_t> bytes;
};

// An ArchiveHandle that owns a new WritingArchive, with direct access to the
// archive for its bytes.
struct WritingHandle {
    WritingHandle();
    ArchiveHandle handle;
    WritingArchive* archive;
};
