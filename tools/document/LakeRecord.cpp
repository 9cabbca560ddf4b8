#include "tools/document/LakeRecord.h"

#include "tools/document/ResourceRecords.h"

DocumentBuilder& LakeRecord(DocumentBuilder& builder, const LakeContent& content)
{
    builder.Header(L"FakeLake2D", content.version);
    if (content.version > 1) {
        builder.UInt(content.bumpTiling)
            .UInt(content.rippleSpeed)
            .UInt(content.lakeFraction)
            .UInt(content.bumpFade)
            .UInt(content.tintStrength)
            .UInt(content.tintFalloff)
            .UInt(content.bumpAmplitude)
            .UInt(content.horizonBand)
            .Int(content.reflectionSizeExponent)
            .UInt(content.tintColor);
    }
    GuidString(builder, content.bumpKey).String(content.bumpName).Bool(content.bumpFlag);
    return Light2DRecord(builder, content.light);
}

DocumentBuilder::Bytes LakeRecordBytes(const LakeContent& content)
{
    return RecordAlone(LakeRecord, content);
}
