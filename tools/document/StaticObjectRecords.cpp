#include "tools/document/StaticObjectRecords.h"

DocumentBuilder& StaticObjectRecord(DocumentBuilder& builder, const StaticObjectContent& content)
{
    builder.Header(L"DS_StatObjConstructor", content.version);
    for (int32_t value : content.rectangle)
        builder.Long(value);
    builder.UInt(content.rotation);
    if (content.version < 2)
        builder.Int(content.verticalFlip).Int(content.horizontalFlip);
    return BaseSpritePropRecord(builder, content.sprite);
}

DocumentBuilder& FlowerRecord(DocumentBuilder& builder, const FlowerContent& content)
{
    builder.Header(L"DS_FlowerConstructor", 1).Float(content.swayAmplitude);
    return StaticObjectRecord(builder, content.object);
}

DocumentBuilder& DischargeRecord(DocumentBuilder& builder, const StaticObjectContent& content)
{
    builder.Header(L"DS_DischargeConstructor", 1);
    return StaticObjectRecord(builder, content);
}

DocumentBuilder::Bytes StaticObjectRecordBytes(const StaticObjectContent& content)
{
    return RecordAlone(StaticObjectRecord, content);
}
DocumentBuilder::Bytes FlowerRecordBytes(const FlowerContent& content) { return RecordAlone(FlowerRecord, content); }
DocumentBuilder::Bytes DischargeRecordBytes(const StaticObjectContent& content)
{
    return RecordAlone(DischargeRecord, content);
}
