#include "tools/document/WaterRingRecord.h"

DocumentBuilder& WaterRingRecord(DocumentBuilder& builder, const WaterRingContent& content)
{
    builder.Header(L"DS_WaterRingLight", content.version);
    if (content.version >= 2) {
        builder.UInt(content.waveSpeed)
            .UInt(content.rowDensity)
            .UInt(content.columnDensity)
            .UInt(content.dropStrength)
            .UInt(content.damping)
            .UInt(content.refractionDepth)
            .UInt(content.dropRate)
            .UInt(content.shine)
            .UInt(content.shinePower);
    }
    builder.Long(content.mode);
    return Light2DRecord(builder, content.light);
}

DocumentBuilder::Bytes WaterRingRecordBytes(const WaterRingContent& content)
{
    return RecordAlone(WaterRingRecord, content);
}
