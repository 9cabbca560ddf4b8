// Textured quads: TexturedQuadT, a simple mesh that owns a texture, and
// TexturedQuad, the pre-transformed one drawn in back-buffer pixels (the
// splash picture, the glass ball's background and scroll quads).
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"
#include "foundation/render/ScreenQuad.h"

#include <d3d9.h>

#include <cstdint>

// A quad over vertex format V with the texture it shows (one reference).
template <class V>
class TexturedQuadT : public DS_SimpleMesh<V> {
public:
    ComHolder<IDirect3DTexture9> texture;
};

class TexturedQuad : public TexturedQuadT<DX_V::SPCT> {
public:
    // Texture stage 0 := the texture, no vertex shader, the DX_V::SPCT
    // stream. The caller draws primitiveType from vertex 0, primitiveCount.
    void BindForDraw() const;

    // The program's "DDS" resource as a one-level texture on a square of two
    // thirds of the back buffer's height, centred, white and opaque. A
    // missing resource leaves the quad untextured; the result is the
    // loader's.
    HRESULT LoadCenteredImage(int32_t resourceId);
    // Shares newTexture and spans the quad with white corners.
    void SetTexture(IDirect3DTexture9* newTexture, const ScreenQuad& quad);
    // Spans the quad, white, with the program's default image "DDS" 0, which
    // the program does not carry: the quad stays untextured until a caller
    // binds a texture of its own.
    void LoadDefaultImage(const ScreenQuad& quad);
    // Moves the corners (positions and texture coordinates), keeping colours.
    void SetCorners(const ScreenQuad& quad);
    // Alpha of all four corners := trunc(factor × alpha), held within 0..255;
    // RGB kept.
    void SetAlpha(uint8_t alpha, float factor);

private:
    // A new four-vertex buffer with the quad's corners, all white.
    void WriteWhiteQuad(const ScreenQuad& quad);
};
