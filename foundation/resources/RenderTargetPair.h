// Two render-target textures of one size that take turns, for drawing the
// scene into a texture: while one receives drawing, the other holds what was
// drawn before. It also keeps the device's render target and depth-stencil
// surface while the pair is being drawn into.
//
// When the device draws with a depth buffer, the pair has one of its own, of
// its size and the device's depth format, so that what is drawn into the
// pair is depth-tested as it would be on the back buffer.
//
// The textures and the depth surface live in the default pool: before a
// device reset the owner releases them (ReleaseTextures), and afterwards
// calls Create (or CreateFromTexture) again.
#pragma once

#include "foundation/core/ComHolder.h"

#include <d3d9.h>

#include <cstdint>

class RenderTargetPair {
public:
    using TextureHolder = ComHolder<IDirect3DTexture9>;

    RenderTargetPair() = default;
    ~RenderTargetPair() = default;

    // Makes both textures w × h on CurrentDevice, in place of any held
    // before, and the depth surface when the device has one; current := the
    // texture at counter. Failures leave the holders empty and are not
    // reported.
    void Create(uint32_t w, uint32_t h);
    // Lets go of both textures and the depth surface (before a device reset:
    // they live in the default pool); the size and the counter stay for the
    // next Create.
    void ReleaseTextures();
    // Create, then copies level 0 of source (when given) into current.
    void CreateFromTexture(IDirect3DTexture9* source, uint32_t w, uint32_t h);
    // Makes the other texture current and render target 0, cleared to opaque
    // black; returns the texture that was drawn into before.
    const TextureHolder& Flip();
    // Saves render target 0 and the depth-stencil surface, then draws into
    // level 0 of texture with the pair's depth surface (none when it has
    // none). Neither is cleared.
    void BeginTarget(const TextureHolder& texture);
    // Puts back what BeginTarget saved.
    void EndTarget();

    TextureHolder current;
    TextureHolder textures[2];
    // Depth for drawing into the pair: the device's depth format, w × h.
    ComHolder<IDirect3DSurface9> depthStencil;
    ComHolder<IDirect3DSurface9> savedTarget;
    ComHolder<IDirect3DSurface9> savedDepthStencil;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t counter = 0;
};
