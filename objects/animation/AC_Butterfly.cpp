#include "objects/animation/AC_Butterfly.h"

#include "foundation/core/Random.h"
#include "foundation/geometry/DS_Frame.h"
#include "foundation/render/PictureMapping.h"
#include "objects/animation/AC_ButterflyWing.h"
#include "objects/animation/AnimationMath.h"
#include "objects/base/DS_ViewObjCtrl.h"

#include <cmath>

namespace {

// The body leans its nose up by this much in flight.
const float TiltRadians = 0.17453294f;
// The pitch that grows as the speed drops below SlowSpeed, up to MaxPitch.
constexpr float SlowSpeed = 100.0f;
constexpr float MaxPitch = 15.0f;

// A heading this far off its target banks the butterfly into the turn.
constexpr float BankThreshold = 5.0f;
constexpr float TurnBank = 25.0f;

// The wing beat: degrees per unit of flap speed and step, and the speeds
// of the down and up strokes.
constexpr float FlapRate = 7.0f;
constexpr float DownStroke = -160.0f;
constexpr float UpStroke = 100.0f;
// The body bobs against the beat by this many units per degree.
constexpr float BobPerDegree = -3.0f / 45.0f;

// Steering: the climbs and turns that bring the butterfly back into view.
constexpr float SinkClimb = 100.0f;
constexpr float RiseClimb = -190.0f;
constexpr float TurnRate = 350.0f;
constexpr float ReturnSpeed = 300.0f;

// At most one manoeuvre per this much of the view clock.
constexpr float ManoeuvreInterval = 0.25f;

float PictureWidth() { return static_cast<float>(CurrentPictureMapping.pictureWidth); }
float PictureHeight() { return static_cast<float>(CurrentPictureMapping.pictureHeight); }

D3DXMATRIX RotationX(float degrees)
{
    D3DXMATRIX m;
    D3DXMatrixRotationX(&m, Radians(degrees));
    return m;
}

D3DXMATRIX RotationY(float degrees)
{
    D3DXMATRIX m;
    D3DXMatrixRotationY(&m, Radians(degrees));
    return m;
}

D3DXMATRIX RotationZ(float degrees)
{
    D3DXMATRIX m;
    D3DXMatrixRotationZ(&m, Radians(degrees));
    return m;
}

D3DXMATRIX Translation(float x, float y, float z)
{
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}

} // namespace

AC_Butterfly::AC_Butterfly(const DS_ViewObjCtrl* owner, MediaParamT<unsigned int>& size) : view(owner)
{
    ownedWings[0] = std::make_unique<AC_ButterflyWing>();
    ownedWings[1] = std::make_unique<AC_ButterflyWing>();
    wing1 = ownedWings[0].get();
    wing2 = ownedWings[1].get();
    position = view->RandomPointInView();
    position.z = 0.0f;
    heading.value = heading.target = RandomUnit() * 360.0f;
    heading.rate = TurnRate;
    D3DXMatrixRotationX(&tilt, TiltRadians);
    D3DXMatrixScaling(&mirror, -1.0f, 1.0f, 1.0f);
    OnScaleChanged(size.value);
    binders.SetOwner(this, false);
    BindParamCallback(binders, size, &AC_Butterfly::OnScaleChanged, this);
}

AC_Butterfly::~AC_Butterfly() = default;

void AC_Butterfly::AttachWings(DS_Frame& first, DS_Frame& second)
{
    first.animation = ownedWings[0].release();
    second.animation = ownedWings[1].release();
}

void AC_Butterfly::OnScaleChanged(unsigned int size)
{
    const float k = static_cast<float>(size) / 100.0f;
    D3DXMatrixScaling(&scale, k, k, k);
}

void AC_Butterfly::Animate(DS_Frame& frame)
{
    const float dt = view->step;

    const D3DXMATRIX turn = RotationY(heading.value);
    D3DXMATRIX world = turn * frame.local;

    const float error = heading.value - heading.target;
    if (error < -BankThreshold)
        bank.Retarget(TurnBank, 0.0f);
    else if (error > BankThreshold)
        bank.Retarget(-TurnBank, 0.0f);

    if (speed.value < SlowSpeed)
        world = RotationX((1.0f - speed.value / SlowSpeed) * MaxPitch) * world;
    world = tilt * world;
    world = RotationZ(bank.value) * world;
    if (bank.value == bank.target)
        bank.Retarget(0.0f, 0.0f);

    flapAngle += dt * FlapRate * flapSpeed;
    if (flapAngle > flapMaximum)
        flapSpeed = DownStroke;
    if (flapAngle < flapMinimum)
        flapSpeed = UpStroke;
    world = Translation(0.0f, flapAngle * BobPerDegree, 0.0f) * world;

    wing1->wing = RotationZ(flapAngle);
    wing2->wing = wing1->wing * mirror;
    wing1->mirror = flapAngle > 0.0f;
    wing2->mirror = flapAngle < 0.0f;

    D3DXVECTOR3 velocity(speed.value, 0.0f, 0.0f);
    D3DXVec3TransformCoord(&velocity, &velocity, &turn);
    velocity.y = climb.value;
    position += velocity * dt;
    position.z = 0.0f;
    world = world * Translation(position.x, position.y, position.z);

    climb.Approach(dt);
    bank.Approach(dt);
    heading.Approach(dt);
    speed.Approach(dt);

    Steer();
    Manoeuvre();

    frame.world = scale * world;
}

void AC_Butterfly::Steer()
{
    const float width = PictureWidth();
    const float height = PictureHeight();
    const float top = view->top * height;
    const float bottom = view->bottom * height;
    const float left = view->left * width;
    const float right = view->right * width;

    if (position.y < top) {
        requestedMode = Gliding;
        climb.Retarget(SinkClimb, 0.0f);
    } else if (position.y > bottom) {
        requestedMode = Flapping;
        climb.Retarget(RiseClimb, 0.0f);
    }
    if (position.x < left) {
        heading.Retarget(0.0f, TurnRate);
        speed.Retarget(ReturnSpeed, 0.0f);
    } else if (position.x > right) {
        heading.Retarget(-180.0f, TurnRate);
        speed.Retarget(ReturnSpeed, 0.0f);
    }
}

void AC_Butterfly::Manoeuvre()
{
    const float clock = view->clock;
    if (requestedMode == currentMode && clock - lastManoeuvre > ManoeuvreInterval) {
        switch (Rand() % 5) {
        case 0:
            requestedMode = Flapping;
            climb.Retarget(RandomRange(RiseClimb, 0.0f), 0.0f);
            break;
        case 1:
            requestedMode = Gliding;
            climb.Retarget(RandomRange(SinkClimb, 150.0f), 0.0f);
            break;
        case 2:
            requestedMode = Flapping;
            speed.Retarget(RandomRange(-25.0f, ReturnSpeed), 0.0f);
            break;
        default:
            // A turn only in flapping flight, and only once the last one ended.
            if (currentMode == Flapping && heading.value == heading.target) {
                const int parity = Rand();
                const float rate = RandomRange(50.0f, TurnRate);
                if (parity % 2 == 0)
                    heading.Retarget(RandomRange(155.0f, 205.0f), rate);
                else
                    heading.Retarget(RandomRange(-25.0f, 25.0f), rate);
            }
            break;
        }
        lastManoeuvre = clock;
    }

    if (requestedMode == Gliding && currentMode == Flapping) {
        // The glide starts once the wings have swung up past half the beat.
        flapMaximum = 0.0f;
        if (flapAngle < flapMinimum * 0.5f) {
            currentMode = Gliding;
            flapSpeed = -std::fabs(flapSpeed) / 100.0f;
        }
    }
    if (requestedMode == Flapping && currentMode == Gliding) {
        currentMode = Flapping;
        flapMaximum = -flapMinimum;
        flapSpeed = speed.value > 20.0f ? RandomRange(DownStroke, speed.value / 3.0f - 50.0f) : 160.0f;
    }
}
