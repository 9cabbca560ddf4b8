#include "foundation/render/CurrentDevice.h"

IDirect3DDevice9* CurrentDevice = nullptr;
