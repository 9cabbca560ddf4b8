// Resource modules named by file links, and the bytes of their resources.
#pragma once

#include "foundation/core/Types.h"

#include <windows.h>

#include <cstdint>

class ResourceRecord;

// Loads the module that a link or record names, as data for its resources
// only: no code of it ever runs. The module stays loaded. The empty name
// stands for the program itself: true with no handle, so that resource
// look-ups search the program's own resources. A name that does not end in
// ".dll" names no module: false. A bare file name is looked for beside the
// program, then in the system folder, never in the current folder or along
// PATH, so that no stray file of that name is loaded; a name with a folder
// is loaded as given.
bool LoadResourceModule(const ds_string& name, HMODULE& module);

// The bytes of a loaded resource; they live as long as the module.
struct ResourceBytes {
    const uint8_t* data = nullptr;
    uint32_t size = 0;

    explicit operator bool() const { return data != nullptr; }
};

// Resource number of type in module (none: the program), found, loaded and
// locked. The number's low 16 bits name the resource. Empty when the
// resource is absent, empty, larger than a record can hold or does not lock.
ResourceBytes FindResourceBytes(HMODULE module, int32_t number, const wchar_t* type);

// The type of pictures, meshes and image lists in resource modules and in
// the program.
extern const wchar_t* const PictureResourceType;
// The type of compiled effects in resource modules (RT_RCDATA).
extern const wchar_t* const EffectResourceType;

// Where a resource is looked for when the record's module does not load.
enum class ModuleFallback {
    // Nowhere: the record stays without bytes.
    None,
    // Among the program's own resources of the same number and type, which
    // carry the effects and meshes that documents name by module number.
    ProgramResources,
};

// Loads the record's module and copies its resource of the record's number
// and the given type into the record's bytes. False, with the bytes
// unchanged, when neither the module nor, as fallback says, the program has
// the resource.
bool LoadModuleResource(ResourceRecord& record, const wchar_t* type = PictureResourceType,
                        ModuleFallback fallback = ModuleFallback::None);
