#include "scene/slideshow/DS_AudioFile.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"

namespace {

const wchar_t* const RecordName = L"DS_AudioFile";
const int32_t WrittenVersion = 1;

} // namespace

void DS_AudioFile::Read(ArchiveHandle& archive)
{
    archive->ReadString(name);
    archive->ReadFileRecord(file);
}

void DS_AudioFile::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    archive->WriteString(name);
    archive->WriteFileRecord(file);
}

std::unique_ptr<DS_AudioFile> ReadAudioFile(ArchiveHandle& archive)
{
    ReadObjectHeader(archive);
    auto audio = std::make_unique<DS_AudioFile>();
    audio->Read(archive);
    return audio;
}
