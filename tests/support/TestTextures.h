// Managed textures of one level made on a test device and filled on the
// CPU, for tests that need a picture whose every texel is known.
#pragma once

#include "foundation/core/ComHolder.h"

#include <windows.h>
#include <d3d9.h>

#include <cstdint>
#include <functional>

struct Image;

// Writes row y of a locked texture, starting at its first byte.
using TextureRowWriter = std::function<void(uint8_t* row, UINT y)>;
// The colour of the texel at (x, y).
using TexelColour = std::function<D3DCOLOR(UINT x, UINT y)>;

// A managed texture of width × height texels of format, each row written by
// writeRow. Empty when the texture cannot be made or locked.
ComHolder<IDirect3DTexture9> FilledTexture(IDirect3DDevice9* device, UINT width, UINT height, D3DFORMAT format,
                                           const TextureRowWriter& writeRow);

// A 32-bit texture (A8R8G8B8, or X8R8G8B8 whose alpha byte is unused) with
// colour(x, y) at each texel.
ComHolder<IDirect3DTexture9> ColourTexture(IDirect3DDevice9* device, UINT width, UINT height,
                                           const TexelColour& colour, D3DFORMAT format = D3DFMT_A8R8G8B8);

// 4 × 4 A8R8G8B8 texels of one colour: a texture that looks the same
// however it is sampled.
ComHolder<IDirect3DTexture9> SolidTexture(IDirect3DDevice9* device, D3DCOLOR colour);

// The picture's RGBA pixels as an A8R8G8B8 texture of its size.
ComHolder<IDirect3DTexture9> TextureOf(IDirect3DDevice9* device, const Image& image);
