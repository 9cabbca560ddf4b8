#include "tools/document/MotionBrushRecords.h"

#include "res/resource.h"

namespace {

const int64_t MoveEffect = IDR_EFFECT_MOVE;
const int64_t ExpandEffect = IDR_EFFECT_EXPAND;

} // namespace

MoveContent::MoveContent()
{
    base.effectStamp = MoveEffect;
    base.name = L"Move";
}

DocumentBuilder::Bytes MoveRecordBytes(const MoveContent& content)
{
    DocumentBuilder builder;
    builder.Header(L"DS_MoveFX", 1).Int(content.mode);
    builder.Header(L"DS_DirectionBased", 1).UInt(content.amplitude).UInt(content.angle);
    BrushBaseRecord(builder, content.base);
    return builder.Take();
}

ExpandContent::ExpandContent()
{
    base.effectStamp = ExpandEffect;
    base.name = L"Expand";
}

DocumentBuilder::Bytes ExpandRecordBytes(const ExpandContent& content)
{
    DocumentBuilder builder;
    builder.Header(L"DS_ExpandFX", 1).UInt(content.expansion).UInt(content.contraction).Int(content.mode);
    builder.Header(L"DS_CentralBased", 1)
        .Float(content.centre[0])
        .Float(content.centre[1])
        .Float(content.centre[2]);
    BrushBaseRecord(builder, content.base);
    return builder.Take();
}
