#include "tools/document/PatternBrushRecords.h"

#include "res/resource.h"

namespace {

const int64_t PatternEffect = IDR_EFFECT_PATTERN;
const int64_t BackgroundCopyEffect = IDR_EFFECT_BACKGROUNDCOPY;

} // namespace

PatternBrushContent::PatternBrushContent()
{
    base.effectStamp = PatternEffect;
    base.name = L"Pattern";
}

DocumentBuilder& PatternBrushRecord(DocumentBuilder& builder, const PatternBrushContent& content)
{
    builder.Header(L"DS_PatternBrush", 1).Link(content.patternPath, content.patternStamp);
    builder.Int(content.verticalMirror).Int(content.horizontalMirror).UInt(content.rotation);
    builder.UInt(content.zoom).UInt(content.offsetX).UInt(content.offsetY);
    return BrushBaseRecord(builder, content.base);
}

DocumentBuilder::Bytes PatternBrushRecordBytes(const PatternBrushContent& content)
{
    return RecordAlone(PatternBrushRecord, content);
}

DocumentBuilder::Bytes PatternBrushCRecordBytes(const PatternBrushContent& content)
{
    DocumentBuilder builder;
    builder.Header(L"DS_PatternBrushC", 1);
    PatternBrushRecord(builder, content);
    return builder.Take();
}

BackgroundCopyContent::BackgroundCopyContent()
{
    base.speed = 0;
    base.effectStamp = BackgroundCopyEffect;
    base.name = L"Background copy";
}

DocumentBuilder::Bytes BackgroundCopyRecordBytes(const BackgroundCopyContent& content)
{
    DocumentBuilder builder;
    builder.Header(L"DS_BackgroundCopy", 1);
    builder.Long(content.left).Long(content.right).Long(content.top).Long(content.bottom);
    builder.Long(content.pointX).Long(content.pointY);
    builder.Int(content.verticalMirror).Int(content.horizontalMirror);
    BrushBaseRecord(builder, content.base);
    return builder.Take();
}
