// A drawing target that the resource manager keeps under a GUID. Its textures
// live in the default pool: the manager lets them go before a device reset
// and makes them again afterwards, from the GUID's texture.
#pragma once

#include <d3d9.h>

#include <cstdint>

class DefaultPoolTarget {
public:
    virtual void ReleaseTextures() = 0;
    virtual void CreateFromTexture(IDirect3DTexture9* source, uint32_t w, uint32_t h) = 0;

protected:
    ~DefaultPoolTarget() = default;
};
