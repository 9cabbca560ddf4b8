// Which texture formats the current device can make, for the layers that
// generate textures in formats a device may lack.
#pragma once

#include <d3d9.h>

// Whether CurrentDevice can create a plain (usage 0) texture of the format
// for its current display mode. False without a device.
bool SupportsTextureFormat(D3DFORMAT format);

// The first of the formats the device supports, or D3DFMT_UNKNOWN.
D3DFORMAT FirstSupportedTextureFormat(const D3DFORMAT* formats, int count);

// Whether CurrentDevice can bump-map with textures of the format
// (D3DUSAGE_QUERY_LEGACYBUMPMAP): a device may make a V16U16 texture and
// still refuse it to BUMPENVMAP. False without a device.
bool SupportsBumpMapFormat(D3DFORMAT format);

// The first of the formats the device bump-maps with, or D3DFMT_UNKNOWN.
D3DFORMAT FirstSupportedBumpMapFormat(const D3DFORMAT* formats, int count);
