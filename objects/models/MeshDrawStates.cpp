#include "objects/models/MeshDrawStates.h"

#include "foundation/core/ComHolder.h"
#include "foundation/core/CurrentDevice.h"

void SetMeshDrawStates()
{
    IDirect3DDevice9* const device = CurrentDevice;
    if (!device)
        return;
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

    device->SetPixelShader(nullptr);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);

    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

bool ClearDepthForObject()
{
    IDirect3DDevice9* const device = CurrentDevice;
    if (!device)
        return false;
    ComHolder<IDirect3DSurface9> depth;
    ComHolder<IDirect3DSurface9> target;
    if (FAILED(device->GetDepthStencilSurface(depth.Out())) || !depth ||
        FAILED(device->GetRenderTarget(0, target.Out())) || !target)
        return false;
    D3DSURFACE_DESC depthDesc{};
    D3DSURFACE_DESC targetDesc{};
    if (FAILED(depth->GetDesc(&depthDesc)) || FAILED(target->GetDesc(&targetDesc)))
        return false;
    // A depth buffer smaller than the target cannot be drawn with.
    if (depthDesc.Width < targetDesc.Width || depthDesc.Height < targetDesc.Height)
        return false;
    return SUCCEEDED(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
}

void SetMeshDepthStates(bool writeDepth)
{
    IDirect3DDevice9* const device = CurrentDevice;
    if (!device)
        return;
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_ZWRITEENABLE, writeDepth ? TRUE : FALSE);
}
