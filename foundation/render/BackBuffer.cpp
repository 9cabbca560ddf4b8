#include "foundation/render/BackBuffer.h"

#include "foundation/core/ComHolder.h"
#include "foundation/core/CurrentDevice.h"

D3DSURFACE_DESC GetBackBufferDesc()
{
    D3DSURFACE_DESC desc{};
    if (!CurrentDevice)
        return desc;
    ComHolder<IDirect3DSurface9> back;
    if (SUCCEEDED(CurrentDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.Out())) && back &&
        FAILED(back->GetDesc(&desc)))
        desc = D3DSURFACE_DESC{};
    return desc;
}
