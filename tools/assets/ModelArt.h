// The pictures of the 3D objects and 3D sprites, drawn in code: the
// butterfly's body skin and its wings, the clock's face and hand, a blossom
// petal, and the demo's garden and clock-tower scenes. Every picture is the
// same, byte for byte, on every run.
#pragma once

#include "tools/encoders/ImageWriters.h"

// "common_res.dll" picture 6: the body's skin, wrapped by the body mesh:
// u around the body (its back at 0.75), v from the head (0) to the tail (1).
// Opaque.
Image DrawButterflySkin(int width, int height);

enum class WingKind { Monarch, Morpho };

// The right wings seen from above, head up, body along the left edge, as the
// wing mesh maps them: fore and hind wing on a transparent ground.
Image DrawButterflyWing(WingKind kind, int size);

// "common_res.dll" picture 71: a round dial with Roman numerals, XII at the
// top, lit from behind; transparent outside the dial.
Image DrawClockFace(int size);
// "common_res.dll" picture 72: one wrought hand pointing up, its tip at the
// top and its pivot about a sixth of the way up from the bottom, filling the
// picture; transparent around it.
Image DrawClockHand(int width, int height);

// A blossom petal, base at the left and notched tip at the right, on a
// transparent ground: the petal mesh's picture.
Image DrawPetal(int size);

// An autumn leaf, stem at the left and pointed tip at the right, on a
// transparent ground: the leaf mesh's picture.
Image DrawAutumnLeaf(int width, int height);

// The demo's scenes, drawn at any size; the layout follows the height.
Image DrawButterflyGarden(int width, int height);
Image DrawClockTower(int width, int height);

// Where the clock tower's dial sits, in picture heights from the top left,
// and its radius, for the clock placed over it.
struct TowerDial {
    double u;
    double v;
    double radius;
};
TowerDial ClockTowerDial();
