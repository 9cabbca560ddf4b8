// File links: parameters that name a file by a path and a 64-bit stamp, the
// typed links for effects and meshes, and the link's record in the document.
//
// A link's kind follows from its path alone: a path whose extension is ".dll"
// names a module and its stamp is a resource number there; an empty path
// names the program's own resources by number; any other path names a disk
// file, stamped with its modification time or with a sequence number.
#pragma once

#include "foundation/params/MediaParam.h"
#include "foundation/resources/FileKey.h"
#include "foundation/core/Types.h"

#include <cstdint>

class ArchiveHandle;
class ResourceRecord;

// Sequence numbers for links made from disk records: 0 when the process
// starts, one more after each such link, never reset.
extern int32_t NextLinkStamp;

class DS_FileLink3 : public MediaParam {
public:
    // Empty path, stamp 0.
    DS_FileLink3() = default;
    // A disk file stamped with its modification time in seconds since 1970,
    // or UnknownFileTime when the file cannot be examined.
    explicit DS_FileLink3(const ds_string& path);
    // A numbered resource of a module (or of the program, for an empty path).
    DS_FileLink3(int32_t id, const ds_string& path) : value{path, id} {}
    explicit DS_FileLink3(const FileKey& key) : value(key) {}
    // A module record links to (module, id); a disk record links to its path
    // with the next sequence number.
    explicit DS_FileLink3(const ResourceRecord& record);
    // Copies take the path and stamp, never the listeners.
    DS_FileLink3(const DS_FileLink3& other) : MediaParam(), value(other.value) {}
    DS_FileLink3& operator=(const DS_FileLink3& other)
    {
        value = other.value;
        return *this;
    }

    // Below every sequence number and the time of every file written after
    // 1970, so a link to a file that could not be examined does not take the
    // key of one that could.
    static constexpr int64_t UnknownFileTime = -1;

    // From the last '.' of the whole path to its end, letters A-Z lowered;
    // empty when the path has no '.'.
    ds_string GetExtension() const;
    ds_string GetPath() const { return value.path; }

    bool IsModuleLink() const;
    bool IsEmptyLink() const { return value.path.empty(); }
    bool IsDiskLink() const { return !IsEmptyLink() && !IsModuleLink(); }

    FileKey value;
};

// A link to a compiled effect.
class DS_HLSLEffectFile : public DS_FileLink3 {
public:
    using DS_FileLink3::DS_FileLink3;
    DS_HLSLEffectFile() = default;
    explicit DS_HLSLEffectFile(const DS_FileLink3& link) : DS_FileLink3(link) {}
};

// A link to a mesh.
class DS_MeshFile : public DS_FileLink3 {
public:
    using DS_FileLink3::DS_FileLink3;
    DS_MeshFile() = default;
    explicit DS_MeshFile(const DS_FileLink3& link) : DS_FileLink3(link) {}
};

// Reads path and stamp into the link without telling its listeners; a read
// that fails leaves the link as it was.
void ReadFileLink(ArchiveHandle& handle, DS_FileLink3& link);
// Writes path, then stamp.
void WriteFileLink(const DS_FileLink3& link, ArchiveHandle& handle);
