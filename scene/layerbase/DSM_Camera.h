// The slow random pan and zoom over a layer's picture: the picture is
// enlarged by the zoom factor about a point that glides, eased, from one
// random position to the next and now and then holds still. Its one output is
// the camera matrix of the global scene view.
#pragma once

#include "foundation/model/DS_IOF_Item.h"
#include "foundation/params/MediaParam.h"
#include "foundation/params/MediaSpeedParam.h"
#include "foundation/params/UINTSclaleTo.h"

#include <cstdint>
#include <memory>

class DSM_Camera : public DS_IOF_Item {
public:
    // Disabled, zoom 1.2, speed 1.0, not panning.
    DSM_Camera();
    DSM_Camera(const DSM_Camera&) = default;
    // Takes over the settings (with their scales and offsets, results
    // recomputed), the speed clock and the pan state.
    DSM_Camera& operator=(const DSM_Camera& other);
    ~DSM_Camera() override = default;

    // "DSM_Camera", version 1: enabled, zoom, speed.
    void Write(ArchiveHandle& archive) override;
    // The record's fields after its header: enabled straight into its value,
    // zoom and speed through SetValue so that their results follow.
    void ReadFields(ArchiveHandle& archive);

    // Advances the speed clock with the application time and sets the scene
    // view's camera: the identity unless the camera is enabled and panning.
    void FrameMove(float time);
    // Starts the next segment at clock time t from where the last one ended:
    // a half-second hold or a glide of 5 to 7 seconds to a random point.
    void PickPanTarget(float t);

    MediaParamT<int> enabled{0};
    UINTSclaleTo<float> zoom;
    MediaSpeedParam speed;
    // The motion runs only in mode 1, which the layer sets when its slide
    // becomes active.
    MediaParamTB<int> panMode{0};
    // Pan positions in [-1, 1] (-1 left or top edge, 1 right or bottom) and
    // the segment's times on the speed clock.
    float panFromX = 0.0f;
    float panToX = 0.0f;
    float panFromY = 0.0f;
    float panToY = 0.0f;
    float panStart = 0.0f;
    float panEnd = 0.0f;
};

// A camera record nested in a layer's record: the header (name and version
// not checked), then a new camera's fields.
std::unique_ptr<DSM_Camera> ReadCamera(ArchiveHandle& archive);
