// The D3DX runtime (d3dx9_43.dll), which a fresh Windows does not have. The
// program imports it delay-loaded (cmake/D3DXDelayLoad.cmake): the DLL is
// looked for at the first call of one of its functions, and a call without it
// would end the program. The host makes sure it is there before anything
// draws, and otherwise reports NoDirect3D.
#pragma once

// Loads d3dx9_43.dll from the system folder or the program's folder (never
// the current folder), without the system's error box. It stays loaded, so
// the delayed calls bind to it. False when it is not there.
bool LoadD3DXRuntime();
