#include "foundation/archive/FileRecord.h"

#include "foundation/archive/DS_IOF_Virtual.h"

#include <cstring>
#include <utility>

FileRecord::FileRecord(const FileRecord& other) : path(other.path)
{
    SetBytes(other.size, other.bytes.get());
}

FileRecord& FileRecord::operator=(const FileRecord& other)
{
    if (this != &other) {
        path = other.path;
        SetBytes(other.size, other.bytes.get());
    }
    return *this;
}

FileRecord::FileRecord(FileRecord&& other) noexcept
    : path(std::move(other.path)), bytes(std::move(other.bytes)), size(std::exchange(other.size, 0))
{
}

FileRecord& FileRecord::operator=(FileRecord&& other) noexcept
{
    if (this != &other) {
        path = std::move(other.path);
        bytes = std::move(other.bytes);
        size = std::exchange(other.size, 0);
    }
    return *this;
}

void FileRecord::Repoint(const ds_string& newPath)
{
    if (newPath == path)
        return;
    bytes.reset();
    size = 0;
    path = newPath;
}

void FileRecord::SetBytes(int32_t count, const uint8_t* data)
{
    if (count <= 0 || !data) {
        bytes.reset();
        size = 0;
        return;
    }
    auto block = std::make_unique<uint8_t[]>(static_cast<std::size_t>(count));
    std::memcpy(block.get(), data, static_cast<std::size_t>(count));
    bytes = std::move(block);
    size = count;
}

void FileRecord::AdoptBytes(int32_t count, std::unique_ptr<uint8_t[]> data)
{
    if (count <= 0)
        data.reset();
    bytes = std::move(data);
    size = bytes ? count : 0;
}

ResourceRecord::ResourceRecord(ArchiveHandle& handle)
{
    handle->ReadResourceRecord(*this);
}

ds_string GetFileName(const ds_string& path)
{
    const auto slash = path.rfind(L'\\');
    if (slash == ds_string::npos)
        return ds_string();
    return path.substr(slash + 1);
}
