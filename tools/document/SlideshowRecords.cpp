#include "tools/document/SlideshowRecords.h"

#include <stdexcept>

namespace {

void RecordList(DocumentBuilder& builder, const std::vector<DocumentBuilder::Bytes>& records)
{
    builder.Int(static_cast<int32_t>(records.size()));
    for (const DocumentBuilder::Bytes& record : records)
        builder.Raw(record);
}

} // namespace

DocumentBuilder& DocumentVersionString(DocumentBuilder& builder, const std::wstring& text)
{
    return builder.String(text);
}

DocumentBuilder& SlideShowRecord(DocumentBuilder& builder, const SlideShowContent& content)
{
    builder.Header(L"DS_SlideShow_Light", 1).Int(static_cast<int32_t>(content.slides.size()));
    for (const SlideContent& slide : content.slides)
        SlideContainerRecord(builder, slide);
    builder.Int(static_cast<int32_t>(content.audioFiles.size()));
    for (const AudioFileContent& audio : content.audioFiles)
        AudioFileRecord(builder, audio);
    return builder;
}

DocumentBuilder& SlideContainerRecord(DocumentBuilder& builder, const SlideContent& content)
{
    if (content.version <= 1 && !content.soundObjects.empty())
        throw std::invalid_argument("a version 1 slide record cannot hold sound objects");
    builder.Header(L"DS_SlideContainer", content.version)
        .UInt(content.fadeIn)
        .UInt(content.fadeOut)
        .UInt(content.display)
        .Long(content.tag)
        .String(content.name)
        .Raw(content.layer);
    RecordList(builder, content.visualObjects);
    if (content.version > 1)
        RecordList(builder, content.soundObjects);
    return builder;
}

DocumentBuilder& AudioFileRecord(DocumentBuilder& builder, const AudioFileContent& content)
{
    return builder.Header(L"DS_AudioFile", 1).String(content.name).FileRecord(content.content, content.path);
}
