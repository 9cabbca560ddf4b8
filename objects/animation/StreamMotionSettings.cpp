#include "objects/animation/StreamMotionSettings.h"

namespace {

constexpr double Pi = 3.14159265358979323846;

// (1, 0, 0, 0) turned by degrees about z, with y negated: the picture's y
// runs down the screen.
D3DXVECTOR4 OnPicture(double degrees)
{
    D3DXMATRIX turn;
    D3DXMatrixRotationZ(&turn, static_cast<float>(degrees * Pi / 180.0));
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
