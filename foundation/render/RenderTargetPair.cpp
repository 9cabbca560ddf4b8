#include "foundation/render/RenderTargetPair.h"

#include "foundation/render/CurrentDevice.h"

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

} // namespace

void RenderTargetPair::ReleaseTextures()
{
    current.Release();
    textures[0].Release();
    textures[1].Release();
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
    CurrentDevice->SetDepthStencilSurface(nullptr);
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
