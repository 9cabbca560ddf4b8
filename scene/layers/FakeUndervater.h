// The underwater layer: the whole slide as if seen through moving water. The
// picture and every object of the slide are drawn into the layer's
// render-target pair, and the finishing pass draws that captured scene over
// the picture's rectangle through an embedded underwater brush, whose effect
// wobbles it.
#pragma once

#include "scene/brushes/DS_UnderwaterFX.h"
#include "scene/layerbase/DS_2D_Light.h"

class FakeUndervater : public DS_2D_Light {
public:
    FakeUndervater();
    ~FakeUndervater() override;

    // The record after its header: version 1 holds the brush's speed alone
    // (kept at half its value), every other version the brush's whole record;
    // then the base record.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    // The base's picture, then the brush's effect.
    void OnDeviceCreated() override;
    // The base's restore, then the brush's technique asked of the device
    // again.
    void OnDeviceRestored() override;
    // Ends the capture and draws the captured scene through the brush; then
    // the borders.
    void FinishFrame() override;
    // The picture, whatever is asked.
    void DrawBackground(bool clear) override;
    // The camera, then the brush's clock.
    void FrameMove(float time) override;
    // Always: the scene reaches the screen only through the finishing pass.
    bool NeedsSceneCapture() override;

    DS_UnderwaterFX water;

private:
    // The captured scene as it was drawn, over the picture's rectangle: what
    // the screen shows when the brush has no effect. Leaves the device's
    // states as the layer's other draws expect them, and no texture bound.
    void DrawCapturedScene();
};
