// Emitter of the electric arc's record: "DS_DischargeFXConstructor" with its
// nested glow and effect records. It is complete and can stand in a slide's
// object list.
#pragma once

#include "tools/document/ParticleRecords.h"
#include "res/resource.h"

#include <cstdint>
#include <string>

// The arc's defaults as a document from the authoring tool writes them.
struct GlowArcContent {
    float start[3] = {100.0f, 100.0f, 0.0f};
    float end[3] = {500.0f, 100.0f, 0.0f};
    uint32_t jitter = 50;
    int32_t glowVariant = 1;
    uint32_t flicker = 100;
    uint32_t morphSpeed = 50;
    // "DS_GlowEffectCtrl": a COLORREF and the strength's value.
    uint32_t glowColour = 0x00FF9900;
    uint32_t glowStrength = 100;
    // "DS_FXParticleSystemCtrl": the effect link.
    std::wstring effectPath = L"common_res.dll";
    int64_t effectStamp = IDR_EFFECT_GLOW;
    SpriteContent sprite;
};

DocumentBuilder& GlowArcRecord(DocumentBuilder& builder, const GlowArcContent& content);
DocumentBuilder::Bytes GlowArcRecordBytes(const GlowArcContent& content);
