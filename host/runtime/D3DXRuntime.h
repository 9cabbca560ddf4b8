// The D3DX runtime (d3dx9_43.dll), which a fresh Windows does not have. The
// program imports it delay-loaded (cmake/D3DXDelayLoad.cmake): nothing looks
// for the DLL before the host's start-up check, which loads it from the
// system folder (where the DirectX runtime puts it) and binds every imported
// function at once; otherwise the host reports NoDirect3D.
#pragma once

#include <windows.h>

// d3dx9_43.dll from the system folder only (never the program's folder, the
// current folder or the PATH), without the system's error box; null when it
// is not there.
HMODULE LoadSystemD3DXRuntime();

// Binds every delay-loaded D3DX import of the program to runtime, now. False
// when runtime is null or lacks one of them: the program must then not call
// into D3DX at all.
bool BindD3DXImports(HMODULE runtime);

// The start-up check: the system folder's runtime, every import bound. Its
// result is kept for later calls.
bool LoadD3DXRuntime();
