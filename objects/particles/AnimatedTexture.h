// Adds the animation frames of a picture to a geometry: the picture's
// textures with their delays, and the frame that is shown now.
#pragma once

#include "foundation/resources/TextureSet.h"

#include <d3d9.h>

#include <cstdint>

template <class Base>
class AnimatedTexture : public Base {
public:
    // Moves to the next frame once the current frame's delay (in units of
    // the clock given) has passed since the last switch; true on a switch.
    // A still picture (no delays) never switches.
    bool StepFrame(float clockTime)
    {
        if (textureSet.delays.empty())
            return false;
        if (textureSet.delays[currentFrame] < clockTime - lastSwitch) {
            lastSwitch = clockTime;
            currentFrame = static_cast<uint32_t>((currentFrame + 1) % textureSet.delays.size());
            return true;
        }
        return false;
    }

    // The texture of the current frame. An image list may hold fewer
    // pictures than delays: the frame index then stays on the last picture.
    IDirect3DTexture9* FrameTexture() const { return textureSet.Frame(currentFrame); }

    // The picture's own copy: each texture referenced again.
    TextureSet textureSet;
    uint32_t currentFrame = 0;
    float lastSwitch = 0.0f;
};
