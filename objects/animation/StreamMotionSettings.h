// How the 3D sprites of one constructor move: their size, the direction and
// speed of the stream, the sideways drift and how fast they tumble.
#pragma once

#include "foundation/params/MediaParam.h"

#include <windows.h>
#include <d3dx9math.h>

#include <cstdint>

class StreamMotionSettings {
public:
    // Everything at its default, the stream toward larger x.
    StreamMotionSettings();

    // The stream's angle in degrees, counter-clockwise as seen: 0 toward
    // larger x, 90 up the screen. Sets the direction and its perpendicular
    // in picture pixels (y down).
    void SetDirection(uint32_t angle);

    // On-screen size of a sprite in pixels (its bounding sphere's diameter);
    // half of it is the margin beyond an edge at which a sprite wraps.
    MediaParamT<unsigned int> size{0u};
    int32_t angle = 0;
    D3DXVECTOR4 direction;
    D3DXVECTOR4 perpendicular;
    MediaParamT<unsigned int> speed{50u};
    // The sideways swerve, and the speed of the orbit of the tumble.
    MediaParamT<unsigned int> driftAmount{0u};
    // How often the swerve changes; 0 never.
    MediaParamT<unsigned int> driftChangeRate{0u};
    // Scales the tumble speeds.
    MediaParamT<unsigned int> tumble{100u};
};
