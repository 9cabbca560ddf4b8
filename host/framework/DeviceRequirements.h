// What a Direct3D device must offer to draw the scene: the glass-ball, lake
// and water-ring layers displace texture lookups with bump-environment
// mapping over V8U8 textures.
#pragma once

#include <d3d9.h>

// S_OK when the device described by caps (its adapter and type) has
// D3DTEXOPCAPS_BUMPENVMAP and V8U8 textures with backBufferFormat; E_FAIL
// otherwise.
HRESULT CheckBumpMappingSupport(IDirect3D9* direct3D, const D3DCAPS9& caps, D3DFORMAT backBufferFormat);
