#include "objects/animation/StreamMotionSettings.h"

#include "foundation/core/Numeric.h"

namespace {

// (1, 0, 0, 0) turned by degrees about z, with y negated: the picture's y
// runs down the screen.
D3DXVECTOR4 OnPicture(double degrees)
{
    D3DXMATRIX turn;
    D3DXMatrixRotationZ(&turn, static_cast<float>(degrees * PiDouble / 180.0));
    const D3DXVECTOR4 unit(1.0f, 0.0f, 0.0f, 0.0f);
    D3DXVECTOR4 out;
    D3DXVec4Transform(&out, &unit, &turn);
    out.y = -out.y;
    return out;
}

} // namespace

StreamMotionSettings::StreamMotionSettings() { SetDirection(0); }

void StreamMotionSettings::SetDirection(uint32_t degrees)
{
    angle = static_cast<int32_t>(degrees);
    direction = OnPicture(static_cast<double>(degrees));
    perpendicular = OnPicture(static_cast<double>(degrees) + 90.0);
}
