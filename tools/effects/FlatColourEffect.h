// The smallest useful effect: one technique whose one pass draws every pixel
// in one colour through the fixed-function texture stage.
#pragma once

#include <cstdint>
#include <vector>

// The technique and pass names of the flat-colour effect, and the name of
// its float4 parameter, which holds the colour as red, green, blue, alpha
// from 0 to 1 (for callers that read it back; the pass does not use it).
extern const char* const FlatColourTechnique;
extern const char* const FlatColourPass;
extern const char* const FlatColourParameter;

// A compiled effect whose pass sets the texture factor to argb (D3DCOLOR)
// and selects it as stage 0's colour and alpha, without blending.
std::vector<uint8_t> FlatColourEffect(uint32_t argb);
