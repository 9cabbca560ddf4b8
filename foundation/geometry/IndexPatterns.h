// The index orders the program draws: lists of separate quads, and the
// 8 × 8 grid of quads that the fire brush bends over its picture.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/geometry/IndexBuffers.h"

#include <d3d9.h>

#include <cstdint>

// Writes `quads` quads of four vertices each, every quad two triangles
// sharing an edge: k, k+1, k+2, k+2, k+1, k+3 (6 indices a quad).
void FillQuadListIndices(uint16_t* indices, UINT quads);

// A managed write-only buffer of `quads` quads' list indices in place of
// target's; empty when it cannot be made or written.
HRESULT CreateQuadListIndexBuffer(ComHolder<IDirect3DIndexBuffer9>& target, UINT quads);

// The 16-bit triangle-list indices of an 8 × 8 grid of quads over 9 × 9
// vertices numbered row by row: 128 triangles. Empty when it cannot be made.
IndexBufferPart BuildGridIndexBuffer();
