// Emitters of the 3D objects' and 3D sprites' records: the 3D object base,
// the butterfly (versions 1 and 2), the clock and the 3D sprites'
// constructor. Each complete record can stand in a slide's object list.
#pragma once

#include "tools/document/DocumentBuilder.h"
#include "tools/document/ParticleRecords.h"
#include "tools/document/ResourceTableRecord.h"
#include "res/resource.h"

#include <cstdint>
#include <string>

// The module that the default links name.
extern const wchar_t* const ModelModule;

// "DS_3D_Obj_Ctrl", version 1.
struct Object3DContent {
    uint32_t count = 1;
    uint32_t size = 50;
    std::wstring texturePath;
    int64_t textureStamp = 0;
    std::wstring meshPath;
    int64_t meshStamp = 0;
    ViewContent view;
};

// "DS_ButterflyConstructor": the defaults of a new butterfly, no wing picture.
struct ButterflyContent {
    ButterflyContent();
    // 1 has no wing scale.
    int32_t version = 2;
    std::wstring bodyTexturePath;
    int64_t bodyTextureStamp = 6;
    std::wstring bodyMeshPath;
    int64_t bodyMeshStamp = IDR_MESH_BUTTERFLY_BODY;
    uint32_t firstScaled = 50;
    uint32_t secondScaled = 50;
    float wingScale = 1.0f;
    Object3DContent object;
};

// "DS_ClockConstructor": the defaults of a new clock, centred at (0, 0).
struct ClockContent {
    ClockContent();
    int32_t version = 1;
    // Left, right, top, bottom, centre x, centre y in picture pixels.
    int32_t rectangle[6] = {0, 0, 0, 0, 0, 0};
    std::wstring handsPath;
    int64_t handsStamp = 72;
    Object3DContent object;
};

// "DS_3D_in_2D_array_Constructor", version 1.
struct Sprites3DContent {
    // The copy of the name at the record's start; the base record's wins.
    std::wstring leadingName;
    uint32_t count = 0;
    TableResourceRecord mesh;
    TableResourceRecord texture;
    uint32_t size = 0;
    uint32_t speed = 50;
    uint32_t driftAmount = 0;
    uint32_t driftChangeRate = 0;
    uint32_t tumble = 100;
    uint32_t angle = 0;
    std::wstring name;
};

DocumentBuilder& Object3DRecord(DocumentBuilder& builder, const Object3DContent& content);
DocumentBuilder& ButterflyRecord(DocumentBuilder& builder, const ButterflyContent& content);
DocumentBuilder& ClockRecord(DocumentBuilder& builder, const ClockContent& content);
DocumentBuilder& Sprites3DRecord(DocumentBuilder& builder, const Sprites3DContent& content);

DocumentBuilder::Bytes ButterflyRecordBytes(const ButterflyContent& content);
DocumentBuilder::Bytes ClockRecordBytes(const ClockContent& content);
DocumentBuilder::Bytes Sprites3DRecordBytes(const Sprites3DContent& content);
