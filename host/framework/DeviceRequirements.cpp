#include "host/framework/DeviceRequirements.h"

HRESULT CheckBumpMappingSupport(IDirect3D9* direct3D, const D3DCAPS9& caps, D3DFORMAT backBufferFormat)
{
    if (!direct3D || !(caps.TextureOpCaps & D3DTEXOPCAPS_BUMPENVMAP))
        return E_FAIL;
    // Asked for bump mapping: a device may make V8U8 textures and still not
    // bump-map with them.
    if (FAILED(direct3D->CheckDeviceFormat(caps.AdapterOrdinal, caps.DeviceType, backBufferFormat,
                                           D3DUSAGE_QUERY_LEGACYBUMPMAP, D3DRTYPE_TEXTURE, D3DFMT_V8U8)))
        return E_FAIL;
    return S_OK;
}
