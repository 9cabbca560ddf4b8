// Untextured quads with a colour per corner: pre-transformed ones in
// back-buffer pixels (DX_V::SPC: the borders, the fade quad) and ones in
// picture coordinates drawn through the current transforms (DX_V::PC: the
// lake's tint quads). Corners in the strip order of ScreenQuad.
//
// The setters that fill a buffer write only when it locks; the others leave
// a quad without a buffer as it is.
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"
#include "foundation/render/ScreenQuad.h"

#include <d3d9.h>

// A new four-vertex buffer with the quad's corners and colour on all four.
void SetQuadSPC(DS_SimpleMesh<DX_V::SPC>& mesh, D3DCOLOR colour, const ScreenQuad& quad);
void SetQuadPC(DS_SimpleMesh<DX_V::PC>& mesh, D3DCOLOR colour, const ScreenQuad& quad);

// Opacities 0 to 1 per corner: a bottom left, b bottom right, c top left,
// d top right; each becomes trunc(value × 255), held within 0..255. The RGB
// of each corner stays.
void SetQuadAlphasSPC(DS_SimpleMesh<DX_V::SPC>& mesh, float a, float b, float c, float d);
void SetQuadAlphasPC(DS_SimpleMesh<DX_V::PC>& mesh, float a, float b, float c, float d);

// The RGB of all four corners; each alpha stays.
void SetQuadRgbPC(DS_SimpleMesh<DX_V::PC>& mesh, D3DCOLOR colour);

// Draws the quad alpha-blended over what is there, in its exact vertex
// colours, with the device's current transforms. Alpha blending stays on
// afterwards.
void DrawQuadPC(const DS_SimpleMesh<DX_V::PC>& mesh);
