#include "scene/layerbase/DSM_Camera.h"

#include "foundation/core/Numeric.h"
#include "foundation/core/Random.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/render/SceneView.h"

#include <cmath>

namespace {

const wchar_t* const RecordName = L"DSM_Camera";
const int32_t RecordVersion = 1;

const unsigned int DefaultZoom = 120; // × 0.01: 1.2
const float ZoomScale = 0.01f;
const unsigned int DefaultSpeed = 50; // × 0.02: 1.0
const float SpeedScale = 0.02f;

const float HoldSeconds = 0.5f;
const float ShortestGlide = 5.0f;
const float GlideSpread = 2.0f;

// A random position in [-1, 1].
float RandomPan()
{
    return 2.0f * RandomUnit() - 1.0f;
}

} // namespace

DSM_Camera::DSM_Camera()
{
    zoom.scale = ZoomScale;
    zoom.SetValue(DefaultZoom, nullptr);
    speed.scale = SpeedScale;
    speed.SetValue(DefaultSpeed, nullptr);
}

DSM_Camera& DSM_Camera::operator=(const DSM_Camera& other)
{
    if (this == &other)
        return *this;
    enabled.SetValue(other.enabled.value, nullptr);
    CopyScaled(zoom, other.zoom);
    CopyScaled(speed, other.speed);
    speed.step = other.speed.step;
    speed.time = other.speed.time;
    speed.last = other.speed.last;
    panMode.value = other.panMode.value;
    panFromX = other.panFromX;
    panToX = other.panToX;
    panFromY = other.panFromY;
    panToY = other.panToY;
    panStart = other.panStart;
    panEnd = other.panEnd;
    return *this;
}

void DSM_Camera::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, RecordVersion);
    long enabledValue = enabled.value;
    uint32_t zoomValue = zoom.value;
    uint32_t speedValue = speed.value;
    archive->WriteLong(enabledValue);
    archive->WriteUInt(zoomValue);
    archive->WriteUInt(speedValue);
}

void DSM_Camera::ReadFields(ArchiveHandle& archive)
{
    long enabledValue = 0;
    archive->ReadLong(enabledValue);
    enabled.value = static_cast<int>(enabledValue);
    ReadScaledValue(archive, zoom);
    ReadScaledValue(archive, speed);
}

std::unique_ptr<DSM_Camera> ReadCamera(ArchiveHandle& archive)
{
    ReadObjectHeader(archive);
    auto camera = std::make_unique<DSM_Camera>();
    camera->ReadFields(archive);
    return camera;
}

void DSM_Camera::FrameMove(float time)
{
    speed.AdvanceClock(time);
    const float t = speed.time;
    float z = 1.0f;
    float panX = 0.0f;
    float panY = 0.0f;
    if (enabled.value != 0 && panMode.value == 1) {
        if (t >= panEnd)
            PickPanTarget(t);
        z = zoom.result;
        // Eased from 0 to 1 along half a cosine: the glide starts and stops
        // gently.
        const float f = (1.0f - std::cos(Pi * (t - panStart) / (panEnd - panStart))) / 2.0f;
        panX = panFromX + f * (panToX - panFromX);
        panY = panFromY + f * (panToY - panFromY);
    }
    // Every frame, so that a disabled camera keeps the identity even after
    // another layer moved the shared view's camera.
    if (GlobalSceneView)
        GlobalSceneView->SetCameraOffset(z, panX, panY);
}

void DSM_Camera::PickPanTarget(float t)
{
    panStart = t;
    panFromX = panToX;
    panFromY = panToY;
    if (Rand() % 2 == 0) {
        panEnd = t + HoldSeconds;
        return;
    }
    // The order of the draws is part of the sequence: x, then y, then the
    // glide's length.
    panToX = RandomPan();
    panToY = RandomPan();
    panEnd = t + (ShortestGlide + GlideSpread * RandomUnit());
}
