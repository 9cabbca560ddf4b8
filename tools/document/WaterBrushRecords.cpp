#include "tools/document/WaterBrushRecords.h"

#include "res/resource.h"

namespace {

const int64_t LightEffect = IDR_EFFECT_LIGHT;
const int64_t WavesEffect = IDR_EFFECT_WAVES;
const int64_t UnderwaterEffect = IDR_EFFECT_UNDERWATER;
const int64_t WaterEffect = IDR_EFFECT_WATER;

} // namespace

WaterContent::WaterContent()
{
    base.effectStamp = WaterEffect;
    base.scale = 30;
    base.name = L"Water";
}

DocumentBuilder& WaterRecord(DocumentBuilder& builder, const WaterContent& content)
{
    builder.Header(L"DS_WaterFX", 1)
        .UInt(content.shape)
        .UInt(content.ripple)
        .UInt(content.drift)
        .UInt(content.wave)
        .UInt(content.angle)
        .UInt(content.shadows)
        .UInt(content.height)
        .Int(content.colour)
        .Link(content.bumpPath, content.bumpStamp);
    return BrushBaseRecord(builder, content.base);
}

DocumentBuilder::Bytes WaterRecordBytes(const WaterContent& content) { return RecordAlone(WaterRecord, content); }

WavesContent::WavesContent()
{
    base.effectStamp = WavesEffect;
    base.speed = 25;
    base.name = L"Wave brush";
}

DocumentBuilder& WavesRecord(DocumentBuilder& builder, const WavesContent& content)
{
    builder.Header(L"DS_WavesFX", 1)
        .UInt(content.amplitude)
        .UInt(content.wavelength)
        .UInt(content.angle)
        .Int(content.normalMode);
    return BrushBaseRecord(builder, content.base);
}

DocumentBuilder::Bytes WavesRecordBytes(const WavesContent& content) { return RecordAlone(WavesRecord, content); }

LightBrushContent::LightBrushContent()
{
    base.effectStamp = LightEffect;
    base.speed = 40;
    base.name = L"Light";
}

DocumentBuilder& LightBrushRecord(DocumentBuilder& builder, const LightBrushContent& content)
{
    builder.Header(L"DS_LightFX", 1).UInt(content.strength).Int(content.mode);
    return BrushBaseRecord(builder, content.base);
}

DocumentBuilder::Bytes LightBrushRecordBytes(const LightBrushContent& content)
{
    return RecordAlone(LightBrushRecord, content);
}

UnderwaterContent::UnderwaterContent()
{
    base.effectStamp = UnderwaterEffect;
    base.speed = 25;
    base.maskFlag = false;
    base.name = L"";
}

DocumentBuilder& UnderwaterRecord(DocumentBuilder& builder, const UnderwaterContent& content)
{
    builder.Header(L"DS_UnderwaterFX", 1).UInt(content.amplitude).UInt(content.wavelength);
    return BrushBaseRecord(builder, content.base);
}

DocumentBuilder& UnderwaterLayerRecord(DocumentBuilder& builder, const UnderwaterLayerContent& content)
{
    builder.Header(L"FakeUndervater", content.version);
    if (content.version == 1)
        builder.UInt(content.speed);
    else
        UnderwaterRecord(builder, content.water);
    return Light2DRecord(builder, content.base);
}

DocumentBuilder::Bytes UnderwaterLayerRecordBytes(const UnderwaterLayerContent& content)
{
    return RecordAlone(UnderwaterLayerRecord, content);
}
