// The water-ring layer: the slide's picture under a lit water surface on
// which rings spread from drops that fall at random places at a steady rate.
// In mode 1 the water shows the whole composed scene (the picture with the
// slide's objects, captured through the layer's render-target pair) and is
// drawn in the finishing pass; otherwise it shows the picture alone and the
// objects are drawn over it.
#pragma once

#include "foundation/params/MediaParam.h"
#include "foundation/params/UINTSclaleTo.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "scene/layers/WaterGrid.h"

#include <d3dx9math.h>

#include <cstdint>
#include <memory>

// The grid's damping from the setting: 0.9 at 0, 0.99 at 50, 0.999 at 100,
// linear on each side of 50.
float WaterDampingFromSetting(unsigned int value);

class DS_WaterRingLight : public DS_2D_Light {
public:
    // The settings at their defaults and a grid without cells.
    DS_WaterRingLight();
    ~DS_WaterRingLight() override;

    // The record's fields after its header: from version 2 the nine
    // settings, then the mode and the "DS_2D_Light" record.
    void Read(ArchiveHandle& archive, int32_t version);
    // "DS_WaterRingLight", version 2.
    void Write(ArchiveHandle& archive) override;

    // Objects draw unlit over the lit water.
    void DrawHighlight(DS_SimpleMesh<DX_V::SPC>& quad, int style, bool flag) override;
    void DrawMeshPart(const MeshPart& part) override;
    void DrawSpriteArray(const SpriteArrayDrawable& sprites) override;
    void DrawFrameChildren(const TexturedMesh<DX_V::PNT>& mesh) override;

    // The refraction table, the camera over the water, the grid's settings
    // and a new grid with one drop.
    void OnDeviceCreated() override;
    // The light, the material and a fresh flat grid with one drop, at every
    // activation of the slide and after a reset.
    void OnDeviceRestored() override;
    // The grid's buffers live in the default pool.
    void OnDeviceInvalidated() override;
    // In mode 1 the water over the captured scene; then the borders.
    void FinishFrame() override;
    // The water over the picture, or in mode 1 the picture alone.
    void DrawBackground(bool clear) override;
    // A timed drop when it is due, then one step of the water.
    void FrameMove(float time) override;
    // The layer's size and the water's projection, which fills the screen
    // with the surface.
    void SetSize(int width, int height) override;
    void SetPicturePosition(int mode) override;
    // Blending is off again afterwards: the water is drawn opaque.
    void DrawOverlayQuad(const DS_SimpleMesh<DX_V::SPC>& quad) override;
    // Mode 1.
    bool NeedsSceneCapture() override;

    // The picture's height / width; 1 without a picture.
    float PictureAspect();
    // A new flat grid over the picture's proportions with one drop.
    void ResizeGrid();
    // The water's material: black diffuse, highlights of the shine level and
    // power.
    void ApplyMaterial();
    // The surface with texture over it, following the camera's pan and zoom.
    void DrawWaterMesh(IDirect3DTexture9* texture);

    MediaParamT<int> mode{0};
    // Settings 1 to 6.
    MediaParamT<unsigned int> waveSpeed{0u};
    MediaParamT<unsigned int> rowDensity{0u};
    MediaParamT<unsigned int> columnDensity{0u};
    MediaParamT<unsigned int> dropStrength{50u};
    MediaParamT<unsigned int> damping{50u};
    MediaParamT<unsigned int> refractionDepth{20u};
    // Settings 7 to 9: drops per second, specular level and power.
    UINTSclaleTo<float> dropRate;
    UINTSclaleTo<float> shine;
    UINTSclaleTo<float> shinePower;

    std::unique_ptr<WaterGrid> grid;
    D3DXVECTOR3 lightDirection{0.5f, -1.0f, 1.0f};
    D3DXCOLOR lightColour{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXMATRIX worldMatrix;
    D3DXMATRIX viewMatrix;
    D3DXMATRIX cameraMatrix;
    D3DXMATRIX projectionMatrix;
    float lastDropTime = 0.0f;
    // The last size given to SetSize.
    int32_t storedWidth = 0;
    int32_t storedHeight = 0;
    // Whether the device adds highlights after a stage that reads the
    // texture alone (asked at every restore; the answer is kept per device).
    bool specularAfterStages = true;
};
