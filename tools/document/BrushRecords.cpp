#include "tools/document/BrushRecords.h"

#include "tools/document/ObjectRecords.h"
#include "tools/document/ResourceRecords.h"
#include "res/resource.h"

namespace {

const int64_t FireEffect = IDR_EFFECT_FIRE;
const int64_t FlamePattern = 7;

} // namespace

DocumentBuilder& BrushBaseRecord(DocumentBuilder& builder, const BrushBaseContent& content)
{
    builder.Header(L"DS_FX_Constructor", content.version).UInt(content.speed).Int(content.backgroundFlag);
    GuidString(builder, content.mask);
    builder.String(content.maskName).Bool(content.maskFlag).Link(content.effectPath, content.effectStamp);
    if (content.version > 1)
        builder.UInt(content.scale);
    return ConstructorBaseRecord(builder, content.name);
}

FireContent::FireContent()
{
    base.effectStamp = FireEffect;
    base.name = L"Fire";
}

DocumentBuilder& FireRecord(DocumentBuilder& builder, const FireContent& content)
{
    builder.Header(L"DS_FireFX", content.version);
    if (content.version > 1) {
        for (const auto& corner : content.corners)
            builder.Float(corner[0]).Float(corner[1]).Float(corner[2]);
        builder.Int(content.firstColour).Int(content.secondColour).Int(content.intSetting);
        builder.Link(content.patternPath, content.patternStamp).Link(content.noisePath, content.noiseStamp);
        builder.Int(content.secondIntSetting).UInt(content.density).UInt(content.brightness).UInt(content.repeat);
    }
    return BrushBaseRecord(builder, content.base);
}

DocumentBuilder::Bytes FireRecordBytes(const FireContent& content)
{
    return RecordAlone(FireRecord, content);
}

FlameLightContent::FlameLightContent() { fire.patternStamp = FlamePattern; }

DocumentBuilder& FlameLightRecord(DocumentBuilder& builder, const FlameLightContent& content)
{
    builder.Header(L"DS_FlameLight", content.version)
        .Int(content.fireSwitch)
        .Int(content.distortionSwitch)
        .UInt(content.flameDrop);
    if (content.version < 2)
        builder.UInt(content.fireSpeed);
    builder.Link(content.bumpPath, content.bumpStamp).Link(content.effectPath, content.effectStamp);
    builder.UInt(content.distortionSpeed).UInt(content.strength).UInt(content.bumpScale);
    if (content.version < 2)
        builder.Link(content.fire.patternPath, content.fire.patternStamp)
            .Link(content.fire.noisePath, content.fire.noiseStamp);
    else
        FireRecord(builder, content.fire);
    return Light2DRecord(builder, content.base);
}

DocumentBuilder::Bytes FlameLightRecordBytes(const FlameLightContent& content)
{
    return RecordAlone(FlameLightRecord, content);
}
