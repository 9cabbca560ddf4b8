#include "tools/document/GlowRecords.h"

DocumentBuilder& GlowArcRecord(DocumentBuilder& builder, const GlowArcContent& content)
{
    builder.Header(L"DS_DischargeFXConstructor", 1);
    for (float v : content.start)
        builder.Float(v);
    for (float v : content.end)
        builder.Float(v);
    builder.UInt(content.jitter).Int(content.glowVariant).UInt(content.flicker).UInt(content.morphSpeed);
    builder.Header(L"DS_GlowEffectCtrl", 1).Int(static_cast<int32_t>(content.glowColour)).UInt(content.glowStrength);
    builder.Header(L"DS_FXParticleSystemCtrl", 1).Link(content.effectPath, content.effectStamp);
    return BaseSpritePropRecord(builder, content.sprite);
}

DocumentBuilder::Bytes GlowArcRecordBytes(const GlowArcContent& content)
{
    return RecordAlone(GlowArcRecord, content);
}
