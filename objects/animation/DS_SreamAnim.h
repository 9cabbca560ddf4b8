// The drift of a 3D sprite over the picture: it moves along the stream's
// direction at its own pace, swerving across it, and when it is half its
// size beyond an edge it comes back at a random place on the opposite edge.
#pragma once

#include "foundation/geometry/DS_AnimationBase.h"

#include <windows.h>
#include <d3dx9math.h>

class StreamMotionSettings;

// The application time of the 3D sprite update under way: each sprite array
// sets it just before its sprites animate.
extern float StreamAnimationTime;

class DS_SreamAnim : public DS_AnimationBase {
public:
    // Four random draws: x, y (a random place on the picture), the drift and
    // the speed factor.
    explicit DS_SreamAnim(const StreamMotionSettings* settings);

    // Advances the drift; the frame is left alone.
    void Animate(DS_Frame& frame) override;

    // Translation(x, y, 0) in picture pixels.
    D3DXMATRIX position;
    // -1 to 1: how far across the stream the sprite swerves.
    float drift;
    float lastDriftChange = 0.0f;
    // 0.07 to 0.13: this sprite's share of the stream's speed.
    float speedFactor;
    float lastTime = 0.0f;
    // Seconds since the last step, at most 0.2.
    float frameStep = 0.0f;
    const StreamMotionSettings* settings;

protected:
    // One drift step at StreamAnimationTime.
    void Drift();
};
