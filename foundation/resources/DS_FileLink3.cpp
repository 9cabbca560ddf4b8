#include "foundation/resources/DS_FileLink3.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/FileRecord.h"

#include <windows.h>

namespace {

// FILETIME counts 100 ns ticks since 1601-01-01; the stamps count seconds
// since 1970-01-01.
constexpr int64_t TicksPerSecond = 10000000;
constexpr int64_t TicksFrom1601To1970 = 116444736000000000;

int64_t ModificationTime(const ds_string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return DS_FileLink3::UnknownFileTime;
    const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                               data.ftLastWriteTime.dwLowDateTime);
    const int64_t since1970 = ticks - TicksFrom1601To1970;
    // Round down, so a file made a fraction of a second before 1970 is -1.
    int64_t seconds = since1970 / TicksPerSecond;
    if (since1970 % TicksPerSecond < 0)
        --seconds;
    return seconds;
}

} // namespace

int32_t NextLinkStamp = 0;

DS_FileLink3::DS_FileLink3(const ds_string& path) : value{path, ModificationTime(path)} {}

DS_FileLink3::DS_FileLink3(const ResourceRecord& record)
{
    if (record.resourceId != 0) {
        value = FileKey{record.modulePath, record.resourceId};
        return;
    }
    value = FileKey{record.path, NextLinkStamp};
    // Unsigned arithmetic keeps the step defined even at the counter's limit.
    NextLinkStamp = static_cast<int32_t>(static_cast<uint32_t>(NextLinkStamp) + 1u);
}

ds_string DS_FileLink3::GetExtension() const
{
    const auto dot = value.path.rfind(L'.');
    if (dot == ds_string::npos)
        return ds_string();
    ds_string extension = value.path.substr(dot);
    // Only ASCII letters: the locale must not decide whether a path names a
    // module.
    for (wchar_t& unit : extension)
        if (unit >= L'A' && unit <= L'Z')
            unit = static_cast<wchar_t>(unit - L'A' + L'a');
    return extension;
}

bool DS_FileLink3::IsModuleLink() const
{
    return GetExtension() == L".dll";
}

void ReadFileLink(ArchiveHandle& handle, DS_FileLink3& link)
{
    ds_string path;
    int64_t stamp = 0;
    handle->ReadString(path);
    handle->ReadInt64(stamp);
    link.value.path = std::move(path);
    link.value.stamp = stamp;
}

void WriteFileLink(const DS_FileLink3& link, ArchiveHandle& handle)
{
    ds_string path = link.value.path;
    int64_t stamp = link.value.stamp;
    handle->WriteString(path);
    handle->WriteInt64(stamp);
}
