// For tests only: makes the layers' format checks see a device that lacks
// some texture formats, so that their fall-backs run on a device that has
// them all.
#pragma once

#include <d3d9.h>

#include <vector>

// SupportsTextureFormat answers false for these formats whatever the device
// says; an empty list (the start) leaves every answer to the device.
void WithholdTextureFormatsForTesting(std::vector<D3DFORMAT> formats);

// SupportsBumpMapFormat (alone) answers false for these formats: a device
// that makes such textures but does not bump-map with them.
void WithholdBumpMapFormatsForTesting(std::vector<D3DFORMAT> formats);
