#include "foundation/resources/ResourceCache.h"

#include "foundation/archive/FileRecord.h"
#include "foundation/resources/MeshLoaders.h"
#include "foundation/resources/ResourceModule.h"
#include "foundation/resources/TextureLoaders.h"

ResourceCache* CurrentResourceCache = nullptr;

namespace {

// The size a module picture is given when it cannot be made: the authoring
// tool's default canvas.
constexpr UINT AbsentPictureWidth = 800;
constexpr UINT AbsentPictureHeight = 600;

} // namespace

ResourceCache::~ResourceCache()
{
    if (CurrentResourceCache == this)
        CurrentResourceCache = nullptr;
}

ComHolder<IDirect3DTexture9> ResourceCache::GetResourceTexture(int32_t number)
{
    ComHolder<IDirect3DTexture9>& entry = resourceTextures[number];
    if (!entry)
        LoadResourceTexture(number, true, entry);
    return entry;
}

SizedTexture ResourceCache::GetRecordTexture(const ResourceRecord& record)
{
    if (!record.path.empty()) {
        // Pictures with bytes belong to their link's texture set, which keeps
        // them; they are not cached here.
        if (record.Bytes())
            return CreateSizedTextureFromMemory(record.Bytes(), record.Size());
        return GetFileTexture(record.path);
    }

    HMODULE module = nullptr;
    if (GetModule(record.modulePath, module)) {
        // A module that loads is preferred to the copy the document embeds;
        // the copy serves when the module lacks the resource.
        SizedTexture& entry = moduleTextures[{module, record.resourceId}];
        if (entry.texture)
            return entry;
        ComHolder<IDirect3DTexture9> texture;
        D3DXIMAGE_INFO info{};
        if (FAILED(LoadModuleTexture(module, record.resourceId, texture, info)))
            LoadTextureFromMemory(record.Bytes(), record.Size(), texture, info);
        if (texture)
            AssignSizedTexture(entry, texture.Get(), info);
        return entry;
    }

    SizedTexture& entry = absentModuleTextures[{record.modulePath, record.resourceId}];
    if (entry.texture)
        return entry;
    ComHolder<IDirect3DTexture9> texture;
    D3DXIMAGE_INFO info{};
    info.Width = AbsentPictureWidth;
    info.Height = AbsentPictureHeight;
    LoadTextureFromMemory(record.Bytes(), record.Size(), texture, info);
    AssignSizedTexture(entry, texture.Get(), info);
    return entry;
}

SizedTexture ResourceCache::GetFileTexture(const ds_string& path)
{
    SizedTexture& entry = fileTextures[path];
    if (entry.texture)
        return entry;
    ComHolder<IDirect3DTexture9> texture;
    D3DXIMAGE_INFO info{};
    if (SUCCEEDED(LoadTextureFromFile(path, texture, info)))
        AssignSizedTexture(entry, texture.Get(), info);
    return entry;
}

LoadedMesh ResourceCache::GetRecordMesh(const ResourceRecord& record, UINT stride)
{
    // A record with a path is an embedded or disk file: its own bytes, else
    // its path. All such records carry the number 0, so they share no entry.
    if (!record.path.empty()) {
        if (record.Bytes())
            return LoadMeshFromMemory(record.Bytes(), record.Size(), stride);
        return LoadMeshFromFile(record.path, stride);
    }

    std::list<LoadedMesh>& list = meshes[record.resourceId];
    if (list.size() == 1)
        return list.front();

    HMODULE module = nullptr;
    if (GetModule(record.modulePath, module)) {
        // Kept even when empty: the module's resources do not change.
        list.push_back(LoadModuleMesh(module, record.resourceId, stride));
        return list.back();
    }
    // The module is absent: the embedded copy, made anew at every call.
    return LoadMeshFromMemory(record.Bytes(), record.Size(), stride);
}

SizedTexture& ResourceCache::FindModuleTexture(const ModuleNameKey& key)
{
    return absentModuleTextures[key];
}

bool ResourceCache::GetModule(const ds_string& name, HMODULE& module)
{
    const auto found = modules.find(name);
    if (found != modules.end()) {
        module = found->second;
        return true;
    }
    if (!LoadResourceModule(name, module))
        return false;
    modules.emplace(name, module);
    return true;
}
