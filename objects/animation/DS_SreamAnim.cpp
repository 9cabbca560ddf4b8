#include "objects/animation/DS_SreamAnim.h"

#include "foundation/core/Random.h"
#include "foundation/render/PictureMapping.h"
#include "objects/animation/AnimationMath.h"
#include "objects/animation/StreamMotionSettings.h"

#include <cmath>

float StreamAnimationTime = 0.0f;

namespace {

// A stall (a dialog, a device reset) moves a sprite no further than this.
constexpr float LongestStep = 0.2f;
constexpr float SlowestShare = 0.07f;
constexpr float ShareSpread = 0.06f;
// The swerve reaches this share of the speed per unit of drift amount.
constexpr float SwervePerUnit = 0.02f;
// Speed 1 moves a sprite of speed factor 1 this many pixels per second.
constexpr float PixelsPerSpeed = 50.0f;

float PictureWidth() { return static_cast<float>(CurrentPictureMapping.pictureWidth); }
float PictureHeight() { return static_cast<float>(CurrentPictureMapping.pictureHeight); }

} // namespace

DS_SreamAnim::DS_SreamAnim(const StreamMotionSettings* motion) : settings(motion)
{
    const float x = RandomUnit() * PictureWidth();
    const float y = RandomUnit() * PictureHeight();
    D3DXMatrixTranslation(&position, x, y, 0.0f);
    drift = RandomUnit() * 2.0f - 1.0f;
    speedFactor = RandomUnit() * ShareSpread + SlowestShare;
}

void DS_SreamAnim::Animate(DS_Frame&) { Drift(); }

void DS_SreamAnim::Drift()
{
    const float now = StreamAnimationTime;
    frameStep = std::fabs(now - lastTime);
    lastTime = now;
    if (frameStep > LongestStep)
        frameStep = LongestStep;

    const float size = static_cast<float>(settings->size.value);
    const float speed = static_cast<float>(settings->speed.value);
    const float amount = static_cast<float>(settings->driftAmount.value);
    const unsigned int changes = settings->driftChangeRate.value;
    const float half = size * 0.5f;
    const float width = PictureWidth();
    const float height = PictureHeight();

    const float across = drift * (amount * SwervePerUnit);
    const float vx = settings->direction.x + settings->perpendicular.x * across;
    const float vy = settings->direction.y + settings->perpendicular.y * across;
    const float w = speed * speedFactor * frameStep * PixelsPerSpeed;
    const float sx = vx * w;
    const float sy = vy * w;

    float& x = position._41;
    float& y = position._42;
    // A sprite that wraps does not also move in that frame.
    if (sy > 0.0f && y > height + half) {
        x = RandomRange(0.0f, width);
        y = -half;
    } else if (sy < 0.0f && y < -half) {
        x = RandomRange(0.0f, width);
        y = height + half;
    } else if (sx > 0.0f && x > width + half) {
        x = -half;
        y = RandomRange(0.0f, height);
    } else if (sx < 0.0f && x < -half) {
        x = width + half;
        y = RandomRange(0.0f, height);
    } else {
        x += sx;
        y += sy;
    }

    // Without a change rate the drift keeps its first value for good.
    if (changes != 0 && (now - lastDriftChange) * speed * 0.1f > 100.0f / static_cast<float>(changes)) {
        lastDriftChange = now;
        if (Rand() & 1)
            drift = RandomUnit() * 2.0f - 1.0f;
    }
}
