// Emitters of the static-object particle systems' records: the static
// object in both versions, the flower and the discharge. Each record is
// complete and can stand in a slide's object list.
#pragma once

#include "tools/document/ParticleRecords.h"

#include <cstdint>

// "DS_StatObjConstructor".
struct StaticObjectContent {
    // 1 carries the two flip flags here.
    int32_t version = 2;
    // Left, right, top, bottom, point x, point y in picture pixels.
    int32_t rectangle[6] = {0, 0, 0, 0, 0, 0};
    uint32_t rotation = 0;
    int32_t verticalFlip = 0;
    int32_t horizontalFlip = 0;
    SpriteContent sprite;
};

// "DS_FlowerConstructor".
struct FlowerContent {
    float swayAmplitude = 1.5f;
    StaticObjectContent object;
};

DocumentBuilder& StaticObjectRecord(DocumentBuilder& builder, const StaticObjectContent& content);
DocumentBuilder& FlowerRecord(DocumentBuilder& builder, const FlowerContent& content);
// Header "DS_DischargeConstructor" version 1, then the static object's
// record.
DocumentBuilder& DischargeRecord(DocumentBuilder& builder, const StaticObjectContent& content);

DocumentBuilder::Bytes StaticObjectRecordBytes(const StaticObjectContent& content);
DocumentBuilder::Bytes FlowerRecordBytes(const FlowerContent& content);
DocumentBuilder::Bytes DischargeRecordBytes(const StaticObjectContent& content);
