// A background layer with a flame band and a heat haze: the picture as the
// plain layer draws it, an animated fire band over its lower part (the fire
// effect's "AsEffect" technique on a quad of the layer's own, driven by an
// embedded fire brush), and, with the distortion on, the whole scene of the
// slide captured and redrawn through a shimmering bump distortion.
#pragma once

#include "scene/brushes/DS_FireFX.h"
#include "scene/layers/BumpDistortion.h"
#include "scene/layerbase/DS_2D_Light.h"

class DS_FlameLight : public DS_2D_Light {
public:
    // Fire on, distortion on, no drop; the fire brush's pattern is
    // ("common_res.dll", 7) and its noise (…, 8).
    DS_FlameLight();
    ~DS_FlameLight() override;

    // The record after its header: the switches, the drop, the distortion's
    // links and values, the nested fire brush, then the base record. Version
    // 1 carries the fire's speed after the drop and two old links in place of
    // the fire brush.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    void OnDeviceCreated() override;
    void OnDeviceRestored() override;
    void OnDeviceInvalidated() override;
    void FinishFrame() override;
    // The picture, then the flame band when the fire is on.
    void DrawBackground(bool clear) override;
    void FrameMove(float time) override;
    bool NeedsSceneCapture() override;
    void OnPictureChanged() override;

    // Whether the distortion runs: exactly 1. Every other value is off, so
    // that the capture is asked for and ended under the same test.
    bool DistortionOn() const { return distortionSwitch.value == 1; }

    MediaParamT<int> fireSwitch;
    MediaParamT<int> distortionSwitch;
    // Moves the band down by 0.5 % of the picture's height per unit.
    MediaParamT<unsigned int> flameDrop;
    DS_FireFX fire;
    BumpDistortion distortion;
    // The band's quad: top-left, top-right, bottom-left, bottom-right.
    DS_SimpleMesh<DX_V::PT> flameQuad;

private:
    // The missing distortion's path: the switch off, as the record had it.
    void SwitchDistortionOff();
    // Lets go of the fire's effect when the device refuses the band's
    // technique: no flame, as without an effect.
    void CheckFireTechnique();
};
