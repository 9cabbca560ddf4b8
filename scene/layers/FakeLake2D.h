// The lake layer: the lower part of the slide's picture becomes a lake that
// mirrors the band of the picture just above its horizon, rippled by
// bump-environment mapping with a slowly turning bump texture, and tinted
// with a colour that is stronger towards the viewer and fades out in a thin
// band above the horizon. Everything is drawn in picture pixels through the
// scene view, so the lake follows the picture position and the camera.
#pragma once

#include "foundation/params/MediaParam.h"
#include "foundation/params/MediaSpeedParam.h"
#include "foundation/params/UINTSclaleTo.h"
#include "foundation/render/ScreenQuad.h"
#include "foundation/resources/GuidKey.h"
#include "scene/layerbase/DS_2D_Light.h"

#include <d3dx9math.h>

#include <cstdint>

// Turns a quad spanning a picture into the lake over its lower fraction f:
// each side's top moves down to the horizon and its texture coordinates run
// from the picture's row at the horizon (at the top) to the row as far above
// the horizon as the lake is deep (at the bottom), so the band above the
// horizon shows upside down. x and u stay. f must lie within 0 and 0.5.
void ReflectQuad(ScreenQuad& quad, float f);

// A V8U8 bump texture with a full mip chain, managed: the slopes of the
// heights picture's red channel times amplitude (wrapping from side to side,
// as the picture tiles), with the heights eased towards flat from the bottom
// row up to the top row by fade (0 keeps them all, 1 flattens the top row).
// None when the picture cannot be read or the texture cannot be made.
ComHolder<IDirect3DTexture9> BuildLakeBumpTexture(IDirect3DTexture9* heights, float fade, float amplitude);

class FakeLake2D : public DS_2D_Light {
public:
    // The defaults, and a fresh identity for the bump texture.
    FakeLake2D();
    ~FakeLake2D() override;

    // The record's fields after its header: from version 2 the ten values,
    // always the bump texture's key, then the "DS_2D_Light" record.
    void Read(ArchiveHandle& archive, int32_t version);
    // "FakeLake2D", version 2, with the bump texture kept for the document
    // under its key.
    void Write(ArchiveHandle& archive) override;

    // The plane and the tint quads, the bump texture and the reflection.
    void OnDeviceCreated() override;
    // The lake's device state and the capture pair.
    void OnDeviceRestored() override;
    // The picture, the rippled reflection over the lake, then the tint.
    void DrawBackground(bool clear) override;
    // The camera and the ripple's turn.
    void FrameMove(float time) override;
    // The new picture, its reflection and the lake over it.
    void OnPictureChanged() override;

    // Places the plane and both tint quads over the picture's lower part.
    void UpdateLakeGeometry();
    // The bump texture on stage 0, the reflection on stage 1, and the
    // ripple's matrix.
    void BindLakeStages();

    // The lake's fraction of the picture height, 0 (no lake) or more.
    float LakeFraction() const;
    // The reflection's size exponent held within 0 and what a texture of
    // the device can be.
    uint32_t ReflectionExponent() const;
    // The tint colour as a D3DCOLOR with alpha 0.
    D3DCOLOR TintColour() const;

    MediaSpeedParam rippleSpeed;
    UINTSclaleTo<float> bumpTiling;
    UINTSclaleTo<float> lakeFraction;
    UINTSclaleTo<float> bumpFade;
    UINTSclaleTo<float> tintStrength;
    UINTSclaleTo<float> tintFalloff;
    MediaParamT<unsigned int> bumpAmplitude{25u};
    MediaParamT<unsigned int> horizonBand{7u};
    MediaParamT<int> reflectionSizeExponent{1};
    MediaColor tintColor{0x408000ul};
    // Only its image texture is used: a square power-of-two copy of the
    // picture.
    ImageQuad reflection;
    DS_SimpleMesh<DX_V::PC> tintQuad;
    DS_SimpleMesh<DX_V::PC> horizonQuad;
    // Elements _11, _12, _21 and _22 are the bump-environment matrix.
    D3DXMATRIX bumpMatrix;
    // Two triangles over the lake: positions, bump coordinates, reflection
    // coordinates.
    DS_SimpleMesh<DX_V::PT2> plane;
    GuidKey bumpKey;
    ComHolder<IDirect3DTexture9> bumpTexture;
};
