#include "objects/models/DS_3D_in_2D_array_Constructor.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "objects/models/DS_3D_in_2D_array.h"

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_3D_in_2D_array_Constructor";
constexpr int32_t WrittenVersion = 1;

} // namespace

DS_3D_in_2D_array_Constructor::~DS_3D_in_2D_array_Constructor() = default;

void DS_3D_in_2D_array_Constructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    ds_string copyOfName = name;
    archive->WriteString(copyOfName);
    WriteUInt(archive, count);
    archive->WriteResourceRecord(meshRecord);
    archive->WriteResourceRecord(textureRecord);
    for (const MediaParamT<unsigned int>* setting :
         {&motion.size, &motion.speed, &motion.driftAmount, &motion.driftChangeRate, &motion.tumble})
        WriteUInt(archive, *setting);
    uint32_t angle = static_cast<uint32_t>(motion.angle);
    archive->WriteUInt(angle);
    DS_ABObj_Constructor::Write(archive);
}

void DS_3D_in_2D_array_Constructor::Read(ArchiveHandle& archive, int32_t)
{
    // A second copy of the name; the base record's, read last, wins.
    archive->ReadString(name);
    archive->ReadUInt(count.value);
    archive->ReadResourceRecord(meshRecord);
    archive->ReadResourceRecord(textureRecord);
    for (MediaParamT<unsigned int>* setting :
         {&motion.size, &motion.speed, &motion.driftAmount, &motion.driftChangeRate, &motion.tumble})
        archive->ReadUInt(setting->value);
    uint32_t angle = 0;
    archive->ReadUInt(angle);
    motion.SetDirection(angle);
    ReadConstructorBase(archive, *this);
}

DS_ABObj* DS_3D_in_2D_array_Constructor::CreateObject()
{
    return new DS_3D_in_2D_array(new DS_3D_in_2D_array_Constructor(*this));
}
