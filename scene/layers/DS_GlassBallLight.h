// The glass-ball layer: the slide's scene (its picture and every object over
// it) seen refracted inside a glass ball that stands in front of a
// background of its own. The scene is captured into the layer's render-target
// pair; the finishing pass draws the background (a vertical two-colour
// gradient or a second picture), the ball (a square in a small 3D scene whose
// stage 0 holds a generated hemisphere bump map and stage 1 the captured
// scene, combined by bump-environment mapping), up to two blended overlays
// on the ball, the background again around the ball through a disc mask,
// and an optional shadow under it. The refracted scene scrolls sideways (the
// ball seems to roll) or sways.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"
#include "foundation/params/MediaParam.h"
#include "foundation/params/UINTSclaleTo.h"
#include "foundation/render/TexturedQuad.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "foundation/resources/SizedTexture.h"
#include "scene/layerbase/DS_2D_Light.h"

#include <windows.h>
#include <d3d9.h>
#include <d3dx9math.h>

#include <cstdint>

class DS_GlassBallLight : public DS_2D_Light {
public:
    enum MotionMode { Still = 0, ScrollOneWay = 1, ScrollOtherWay = 2, Sway = 3 };

    // Generated texture sizes.
    static constexpr int BumpMapSide = 256;
    static constexpr int DiscMaskSide = 1024;
    static constexpr int GradientSide = 256;

    DS_GlassBallLight();
    ~DS_GlassBallLight() override;

    // The record's own fields after its header, then the "DS_2D_Light"
    // record. The version is not looked at.
    void Read(ArchiveHandle& archive, int32_t version);
    // "DS_GlassBallLight", version 1, then the base record.
    void Write(ArchiveHandle& archive) override;

    // Drawing into another surface: the background is placed for it too.
    void PushViewSize(const D3DSURFACE_DESC& surface, int mode) override;
    void PopViewSize() override;

    // The overlay and shadow pictures, the generated textures, the quads and
    // the ball's buffers.
    void OnDeviceCreated() override;
    // The base's state, then the samplers and stages of the ball's passes.
    void OnDeviceRestored() override;
    // The scroll quads let go of the captured scene.
    void OnDeviceInvalidated() override;
    // Ends the capture and draws background, ball, overlays, mask, shadow
    // and borders.
    void FinishFrame() override;
    // The slide's picture, into the capture.
    void DrawBackground(bool clear) override;
    // The camera, the whole layout and the motion.
    void FrameMove(float time) override;
    // Places the background with the camera, and the lens.
    void SetSize(int width, int height) override;
    // The background picture follows the picture position; the gradient
    // always fills the layer.
    void SetPicturePosition(int mode) override;
    bool NeedsSceneCapture() override { return true; }

    // The motion phase and the previous time are shared by every glass-ball
    // layer of the process; this puts them back as they were at start-up.
    static void ResetSharedMotion();
    static float SharedMotionPhase();

    // K0, K1 and K3 from the size, the depth and the placement's scale and
    // cover (B, C).
    void ComputeLens();

    // Texel (x, y) of the bump map: the slopes of a hemisphere of radius 128
    // centred on (128, 128), U in the low word and V in the high word.
    static uint32_t BumpTexel(int x, int y);
    // One channel of gradient row y (0 at the top, 255 at the bottom), from
    // the top row's channel to the bottom row's.
    static uint8_t GradientChannel(uint8_t top, uint8_t bottom, unsigned int y);

    DS_ImageFileLink overlayImage1;
    DS_ImageFileLink overlayImage2;
    DS_ImageFileLink shadowImage;
    DS_ImageFileLink backgroundPicture;
    // Rate of the motion phase: 1 + 0.02 × value.
    UINTSclaleTo<float> motionSpeed;
    // The ball's centre; (0, 0) is the middle of the layer, y downwards.
    MediaParamTB<POINT> position;
    // 0 to 100: a quarter to the full size.
    MediaParamT<unsigned int> size{100u};
    // Strength of the lens.
    MediaParamT<unsigned int> depth{0u};
    MediaParamT<int> overlaySwitch1{1};
    MediaParamT<int> overlaySwitch2{1};
    MediaParamT<int> shadowSwitch{0};
    MediaParamT<int> pictureBackgroundSwitch{0};
    MediaParamT<int> motionMode{Sway};
    MediaColor topColour{0};
    MediaColor bottomColour{0};

    ComHolder<IDirect3DVertexBuffer9> ballQuad;
    ComHolder<IDirect3DVertexBuffer9> shadowQuad;
    // Motion mode 3's offset in [-1, 1].
    float sway = 0.0f;
    ComHolder<IDirect3DTexture9> bumpMap;
    ComHolder<IDirect3DTexture9> discMask;
    ComHolder<IDirect3DTexture9> gradient;
    SizedTexture background;
    ComHolder<IDirect3DTexture9> overlay1;
    ComHolder<IDirect3DTexture9> overlay2;
    ComHolder<IDirect3DTexture9> shadow;
    // Opaque black bars around a fitted background picture.
    DS_SimpleMesh<DX_V::SPC> borderQuads[4];
    TexturedQuad backgroundQuad;
    TexturedQuad scrollQuads[2];
    // Lens coefficients: K0 is the camera's z, K1 the bump pass's depth
    // factor, K3 the sway's share of the refracted scene's offset.
    float k0 = -600.0f;
    float k1 = 1.0f;
    float k3 = 0.0f;
    // Vertical and horizontal share of the background's covered span.
    float coverC = 1.0f;
    float coverG = 1.0f;
    // Picture position of the background (0 Stretch, 1 Fit, 2 Fill).
    int backgroundMode = 1;
    int savedBackgroundMode = 1;
    // Offset of the background quad by the camera, in back-buffer pixels.
    float offsetE = 0.0f;
    float offsetF = 0.0f;
    // The camera's and the fill's scale.
    float scaleB = 1.0f;
    float scaleB2 = 1.0f;
    bool insidePush = false;
    int savedWidth = 0;
    int savedHeight = 0;
    D3DXMATRIX stage1Matrix;

private:
    void FillGradient();
    void CreateBumpMap();
    void CreateDiscMask();
    void PlaceBorders(const ScreenQuad& fitted);
    // The background mode for a picture position, by the background kind.
    int BackgroundModeFor(int mode) const;
    // The surface the ball is placed in: the layer inside a push, else the
    // back buffer.
    void BallViewSize(float& w, float& h) const;
    // WORLD, VIEW and PROJECTION of the ball and stage 1's texture matrix.
    void SetUpBall(bool bumpPass);
    void DrawBallQuad(IDirect3DVertexBuffer9* quad);
};
