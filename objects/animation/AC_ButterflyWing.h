// One wing of a butterfly: the butterfly's flight writes its hinge matrix and
// which of its faces winds clockwise; the wing applies them to its frame.
#pragma once

#include "foundation/geometry/DS_AnimationBase.h"

#include <windows.h>
#include <d3dx9math.h>

class AC_ButterflyWing : public DS_AnimationBase {
public:
    AC_ButterflyWing();

    // world := local × wing matrix; the frame's winding := the mirror flag.
    void Animate(DS_Frame& frame) override;

    D3DXMATRIX wing;
    bool mirror = true;
};
