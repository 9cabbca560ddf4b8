// The vertex layouts the program draws with, each with its flexible vertex
// format code. Direct3D reads these structures byte for byte, so their sizes
// and field orders are fixed.
#pragma once

#include <d3d9.h>

#include <cstddef>
#include <type_traits>

namespace DX_V {

// Position, colour, one texture coordinate.
struct PCT {
    static constexpr DWORD FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};

// Pre-transformed (back-buffer pixels), colour, one texture coordinate.
struct SPCT {
    static constexpr DWORD FVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};

// Pre-transformed, colour.
struct SPC {
    static constexpr DWORD FVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
    float x, y, z, rhw;
    D3DCOLOR color;
};

// Position, colour.
struct PC {
    static constexpr DWORD FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE;
    float x, y, z;
    D3DCOLOR color;
};

// Position, one texture coordinate.
struct PT {
    static constexpr DWORD FVF = D3DFVF_XYZ | D3DFVF_TEX1;
    float x, y, z;
    float u, v;
};

// Position, normal, one texture coordinate: the layout of loaded meshes.
struct PNT {
    static constexpr DWORD FVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

// Position, normal, colour, one texture coordinate.
struct PNCT {
    static constexpr DWORD FVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR color;
    float u, v;
};

// Position only.
struct P {
    static constexpr DWORD FVF = D3DFVF_XYZ;
    float x, y, z;
};

// Position and two texture-coordinate pairs.
struct PT2 {
    static constexpr DWORD FVF = D3DFVF_XYZ | D3DFVF_TEX2;
    float x, y, z;
    float u, v;
    float u2, v2;
};

static_assert(PCT::FVF == 0x142 && sizeof(PCT) == 24, "PCT layout");
static_assert(SPCT::FVF == 0x144 && sizeof(SPCT) == 28, "SPCT layout");
static_assert(SPC::FVF == 0x44 && sizeof(SPC) == 20, "SPC layout");
static_assert(PC::FVF == 0x42 && sizeof(PC) == 16, "PC layout");
static_assert(PT::FVF == 0x102 && sizeof(PT) == 20, "PT layout");
static_assert(PNT::FVF == 0x112 && sizeof(PNT) == 32, "PNT layout");
static_assert(PNCT::FVF == 0x152 && sizeof(PNCT) == 36, "PNCT layout");
static_assert(P::FVF == 0x2 && sizeof(P) == 12, "P layout");
static_assert(PT2::FVF == 0x202 && sizeof(PT2) == 28, "PT2 layout");

static_assert(std::is_standard_layout<PCT>::value && std::is_standard_layout<SPCT>::value &&
                  std::is_standard_layout<SPC>::value && std::is_standard_layout<PC>::value &&
                  std::is_standard_layout<PT>::value && std::is_standard_layout<PNT>::value &&
                  std::is_standard_layout<PNCT>::value && std::is_standard_layout<P>::value &&
                  std::is_standard_layout<PT2>::value,
              "vertex formats are plain structures");

} // namespace DX_V
