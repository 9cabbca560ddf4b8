#include "foundation/resources/RenderTargetPair.h"

#include "foundation/core/CurrentDevice.h"

#include <d3dx9tex.h>

namespace {

const D3DCOLOR OpaqueBlack = 0xFF000000;

// Makes level 0 of texture render target 0; a pair whose textures could not
// be made leaves the device's target alone.
bool SetTextureAsTarget(IDirect3DTexture9* texture)
{
    if (!texture)
        return false;
    ComHolder<IDirect3DSurface9> surface;
    if (FAILED(texture->GetSurfaceLevel(0, surface.Out())))
        return false;
    return SUCCEEDED(CurrentDevice->SetRenderTarget(0, surface.Get()));
}

// A depth surface of w × h in the format of the device's own, which must
// also serve an A8R8G8B8 target; none when the device draws without depth.
void CreateDepthLikeDevice(ComHolder<IDirect3DSurface9>& depth, uint32_t w, uint32_t h)
{
    ComHolder<IDirect3DSurface9> own;
    D3DSURFACE_DESC desc{};
    if (FAILED(CurrentDevice->GetDepthStencilSurface(own.Out())) || !own || FAILED(own->GetDesc(&desc)))
        return;
    ComHolder<IDirect3D9> direct3D;
    D3DDEVICE_CREATION_PARAMETERS creation{};
    D3DDISPLAYMODE mode{};
    if (FAILED(CurrentDevice->GetDirect3D(direct3D.Out())) || !direct3D ||
        FAILED(CurrentDevice->GetCreationParameters(&creation)) || FAILED(CurrentDevice->GetDisplayMode(0, &mode)) ||
        FAILED(direct3D->CheckDepthStencilMatch(creation.AdapterOrdinal, creation.DeviceType, mode.Format,
                                                D3DFMT_A8R8G8B8, desc.Format)))
        return;
    IDirect3DSurface9* created = nullptr;
    if (SUCCEEDED(CurrentDevice->CreateDepthStencilSurface(w, h, desc.Format, D3DMULTISAMPLE_NONE, 0, FALSE, &created,
                                                           nullptr)))
        depth.Attach(created);
}

} // namespace

void RenderTargetPair::ReleaseTextures()
{
    current.Release();
    textures[0].Release();
    textures[1].Release();
    depthStencil.Release();
}

void RenderTargetPair::Create(uint32_t w, uint32_t h)
{
    width = w;
    height = h;
    ReleaseTextures();
    if (!CurrentDevice)
        return;
    for (TextureHolder& texture : textures) {
        IDirect3DTexture9* created = nullptr;
        if (SUCCEEDED(CurrentDevice->CreateTexture(w, h, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                                   D3DPOOL_DEFAULT, &created, nullptr)))
            texture.Attach(created);
    }
    current = textures[counter].Get();
    CreateDepthLikeDevice(depthStencil, w, h);
}

void RenderTargetPair::CreateFromTexture(IDirect3DTexture9* source, uint32_t w, uint32_t h)
{
    Create(w, h);
    if (!source || !current)
        return;
    ComHolder<IDirect3DSurface9> from;
    ComHolder<IDirect3DSurface9> to;
    if (SUCCEEDED(source->GetSurfaceLevel(0, from.Out())) && SUCCEEDED(current->GetSurfaceLevel(0, to.Out())))
        D3DXLoadSurfaceFromSurface(to.Get(), nullptr, nullptr, from.Get(), nullptr, nullptr, D3DX_FILTER_TRIANGLE,
                                   0);
}

const RenderTargetPair::TextureHolder& RenderTargetPair::Flip()
{
    const uint32_t previous = counter;
    counter = (counter + 1) % 2;
    current = textures[counter].Get();
    // Without a texture the clear would wipe whatever target is bound (the
    // back buffer, say), so it is skipped with the switch.
    if (CurrentDevice && SetTextureAsTarget(current.Get()))
        CurrentDevice->Clear(0, nullptr, D3DCLEAR_TARGET, OpaqueBlack, 1.0f, 0);
    return textures[previous];
}

void RenderTargetPair::BeginTarget(const TextureHolder& texture)
{
    savedTarget.Release();
    savedDepthStencil.Release();
    if (!CurrentDevice)
        return;
    CurrentDevice->GetRenderTarget(0, savedTarget.Out());
    // Fails with D3DERR_NOTFOUND when the device has no depth-stencil
    // surface; the holder then stays empty and EndTarget restores none.
    CurrentDevice->GetDepthStencilSurface(savedDepthStencil.Out());
    SetTextureAsTarget(texture.Get());
    CurrentDevice->SetDepthStencilSurface(depthStencil.Get());
}

void RenderTargetPair::EndTarget()
{
    // Only what BeginTarget saved: an EndTarget without it, or on a device
    // without a depth buffer, must not take the device's surfaces away.
    if (CurrentDevice) {
        if (savedTarget)
            CurrentDevice->SetRenderTarget(0, savedTarget.Get());
        if (savedDepthStencil)
            CurrentDevice->SetDepthStencilSurface(savedDepthStencil.Get());
    }
    savedTarget.Release();
    savedDepthStencil.Release();
}
