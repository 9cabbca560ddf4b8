// Emitters of the particle systems' records: the view constructor, the
// sprite properties in every version, the edge rule, and the flow, rain,
// fish, bird and ghost controllers. Each controller's record is complete and
// can stand in a slide's object list.
#pragma once

#include "tools/document/DocumentBuilder.h"
#include "tools/document/ResourceTableRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// "DS_ViewObjCtrl": the whole picture at speed 50.
struct ViewContent {
    // Version 1 has no speed.
    int32_t version = 2;
    // Left, right, top, bottom, point x, point y in picture pixels.
    int32_t pixels[6] = {0, 0, 0, 0, 0, 0};
    float left = 0.0f;
    float right = 1.0f;
    float top = 0.0f;
    float bottom = 1.0f;
    bool flag = false;
    uint32_t speed = 50;
    std::wstring name;
};

// A view over the region given in fractions of a scene of width × height
// pixels, with its pixel edges to match.
ViewContent ViewRegion(double left, double right, double top, double bottom, double width, double height);

// "DS_BaseSpriteProp": one white particle of 32 pixels, no picture.
struct SpriteContent {
    // 1 to 6.
    int32_t version = 6;
    ViewContent view;
    uint32_t count = 1;
    // The view's speed once more, in versions 1 and 2 only.
    uint32_t speed = 50;
    uint32_t baseSize = 32;
    uint32_t transparency = 0;
    int32_t additive = 0;
    // A COLORREF.
    uint32_t colour = 0x00FFFFFF;
    float phaseSpeed = 0.0f;
    float phaseMin = 0.0f;
    float phaseMax = 1.0f;
    float sizeMin = 1.0f;
    float sizeMax = 1.0f;
    // Version 1 keeps its pictures inside the record.
    std::vector<TableResourceRecord> legacyImages;
    TableResourceRecord legacySecond;
    std::vector<float> legacyDelays;
    // Version 2 on links them.
    std::wstring mainPath;
    int64_t mainStamp = 0;
    std::wstring secondPath;
    int64_t secondStamp = 0;
    uint32_t reservedCount = 1;
    float reservedValue = 0.0f;
    uint32_t frameCount = 1;
    float frameRate = 0.0f;
    bool frameGrid = false;
    int32_t imageSource = 0;
    int32_t verticalFlip = 0;
    int32_t horizontalFlip = 0;
    int32_t staticFlag = 0;
};

// "DS_BoundControl": leave and re-enter, all times 0.
struct BoundContent {
    int32_t rule = 0;
    uint32_t fadeOut = 0;
    uint32_t fadeIn = 0;
    uint32_t minHidden = 0;
    uint32_t maxHidden = 0;
};

// "DS_FlowConstructor".
struct FlowContent {
    // 1 to 4: 2 adds a turn flag, 3 the orientation mode, 4 the edges.
    int32_t version = 4;
    uint32_t angle = 270;
    uint32_t driftSpeed = 0;
    uint32_t driftChangeRate = 0;
    float strength = 0.0f;
    // Written as the turn flag (non-zero: turned) in version 2.
    int32_t orientation = 0;
    // Top, bottom, left, right.
    BoundContent edges[4];
    SpriteContent sprite;
};

// "DS_FishConstructor" and the bird and ghost records around it.
struct FishContent {
    float speedX = 80.0f;
    float speedY = 50.0f;
    SpriteContent sprite;
};

DocumentBuilder& ViewObjCtrlRecord(DocumentBuilder& builder, const ViewContent& content);
DocumentBuilder& BaseSpritePropRecord(DocumentBuilder& builder, const SpriteContent& content);
DocumentBuilder& BoundControlRecord(DocumentBuilder& builder, const BoundContent& content);
DocumentBuilder& FlowRecord(DocumentBuilder& builder, const FlowContent& content);
// Header "DS_RainConstructor" version 1, then the flow's record.
DocumentBuilder& RainRecord(DocumentBuilder& builder, const FlowContent& content);
DocumentBuilder& FishRecord(DocumentBuilder& builder, const FishContent& content);
// Header "DS_BirdConstructor" (or "DS_GhostConstructor") version 1, then the
// fish's record.
DocumentBuilder& BirdRecord(DocumentBuilder& builder, const FishContent& content);
DocumentBuilder& GhostRecord(DocumentBuilder& builder, const FishContent& content);

// The same records on their own, ready for a slide's object list.
DocumentBuilder::Bytes FlowRecordBytes(const FlowContent& content);
DocumentBuilder::Bytes RainRecordBytes(const FlowContent& content);
DocumentBuilder::Bytes FishRecordBytes(const FishContent& content);
DocumentBuilder::Bytes BirdRecordBytes(const FishContent& content);
DocumentBuilder::Bytes GhostRecordBytes(const FishContent& content);
