#include "foundation/core/CurrentDevice.h"

IDirect3DDevice9* CurrentDevice = nullptr;
