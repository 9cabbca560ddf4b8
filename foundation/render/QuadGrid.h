// The vertices of a grid spanned between a quad's edges (the fire brush's
// grid).
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"
#include "foundation/render/ScreenQuad.h"

// Fills (rows + 1) × (columns + 1) vertices, column by column: vertex
// r + (rows + 1) × c lies at row r of column c, interpolated in position and
// texture coordinate between the quad's bottom edge (row 0) and its top edge
// (row `rows`), and between its left (column 0) and right edges. Nothing is
// written unless the grid has at least one row and column and its buffer
// locks and holds every vertex.
void FillQuadGrid(DS_SimpleMesh<DX_V::PT>& grid, int rows, int columns, const ScreenQuad& quad);
