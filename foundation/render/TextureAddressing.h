// Mirror and wrap addressing of textures whose sides are not powers of two.
// A device that reports D3DPTEXTURECAPS_POW2 makes such textures only under
// D3DPTEXTURECAPS_NONPOW2CONDITIONAL, and then only clamped addressing (no
// wrap, no mirror, no mip maps) is defined on them. The scene captures are
// as large as the screen, so they are such textures on most screens.
#pragma once

#include <d3d9.h>

// `wanted` (wrap or mirror, say) when CurrentDevice can address the texture
// that way (sides that are powers of two, or a device without the POW2
// restriction), CLAMP otherwise; `wanted` without a texture or a device.
D3DTEXTUREADDRESS UsableAddressing(IDirect3DTexture9* texture, D3DTEXTUREADDRESS wanted);

// For tests only: makes UsableAddressing see a device that restricts textures
// to powers of two with conditional support for other sizes.
void PretendConditionalNonPow2ForTesting(bool pretend);
