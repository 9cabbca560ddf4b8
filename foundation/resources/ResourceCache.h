// The textures, meshes and modules of one document that belong to no single
// link: the program's own pictures, pictures from disk paths, module
// resources and the loaded modules.
#pragma once

#include "foundation/core/Types.h"
#include "foundation/core/ComHolder.h"
#include "foundation/resources/LoadedMesh.h"
#include "foundation/resources/SizedTexture.h"

#include <windows.h>
#include <d3d9.h>

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <utility>

class ResourceRecord;

// Everything is made on CurrentDevice when first asked for and kept for the
// cache's life; only failures are tried again. Each screen's document owns
// its own cache, so objects made on one screen's device never reach another.
class ResourceCache {
public:
    // A module resource by the module's name, for a module that did not load.
    using ModuleNameKey = std::pair<ds_string, int32_t>;

    ResourceCache() = default;
    // Releases every texture and mesh; modules stay loaded. Stops being
    // CurrentResourceCache when it was.
    ~ResourceCache();
    ResourceCache(const ResourceCache&) = delete;
    ResourceCache& operator=(const ResourceCache&) = delete;

    // The program's "DDS" resource number with a full mip chain: a new
    // reference for the caller, or none.
    ComHolder<IDirect3DTexture9> GetResourceTexture(int32_t number);

    // The picture of a record: its embedded bytes, its disk path or its
    // module's resource (see the definition for the order of preference).
    SizedTexture GetRecordTexture(const ResourceRecord& record);

    // A picture file on disk.
    SizedTexture GetFileTexture(const ds_string& path);

    // The mesh of a record, stride bytes per vertex (LoadedMeshStride).
    LoadedMesh GetRecordMesh(const ResourceRecord& record, UINT stride);

    // The entry of a module that did not load, created empty when absent.
    SizedTexture& FindModuleTexture(const ModuleNameKey& key);

    // The loaded module of that name (none for the empty name: the program).
    // A module that does not load is not remembered and is tried again.
    bool GetModule(const ds_string& name, HMODULE& module);

private:
    struct ModuleResourceKey {
        HMODULE module;
        int32_t number;
        bool operator<(const ModuleResourceKey& other) const
        {
            if (module != other.module)
                return std::less<HMODULE>()(module, other.module);
            return number < other.number;
        }
    };

    std::map<int32_t, ComHolder<IDirect3DTexture9>> resourceTextures;
    std::map<ds_string, SizedTexture> fileTextures;
    std::map<ModuleResourceKey, SizedTexture> moduleTextures;
    std::map<ModuleNameKey, SizedTexture> absentModuleTextures;
    // By resource number alone: records of one number in different modules
    // share the mesh. A list so that "not loaded yet" and "loaded empty"
    // differ.
    std::map<int32_t, std::list<LoadedMesh>> meshes;
    std::map<ds_string, HMODULE> modules;
};

// The cache of the document being loaded or drawn; none when no document is
// current. Whoever makes a document's resources current publishes its cache
// here together with CurrentDevice.
extern ResourceCache* CurrentResourceCache;
