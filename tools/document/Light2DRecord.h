// Emitter of the plain layer record "DS_2D_Light": a slide's background layer
// as it stands, and the base record that ends every other layer's record.
#pragma once

#include "tools/document/DocumentBuilder.h"

#include <cstdint>
#include <string>

// The layer's fields with the program's defaults: the picture of module
// "common_res.dll" resource 5 and a disabled camera.
struct LightContent {
    // 1 holds nothing, 2 adds the picture link, 3 adds the camera record.
    int32_t version = 3;
    std::wstring picturePath = L"common_res.dll";
    int64_t pictureStamp = 5;
    int32_t cameraEnabled = 0;
    uint32_t cameraZoom = 120;
    uint32_t cameraSpeed = 50;
};

// Header "DS_2D_Light" with the version, then as the version holds: the
// picture link (path, stamp) and the nested "DSM_Camera" record.
DocumentBuilder& Light2DRecord(DocumentBuilder& builder, const LightContent& content = {});

// The same record on its own, ready to stand as a slide's layer.
DocumentBuilder::Bytes Light2DRecordBytes(const LightContent& content = {});
