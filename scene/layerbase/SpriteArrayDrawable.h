// What the layer needs of a particle system's runtime object to draw its
// sprites: the quads, the texture of the current animation frame, the
// optional second texture and the controller's additive flag. The particle
// systems' sprite-array object implements it.
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"

#include <d3d9.h>

class SpriteArrayDrawable {
public:
    // Every particle's quad, one indexed triangle list.
    virtual const DS_IndexedMesh<DX_V::PCT>& SpriteGeometry() const = 0;
    // The main image's texture at the current animation frame; none when the
    // image has no texture. Not a new reference.
    virtual IDirect3DTexture9* CurrentFrameTexture() const = 0;
    // The second image's texture, or none. Not a new reference.
    virtual IDirect3DTexture9* GetSecondTexture() const = 0;
    // 0 blends normally; without a second texture any other value adds the
    // sprites' colour; with one, 1 makes the second pass additive.
    virtual int AdditiveFlag() const = 0;

protected:
    SpriteArrayDrawable() = default;
    SpriteArrayDrawable(const SpriteArrayDrawable&) = default;
    SpriteArrayDrawable& operator=(const SpriteArrayDrawable&) = default;
    ~SpriteArrayDrawable() = default;
};
