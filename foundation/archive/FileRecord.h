// Embedded files of a scene document: a file's path and bytes, and the
// resource record that can also name a resource of a module.
#pragma once

#include "foundation/core/Types.h"

#include <cstdint>
#include <memory>

class ArchiveHandle;

// One embedded file. Copies duplicate the byte block; a record moved from is
// left with no bytes and size 0.
class FileRecord {
public:
    FileRecord() = default;
    explicit FileRecord(const ds_string& filePath) : path(filePath) {}
    FileRecord(const FileRecord& other);
    FileRecord& operator=(const FileRecord& other);
    FileRecord(FileRecord&& other) noexcept;
    FileRecord& operator=(FileRecord&& other) noexcept;
    virtual ~FileRecord() = default;

    // Takes a new path; a different path drops the bytes, which belonged to
    // the old one.
    void Repoint(const ds_string& newPath);
    // Replaces the bytes with a copy of the given block; no block (or a count
    // of 0 or less) leaves the record without bytes.
    void SetBytes(int32_t count, const uint8_t* data);
    // Takes ownership of a block of count bytes (none when count is 0 or less).
    void AdoptBytes(int32_t count, std::unique_ptr<uint8_t[]> data);
    // Gives the block away, leaving the record without bytes.
    std::unique_ptr<uint8_t[]> ReleaseBytes()
    {
        size = 0;
        return std::move(bytes);
    }

    const uint8_t* Bytes() const { return bytes.get(); }
    int32_t Size() const { return size; }

    ds_string path;

private:
    std::unique_ptr<uint8_t[]> bytes;
    int32_t size = 0;
};

// A file record that may name a resource inside a module instead of a disk
// file: a module record has a resource id other than 0 and the module's file
// name; a disk record has id 0 and an empty module path.
class ResourceRecord : public FileRecord {
public:
    ResourceRecord() = default;
    // Reads one record at the archive's position.
    explicit ResourceRecord(ArchiveHandle& handle);
    // A module resource with no bytes yet.
    ResourceRecord(int32_t id, const ds_string& module) : resourceId(id), modulePath(module) {}
    // A disk file with no bytes yet.
    explicit ResourceRecord(const ds_string& filePath) : FileRecord(filePath) {}

    bool IsModuleRecord() const { return resourceId != 0; }

    int32_t resourceId = 0;
    ds_string modulePath;
};

// The text after the last backslash; empty when the path has none.
ds_string GetFileName(const ds_string& path);
