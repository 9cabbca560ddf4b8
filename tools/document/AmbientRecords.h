// Emitters of the ambient particle systems' records: god rays, sparkles,
// fog, lightning and grass. Each record is complete and can stand in a
// slide's object list.
#pragma once

#include "tools/document/ParticleRecords.h"

#include <cstdint>

// "DS_GodRayConstructor".
struct GodRayContent {
    uint32_t angle = 80;
    SpriteContent sprite;
};

// "DS_FogConstructor".
struct FogContent {
    float speedX = 40.0f;
    float speedY = 40.0f;
    SpriteContent sprite;
};

// "DS_GrassConstructor".
struct GrassContent {
    float swayAmplitude = 3.0f;
    SpriteContent sprite;
};

DocumentBuilder& GodRayRecord(DocumentBuilder& builder, const GodRayContent& content);
// Header "DS_SparkleConstructor" (or "DS_LightingConstructor") version 1,
// then the sprite record.
DocumentBuilder& SparkleRecord(DocumentBuilder& builder, const SpriteContent& content);
DocumentBuilder& LightningRecord(DocumentBuilder& builder, const SpriteContent& content);
DocumentBuilder& FogRecord(DocumentBuilder& builder, const FogContent& content);
DocumentBuilder& GrassRecord(DocumentBuilder& builder, const GrassContent& content);

DocumentBuilder::Bytes GodRayRecordBytes(const GodRayContent& content);
DocumentBuilder::Bytes SparkleRecordBytes(const SpriteContent& content);
DocumentBuilder::Bytes LightningRecordBytes(const SpriteContent& content);
DocumentBuilder::Bytes FogRecordBytes(const FogContent& content);
DocumentBuilder::Bytes GrassRecordBytes(const GrassContent& content);
