#include "tools/document/AmbientRecords.h"

DocumentBuilder& GodRayRecord(DocumentBuilder& builder, const GodRayContent& content)
{
    builder.Header(L"DS_GodRayConstructor", 1).UInt(content.angle);
    return BaseSpritePropRecord(builder, content.sprite);
}

DocumentBuilder& SparkleRecord(DocumentBuilder& builder, const SpriteContent& content)
{
    builder.Header(L"DS_SparkleConstructor", 1);
    return BaseSpritePropRecord(builder, content);
}

DocumentBuilder& LightningRecord(DocumentBuilder& builder, const SpriteContent& content)
{
    builder.Header(L"DS_LightingConstructor", 1);
    return BaseSpritePropRecord(builder, content);
}

DocumentBuilder& FogRecord(DocumentBuilder& builder, const FogContent& content)
{
    builder.Header(L"DS_FogConstructor", 1).Float(content.speedX).Float(content.speedY);
    return BaseSpritePropRecord(builder, content.sprite);
}

DocumentBuilder& GrassRecord(DocumentBuilder& builder, const GrassContent& content)
{
    builder.Header(L"DS_GrassConstructor", 1).Float(content.swayAmplitude);
    return BaseSpritePropRecord(builder, content.sprite);
}

DocumentBuilder::Bytes GodRayRecordBytes(const GodRayContent& content) { return RecordAlone(GodRayRecord, content); }
DocumentBuilder::Bytes SparkleRecordBytes(const SpriteContent& content) { return RecordAlone(SparkleRecord, content); }
DocumentBuilder::Bytes LightningRecordBytes(const SpriteContent& content)
{
    return RecordAlone(LightningRecord, content);
}
DocumentBuilder::Bytes FogRecordBytes(const FogContent& content) { return RecordAlone(FogRecord, content); }
DocumentBuilder::Bytes GrassRecordBytes(const GrassContent& content) { return RecordAlone(GrassRecord, content); }
