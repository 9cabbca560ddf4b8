#include "tools/document/ParticleRecords.h"

#include "tools/document/ObjectRecords.h"

ViewContent ViewRegion(double left, double right, double top, double bottom, double width, double height)
{
    ViewContent view;
    view.left = static_cast<float>(left);
    view.right = static_cast<float>(right);
    view.top = static_cast<float>(top);
    view.bottom = static_cast<float>(bottom);
    view.pixels[0] = static_cast<int32_t>(left * width);
    view.pixels[1] = static_cast<int32_t>(right * width);
    view.pixels[2] = static_cast<int32_t>(top * height);
    view.pixels[3] = static_cast<int32_t>(bottom * height);
    return view;
}

DocumentBuilder& ViewObjCtrlRecord(DocumentBuilder& builder, const ViewContent& content)
{
    builder.Header(L"DS_ViewObjCtrl", content.version);
    for (int32_t pixel : content.pixels)
        builder.Long(pixel);
    builder.Float(content.left).Float(content.right).Float(content.top).Float(content.bottom);
    builder.Bool(content.flag);
    if (content.version > 1)
        builder.UInt(content.speed);
    return ConstructorBaseRecord(builder, content.name);
}

DocumentBuilder& BaseSpritePropRecord(DocumentBuilder& builder, const SpriteContent& content)
{
    const int32_t v = content.version;
    builder.Header(L"DS_BaseSpriteProp", v);
    ViewObjCtrlRecord(builder, content.view);
    builder.UInt(content.count);
    if (v <= 2)
        builder.UInt(content.speed);
    builder.UInt(content.baseSize).UInt(content.transparency).Int(content.additive);
    builder.Int(static_cast<int32_t>(content.colour));
    builder.Float(content.phaseSpeed).Float(content.phaseMin).Float(content.phaseMax);
    builder.Float(content.sizeMin).Float(content.sizeMax);
    if (v == 1) {
        builder.UInt(static_cast<uint32_t>(content.legacyImages.size()));
        for (const TableResourceRecord& record : content.legacyImages)
            TableRecord(builder, record);
        TableRecord(builder, content.legacySecond);
    } else {
        builder.Link(content.mainPath, content.mainStamp).Link(content.secondPath, content.secondStamp);
    }
    builder.UInt(content.reservedCount).Float(content.reservedValue);
    builder.UInt(content.frameCount).Float(content.frameRate).Bool(content.frameGrid);
    if (v == 1) {
        builder.Int(static_cast<int32_t>(content.legacyDelays.size()));
        for (float delay : content.legacyDelays)
            builder.Float(delay);
        return builder;
    }
    if (v >= 4)
        builder.Int(content.imageSource);
    if (v >= 5)
        builder.Int(content.verticalFlip).Int(content.horizontalFlip);
    if (v >= 6)
        builder.Int(content.staticFlag);
    return builder;
}

DocumentBuilder& BoundControlRecord(DocumentBuilder& builder, const BoundContent& content)
{
    return builder.Header(L"DS_BoundControl", 1)
        .Int(content.rule)
        .UInt(content.fadeOut)
        .UInt(content.fadeIn)
        .UInt(content.minHidden)
        .UInt(content.maxHidden);
}

DocumentBuilder& FlowRecord(DocumentBuilder& builder, const FlowContent& content)
{
    const int32_t v = content.version;
    builder.Header(L"DS_FlowConstructor", v);
    builder.UInt(content.angle).UInt(content.driftSpeed).UInt(content.driftChangeRate).Float(content.strength);
    if (v == 2)
        builder.Int(content.orientation != 0 ? 1 : 0);
    else if (v >= 3)
        builder.Int(content.orientation);
    if (v >= 4)
        for (const BoundContent& edge : content.edges)
            BoundControlRecord(builder, edge);
    return BaseSpritePropRecord(builder, content.sprite);
}

DocumentBuilder& RainRecord(DocumentBuilder& builder, const FlowContent& content)
{
    builder.Header(L"DS_RainConstructor", 1);
    return FlowRecord(builder, content);
}

DocumentBuilder& FishRecord(DocumentBuilder& builder, const FishContent& content)
{
    builder.Header(L"DS_FishConstructor", 1).Float(content.speedX).Float(content.speedY);
    return BaseSpritePropRecord(builder, content.sprite);
}

DocumentBuilder& BirdRecord(DocumentBuilder& builder, const FishContent& content)
{
    builder.Header(L"DS_BirdConstructor", 1);
    return FishRecord(builder, content);
}

DocumentBuilder& GhostRecord(DocumentBuilder& builder, const FishContent& content)
{
    builder.Header(L"DS_GhostConstructor", 1);
    return FishRecord(builder, content);
}

DocumentBuilder::Bytes FlowRecordBytes(const FlowContent& content) { return RecordAlone(FlowRecord, content); }
DocumentBuilder::Bytes RainRecordBytes(const FlowContent& content) { return RecordAlone(RainRecord, content); }
DocumentBuilder::Bytes FishRecordBytes(const FishContent& content) { return RecordAlone(FishRecord, content); }
DocumentBuilder::Bytes BirdRecordBytes(const FishContent& content) { return RecordAlone(BirdRecord, content); }
DocumentBuilder::Bytes GhostRecordBytes(const FishContent& content) { return RecordAlone(GhostRecord, content); }
