#include "objects/animation/AC_ButterflyWing.h"

#include "foundation/geometry/DS_Frame.h"

AC_ButterflyWing::AC_ButterflyWing() { D3DXMatrixIdentity(&wing); }

void AC_ButterflyWing::Animate(DS_Frame& frame)
{
    D3DXMatrixMultiply(&frame.world, &frame.local, &wing);
    frame.clockwiseFront = mirror;
}
