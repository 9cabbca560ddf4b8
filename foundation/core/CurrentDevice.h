// The Direct3D device of the screen being loaded or drawn. The host publishes
// it when it selects a screen; every Direct3D object of the scene is made on
// it.
#pragma once

#include <d3d9.h>

extern IDirect3DDevice9* CurrentDevice;
