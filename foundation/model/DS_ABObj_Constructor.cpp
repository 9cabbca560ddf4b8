#include "foundation/model/DS_ABObj_Constructor.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"

namespace {

const wchar_t* const ConstructorBaseName = L"DS_ABObj_Constructor";
constexpr int32_t ConstructorBaseVersion = 1;

} // namespace

void DS_ABObj_Constructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, ConstructorBaseName, ConstructorBaseVersion);
    archive->WriteString(name);
}

void ReadConstructorBase(ArchiveHandle& archive, DS_ABObj_Constructor& constructor)
{
    ReadObjectHeader(archive);
    archive->ReadString(constructor.name);
}
