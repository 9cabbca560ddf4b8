#include "objects/animation/DS_LeafFallAnim.h"

#include "foundation/core/Random.h"
#include "foundation/geometry/DS_Frame.h"
#include "objects/animation/AnimationMath.h"
#include "objects/animation/StreamMotionSettings.h"

namespace {

constexpr float SlowestTumble = 7.0f;
constexpr float TumbleSpread = 3.0f;
constexpr float SlowestOrbit = 3.0f;
constexpr float OrbitSpread = 4.0f;
// Turning speeds per unit of the tumble and drift settings.
constexpr float SpinPerUnit = 0.4f;
// The radius of the orbit about the drifting place, in pixels.
constexpr float OrbitRadius = 50.0f;

DS_LeafFallAnim::Spin TumbleSpin()
{
    const float sign = RandomSign();
    const float speed = (RandomUnit() * TumbleSpread + SlowestTumble) * sign;
    return {speed, speed};
}

DS_LeafFallAnim::Spin OrbitSpin()
{
    const float turns = static_cast<float>(Rand() & 1);
    const float sign = RandomSign();
    const float speed = (RandomUnit() * OrbitSpread + SlowestOrbit) * turns * sign;
    return {speed, speed};
}

} // namespace

DS_LeafFallAnim::DS_LeafFallAnim(const StreamMotionSettings* motion)
    : DS_SreamAnim(motion), tumbleX(TumbleSpin()), tumbleY(TumbleSpin()), tumbleZ(TumbleSpin()),
      orbitY(OrbitSpin()), orbitX(OrbitSpin())
{
}

void DS_LeafFallAnim::Animate(DS_Frame& frame)
{
    Drift();

    // An empty mesh has no sphere to scale: it is drawn at no size at all.
    const float radius = frame.boundingRadius;
    const float s = radius > 0.0f ? static_cast<float>(settings->size.value) * 0.5f / radius : 0.0f;

    const float tumble = frameStep * static_cast<float>(settings->tumble.value) * SpinPerUnit;
    const float orbit = frameStep * static_cast<float>(settings->driftAmount.value) * SpinPerUnit;
    for (Spin* spin : {&tumbleX, &tumbleY, &tumbleZ})
        spin->angle += spin->speed * tumble;
    for (Spin* spin : {&orbitY, &orbitX})
        spin->angle += spin->speed * orbit;

    D3DXMATRIX m, step;
    D3DXMatrixScaling(&m, s, s, s);
    D3DXMatrixRotationX(&step, Radians(tumbleX.angle));
    m *= step;
    D3DXMatrixRotationZ(&step, Radians(tumbleZ.angle));
    m *= step;
    D3DXMatrixRotationY(&step, Radians(tumbleY.angle));
    m *= step;
    D3DXMatrixTranslation(&step, 0.0f, 0.0f, OrbitRadius);
    m *= step;
    D3DXMatrixRotationY(&step, Radians(orbitY.angle));
    m *= step;
    D3DXMatrixRotationX(&step, Radians(orbitX.angle));
    m *= step;
    m *= position;
    frame.world = frame.local * m;
}
