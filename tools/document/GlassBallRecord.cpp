#include "tools/document/GlassBallRecord.h"

DocumentBuilder& GlassBallRecord(DocumentBuilder& builder, const GlassBallContent& content)
{
    builder.Header(L"DS_GlassBallLight", content.version);
    builder.Link(content.overlay1Path, content.overlay1Stamp);
    builder.Link(content.overlay2Path, content.overlay2Stamp);
    builder.Link(content.shadowPath, content.shadowStamp);
    builder.Link(content.backgroundPath, content.backgroundStamp);
    builder.UInt(content.motionSpeed);
    builder.Point(content.x, content.y);
    builder.UInt(content.size);
    builder.UInt(content.depth);
    builder.Int(content.overlay1);
    builder.Int(content.overlay2);
    builder.Int(content.shadow);
    builder.Int(content.pictureBackground);
    builder.Int(content.motionMode);
    builder.Int(static_cast<int32_t>(content.topColour));
    builder.Int(static_cast<int32_t>(content.bottomColour));
    return Light2DRecord(builder, content.base);
}

DocumentBuilder::Bytes GlassBallRecordBytes(const GlassBallContent& content)
{
    return RecordAlone(GlassBallRecord, content);
}
