#include "objects/models/MeshDrawStates.h"

#include "foundation/core/ComHolder.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/StageStates.h"

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
    SetLinearFilters(device, 0);

    UntransformedTexCoords(device, 0, 0);
    SelectTextureOnStage0(device);
    DisableStage(device, 1);
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
