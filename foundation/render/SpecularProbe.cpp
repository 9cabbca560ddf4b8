#include "foundation/render/SpecularProbe.h"

#include "foundation/core/ComHolder.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/StageStates.h"

#include <d3dx9math.h>

namespace {

struct ProbeVertex {
    float x, y, z;
    float nx, ny, nz;
};

IDirect3DDevice9* askedDevice = nullptr;
bool askedAnswer = true;

bool Probe(IDirect3DDevice9* d)
{
    ComHolder<IDirect3DSurface9> target;
    ComHolder<IDirect3DSurface9> readBack;
    ComHolder<IDirect3DTexture9> black;
    if (FAILED(d->CreateTexture(1, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, black.Out(), nullptr)))
        return true;
    D3DLOCKED_RECT texel{};
    if (FAILED(black->LockRect(0, &texel, nullptr, 0)))
        return true;
    *static_cast<DWORD*>(texel.pBits) = 0xFF000000;
    black->UnlockRect(0);
    if (FAILED(d->CreateRenderTarget(1, 1, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, target.Out(), nullptr)) ||
        FAILED(d->CreateOffscreenPlainSurface(1, 1, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, readBack.Out(), nullptr)))
        return true;
    ComHolder<IDirect3DSurface9> saved;
    if (FAILED(d->GetRenderTarget(0, saved.Out())))
        return true;
    d->SetRenderTarget(0, target.Get());
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);

    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
    light.Specular = D3DXCOLOR(1.0f, 1.0f, 1.0f, 0.0f);
    light.Direction = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    d->SetLight(0, &light);
    d->LightEnable(0, TRUE);
    D3DMATERIAL9 material{};
    material.Diffuse = D3DXCOLOR(0.0f, 0.0f, 0.0f, 1.0f);
    material.Specular = D3DXCOLOR(1.0f, 1.0f, 1.0f, 0.0f);
    material.Power = 1.0f;
    d->SetMaterial(&material);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    d->SetTransform(D3DTS_WORLD, &identity);
    d->SetTransform(D3DTS_VIEW, &identity);
    d->SetTransform(D3DTS_PROJECTION, &identity);
    d->SetRenderState(D3DRS_LIGHTING, TRUE);
    d->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    d->SetRenderState(D3DRS_COLORVERTEX, FALSE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_FOGENABLE, FALSE);
    d->SetVertexShader(nullptr);
    d->SetPixelShader(nullptr);
    d->SetTexture(0, black.Get());
    SetColourOperation(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE);
    DisableStage(d, 1);
    d->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL);
    // The whole of clip space, facing the light and the viewer.
    const ProbeVertex quad[4] = {{-1.0f, -1.0f, 0.5f, 0.0f, 0.0f, -1.0f},
                                 {-1.0f, 1.0f, 0.5f, 0.0f, 0.0f, -1.0f},
                                 {1.0f, -1.0f, 0.5f, 0.0f, 0.0f, -1.0f},
                                 {1.0f, 1.0f, 0.5f, 0.0f, 0.0f, -1.0f}};
    // Inside a scene already begun the draw goes into it.
    const bool began = SUCCEEDED(d->BeginScene());
    d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ProbeVertex));
    if (began)
        d->EndScene();
    d->SetRenderTarget(0, saved.Get());
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    d->SetRenderState(D3DRS_COLORVERTEX, TRUE);
    d->SetTexture(0, nullptr);

    bool added = true;
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(d->GetRenderTargetData(target.Get(), readBack.Get())) &&
        SUCCEEDED(readBack->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        const DWORD pixel = *static_cast<const DWORD*>(locked.pBits);
        // The highlight is full white; anything near it arrived.
        added = (pixel & 0xFFu) > 0x80u;
        readBack->UnlockRect();
    }
    return added;
}

} // namespace

bool DeviceAddsSpecularAfterStages()
{
    IDirect3DDevice9* const d = CurrentDevice;
    if (!d)
        return true;
    if (d != askedDevice) {
        askedAnswer = Probe(d);
        askedDevice = d;
    }
    return askedAnswer;
}
