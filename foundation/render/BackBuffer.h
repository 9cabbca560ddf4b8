// What the drawing code reads of the back buffer it draws into.
#pragma once

#include <d3d9.h>

// The description of CurrentDevice's first back buffer; all zero when there
// is none.
D3DSURFACE_DESC GetBackBufferDesc();
