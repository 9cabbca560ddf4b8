// Textures made on CurrentDevice from picture files (PNG, JPEG, DDS, BMP …)
// held in the program's resources, in resource modules or in memory.
//
// Every loader makes a managed texture in the file's own format, rounded up
// to powers of two, without colour key. A loader that fails leaves its
// texture empty and its image information untouched.
#pragma once

#include "foundation/core/Types.h"
#include "foundation/core/ComHolder.h"
#include "foundation/resources/SizedTexture.h"

#include <windows.h>
#include <d3d9.h>
#include <d3dx9tex.h>

#include <cstdint>

// The program's "DDS" resource number, unscaled; with fullChain a complete
// mip chain is built from it, else one level. S_OK when a texture resulted,
// the loader's failure code, or E_FAIL when there is no such resource.
HRESULT LoadResourceTexture(int32_t number, bool fullChain, ComHolder<IDirect3DTexture9>& texture);

// The "DDS" resource number of module (none: the program), one level,
// filtered to the texture's size; info receives the picture's own size.
HRESULT LoadModuleTexture(HMODULE module, int32_t number, ComHolder<IDirect3DTexture9>& texture,
                          D3DXIMAGE_INFO& info);

// A picture file in memory, one level, filtered to the texture's size.
HRESULT LoadTextureFromMemory(const uint8_t* bytes, int32_t size, ComHolder<IDirect3DTexture9>& texture,
                              D3DXIMAGE_INFO& info);

// The same as a SizedTexture; the empty one when the bytes do not decode.
SizedTexture CreateSizedTextureFromMemory(const uint8_t* bytes, int32_t size);

// A picture file on disk, loaded like LoadTextureFromMemory (the loader of
// ResourceCache::GetFileTexture).
HRESULT LoadTextureFromFile(const ds_string& path, ComHolder<IDirect3DTexture9>& texture, D3DXIMAGE_INFO& info);
