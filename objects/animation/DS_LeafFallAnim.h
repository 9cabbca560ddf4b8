// The drift of a 3D sprite with its tumble: the mesh, scaled so that its
// bounding sphere is the stream's size across, turns about its three axes
// and swings on a sphere of 50 pixels around its drifting place.
#pragma once

#include "objects/animation/DS_SreamAnim.h"

class DS_LeafFallAnim : public DS_SreamAnim {
public:
    // A speed and the angle it has reached, in degrees per second and degrees.
    struct Spin {
        float speed;
        float angle;
    };

    // The drift's four draws, then two per tumble axis (sign, speed of 7 to
    // 10 either way) and three per orbit axis (whether it turns at all, sign,
    // speed of 3 to 7).
    explicit DS_LeafFallAnim(const StreamMotionSettings* settings);

    // The drift, then world := local × scale × tumble × orbit × position.
    void Animate(DS_Frame& frame) override;

    Spin tumbleX;
    Spin tumbleY;
    Spin tumbleZ;
    Spin orbitY;
    Spin orbitX;
};
