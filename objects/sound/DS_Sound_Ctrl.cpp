#include "objects/sound/DS_Sound_Ctrl.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "objects/sound/DS_Sound.h"

#include <algorithm>

namespace {

const wchar_t* const RecordName = L"DS_Sound_Ctrl";
const int32_t WrittenVersion = 2;

// The settings run from 0 to 100; a document may hold anything, and
// DirectSound refuses values outside its own ranges.
const unsigned int LargestSetting = 100;
const LONG CentreBalance = 50;
const LONG VolumeStep = 50;
const LONG PanStep = 100;

LONG Clamped(unsigned int value) { return static_cast<LONG>(std::min(value, LargestSetting)); }

} // namespace

LONG DS_Sound_Ctrl::BufferVolume() const
{
    return (Clamped(volume.value) - static_cast<LONG>(LargestSetting)) * VolumeStep;
}

LONG DS_Sound_Ctrl::BufferPan() const { return (Clamped(balance.value) - CentreBalance) * PanStep; }

DS_ABObj* DS_Sound_Ctrl::CreateObject() { return new DS_Sound(Clone()); }

void DS_Sound_Ctrl::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    archive->WriteUInt(volume.value);
    archive->WriteUInt(balance.value);
    long modeValue = mode.value;
    archive->WriteLong(modeValue);
    archive->WriteUInt(minimumInterval.value);
    archive->WriteUInt(maximumInterval.value);
    DS_ABObj_Constructor::Write(archive);
}

void ReadSoundCtrl(ArchiveHandle& archive, DS_Sound_Ctrl& controller)
{
    ReadObjectHeader(archive);
    archive->ReadUInt(controller.volume.value);
    archive->ReadUInt(controller.balance.value);
    long modeValue = 0;
    archive->ReadLong(modeValue);
    controller.mode.value = static_cast<int>(modeValue);
    archive->ReadUInt(controller.minimumInterval.value);
    archive->ReadUInt(controller.maximumInterval.value);
    ReadConstructorBase(archive, controller);
}
