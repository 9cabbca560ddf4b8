#include "foundation/resources/ResourceModule.h"

#include "foundation/archive/FileRecord.h"
#include "foundation/resources/ResourceModuleForTesting.h"

#include <cstdint>
#include <vector>

const wchar_t* const PictureResourceType = L"DDS";
const wchar_t* const EffectResourceType = RT_RCDATA;

namespace {

uint32_t moduleSearches = 0;

bool HasFolder(const ds_string& name)
{
    return name.find_first_of(L"\\/:") != ds_string::npos;
}

// The folder of path with its trailing backslash; empty when it has none.
ds_string FolderOf(const ds_string& path)
{
    const auto slash = path.find_last_of(L"\\/");
    return slash == ds_string::npos ? ds_string() : path.substr(0, slash + 1);
}

ds_string ProgramFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return ds_string();
        if (length < buffer.size())
            return FolderOf(ds_string(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

ds_string SystemFolder()
{
    const UINT needed = GetSystemDirectoryW(nullptr, 0);
    if (needed == 0)
        return ds_string();
    std::vector<wchar_t> buffer(needed);
    const UINT length = GetSystemDirectoryW(buffer.data(), needed);
    if (length == 0 || length >= needed)
        return ds_string();
    return ds_string(buffer.data(), length) + L"\\";
}

// A module is only ever read for its resources: mapped as an image so that
// FindResourceW finds them, but neither its start-up code nor its imports
// run. A file that is missing, damaged or on a drive without its medium gives
// no module, without the system's critical-error box.
HMODULE LoadAsData(const ds_string& path)
{
    DWORD previousMode = 0;
    const bool quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE module =
        LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (quiet)
        SetThreadErrorMode(previousMode, nullptr);
    return module;
}

HMODULE LoadFrom(const ds_string& folder, const ds_string& name)
{
    if (folder.empty())
        return nullptr;
    return LoadAsData(folder + name);
}

// Only a path with the extension ".dll" names a module; anything else (an
// effect or picture file on disk) is never handed to the loader.
bool NamesModule(const ds_string& name)
{
    const ds_string extension = L".dll";
    if (name.size() <= extension.size())
        return false;
    return CompareStringOrdinal(name.c_str() + name.size() - extension.size(), static_cast<int>(extension.size()),
                                extension.c_str(), static_cast<int>(extension.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

uint32_t ModuleSearchesForTesting() { return moduleSearches; }

bool LoadResourceModule(const ds_string& name, HMODULE& module)
{
    module = nullptr;
    if (name.empty())
        return true;
    if (!NamesModule(name))
        return false;
    ++moduleSearches;
    if (HasFolder(name)) {
        module = LoadAsData(name);
    } else {
        module = LoadFrom(ProgramFolder(), name);
        if (!module)
            module = LoadFrom(SystemFolder(), name);
    }
    return module != nullptr;
}

ResourceBytes FindResourceBytes(HMODULE module, int32_t number, const wchar_t* type)
{
    const WORD id = static_cast<WORD>(number & 0xFFFF);
    // Id 0 is no resource name at all: a null name would mean "any".
    if (id == 0)
        return {};
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!info)
        return {};
    const DWORD size = SizeofResource(module, info);
    // Records count their bytes in an int32.
    if (size == 0 || size > static_cast<DWORD>(INT32_MAX))
        return {};
    HGLOBAL loaded = LoadResource(module, info);
    if (!loaded)
        return {};
    const void* data = LockResource(loaded);
    if (!data)
        return {};
    return {static_cast<const uint8_t*>(data), size};
}

bool LoadModuleResource(ResourceRecord& record, const wchar_t* type, ModuleFallback fallback)
{
    HMODULE module = nullptr;
    if (!LoadResourceModule(record.modulePath, module)) {
        if (fallback == ModuleFallback::None)
            return false;
        module = nullptr; // the program itself
    }
    const ResourceBytes bytes = FindResourceBytes(module, record.resourceId, type);
    if (!bytes)
        return false;
    record.SetBytes(static_cast<int32_t>(bytes.size), bytes.data);
    return true;
}
