// Emitter of the camera record that every layer record nests.
#pragma once

#include "tools/document/DocumentBuilder.h"

#include <cstdint>

// "DSM_Camera", version 1: enabled (int32), zoom value (uint32; × 0.01 is the
// zoom factor), speed value (uint32; × 0.02 is the speed). The program's
// defaults are 0, 120 and 50.
DocumentBuilder& CameraRecord(DocumentBuilder& builder, int32_t enabled = 0, uint32_t zoom = 120,
                              uint32_t speed = 50);
