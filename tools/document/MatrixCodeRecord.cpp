#include "tools/document/MatrixCodeRecord.h"

DocumentBuilder& MatrixCodeRecord(DocumentBuilder& builder, const MatrixCodeContent& content)
{
    builder.Header(L"DS_MatrixCodeLight", content.version);
    builder.UInt(content.cellSize);
    builder.UInt(content.density);
    builder.UInt(content.frozenCount);
    builder.Int(content.flicker);
    builder.Int(content.backgroundMode);
    builder.Int(content.streamMode);
    builder.Int(static_cast<int32_t>(content.trailColour));
    builder.Int(static_cast<int32_t>(content.headColour));
    builder.UInt(content.brightness);
    if (content.version >= 2)
        builder.Link(content.glyphPath, content.glyphStamp);
    return Light2DRecord(builder, content.base);
}

DocumentBuilder::Bytes MatrixCodeRecordBytes(const MatrixCodeContent& content)
{
    return RecordAlone(MatrixCodeRecord, content);
}
