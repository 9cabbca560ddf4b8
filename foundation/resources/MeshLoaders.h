// Meshes made on CurrentDevice from X files in resource modules, in memory
// or on disk, copied into LoadedMesh buffers.
//
// Every loader gives the empty mesh when the file does not load or any step
// of the copy fails, so a mesh never counts vertices it has no buffer for.
#pragma once

#include "foundation/core/Types.h"
#include "foundation/resources/LoadedMesh.h"

#include <windows.h>

#include <cstdint>

// The vertex size of every loaded mesh (position, normal, one texture
// coordinate pair), the only stride the loaders accept.
constexpr UINT LoadedMeshStride = 32;

// The "DDS" resource number of module (none: the program) as an X file.
LoadedMesh LoadModuleMesh(HMODULE module, int32_t number, UINT stride);

// An X file in memory.
LoadedMesh LoadMeshFromMemory(const uint8_t* bytes, int32_t size, UINT stride);

// An X file on disk.
LoadedMesh LoadMeshFromFile(const ds_string& path, UINT stride);
