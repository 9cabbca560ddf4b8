// Emitters of the effect brushes' records: the "DS_FX_Constructor" record that
// ends every brush's record, and the fire brush "DS_FireFX". The flame layer,
// which embeds a fire brush, is here too.
#pragma once

#include "tools/document/DocumentBuilder.h"
#include "tools/document/Light2DRecord.h"
#include "res/resource.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The brush base with the program's defaults; each brush sets its own speed
// and effect number.
struct BrushBaseContent {
    // 1 has no scale.
    int32_t version = 2;
    uint32_t speed = 50;
    int32_t backgroundFlag = 0;
    GUID mask{};
    std::wstring maskName;
    bool maskFlag = true;
    std::wstring effectPath = L"common_res.dll";
    int64_t effectStamp = 0;
    uint32_t scale = 50;
    // The constructor's display name.
    std::wstring name;
};

// Header "DS_FX_Constructor" with the version: speed, flag, mask GUID, name
// and flag, effect link, from version 2 the scale; then the constructor base
// record with the name.
DocumentBuilder& BrushBaseRecord(DocumentBuilder& builder, const BrushBaseContent& content);

// A fire brush with the program's defaults (corners at the origin).
struct FireContent {
    FireContent();

    // 1 holds none of the fire's own fields.
    int32_t version = 2;
    // Corners 0 to 3 (bottom-left, top-left, bottom-right, top-right of the
    // flame), x, y, z in picture pixels.
    float corners[4][3] = {};
    int32_t firstColour = 0x0000FFFF;
    int32_t secondColour = 0x000000FF;
    int32_t intSetting = 0;
    std::wstring patternPath = L"common_res.dll";
    int64_t patternStamp = 93;
    std::wstring noisePath = L"common_res.dll";
    int64_t noiseStamp = 8;
    int32_t secondIntSetting = 0;
    uint32_t density = 100;
    uint32_t brightness = 15;
    uint32_t repeat = 100;
    BrushBaseContent base;
};

DocumentBuilder& FireRecord(DocumentBuilder& builder, const FireContent& content);
DocumentBuilder::Bytes FireRecordBytes(const FireContent& content);

// A flame layer with the program's defaults: fire and distortion on.
struct FlameLightContent {
    FlameLightContent();

    // 1 carries the fire's speed and two old links instead of the fire record.
    int32_t version = 2;
    int32_t fireSwitch = 1;
    int32_t distortionSwitch = 1;
    uint32_t flameDrop = 0;
    uint32_t fireSpeed = 50;
    std::wstring bumpPath = L"common_res.dll";
    int64_t bumpStamp = 62;
    std::wstring effectPath = L"common_res.dll";
    int64_t effectStamp = IDR_EFFECT_HEATHAZE;
    uint32_t distortionSpeed = 50;
    uint32_t strength = 25;
    uint32_t bumpScale = 88;
    FireContent fire;
    LightContent base;
};

DocumentBuilder& FlameLightRecord(DocumentBuilder& builder, const FlameLightContent& content);
DocumentBuilder::Bytes FlameLightRecordBytes(const FlameLightContent& content);
