// Emitter of the lake layer's record "FakeLake2D".
#pragma once

#include "tools/document/DocumentBuilder.h"
#include "tools/document/Light2DRecord.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The layer's fields with the program's defaults (the key's GUID aside).
struct LakeContent {
    // 1 holds only the key and the base record; 2 adds the ten values.
    int32_t version = 2;
    uint32_t bumpTiling = 100;     // × 0.01: the bump texture's span
    uint32_t rippleSpeed = 50;     // × 0.02
    uint32_t lakeFraction = 25;    // 0.5 - 0.005 × value of the picture height
    uint32_t bumpFade = 100;       // × 0.01
    uint32_t tintStrength = 31;    // × 0.008: tint opacity at the near edge
    uint32_t tintFalloff = 58;     // × 0.01
    uint32_t bumpAmplitude = 25;
    uint32_t horizonBand = 7;      // picture pixels
    int32_t reflectionSizeExponent = 1;
    uint32_t tintColor = 0x408000; // COLORREF
    GUID bumpKey{};
    std::wstring bumpName;
    bool bumpFlag = true;
    LightContent light;
};

// Header "FakeLake2D", then as the version holds: the ten values, the bump
// key (GUID text, name, flag), the "DS_2D_Light" record.
DocumentBuilder& LakeRecord(DocumentBuilder& builder, const LakeContent& content = {});
DocumentBuilder::Bytes LakeRecordBytes(const LakeContent& content = {});
