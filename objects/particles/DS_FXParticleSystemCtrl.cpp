#include "objects/particles/DS_FXParticleSystemCtrl.h"

#include "foundation/archive/ObjectHeader.h"
#include "foundation/resources/DS_DocResManager.h"

namespace {

const wchar_t* const RecordName = L"DS_FXParticleSystemCtrl";
constexpr int32_t WrittenVersion = 1;

} // namespace

void DS_FXParticleSystemCtrl::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteFileLink(effectLink, archive);
    DS_BaseSpriteProp::Write(archive);
}

void DS_FXParticleSystemCtrl::Read(ArchiveHandle& archive, int32_t)
{
    ReadFileLink(archive, effectLink);
    ReadParticleSystemBase(archive, *this);
}

void DS_FXParticleSystemCtrl::LoadEffect()
{
    effect.Release();
    if (CurrentResManager)
        effect = CurrentResManager->GetLinkEffect(effectLink);
}
