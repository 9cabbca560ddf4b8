// Whether the current device can draw an effect's technique.
//
// D3DXCreateEffect succeeds for an effect whose techniques this device
// cannot run: a shader of a model the device lacks, or (on Windows, where
// ValidateTechnique also applies each pass's states) a blend operation, a
// texture operation or a format it does not have. Drawing with such a
// technique leaves the pipeline half set. Every user of an effect asks
// before it draws, when the effect is made and again after a device reset,
// and treats a refused technique as a missing effect.
#pragma once

#include <d3dx9effect.h>

#include <initializer_list>

// The named technique when the effect has it and the device accepts it
// (ID3DXEffect::ValidateTechnique); null otherwise, and without an effect.
// A refusal is written to the debugger's output.
D3DXHANDLE UsableTechnique(ID3DXEffect* effect, const char* name);

// Whether the effect has every named technique and the device accepts them.
bool TechniquesUsable(ID3DXEffect* effect, std::initializer_list<const char*> names);
