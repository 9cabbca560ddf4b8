#include "objects/particles/DS_GlowEffectCtrl.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/resources/FirstLinkTexture.h"
#include "objects/particles/DS_GlowingObj.h"

#include <memory>
#include <new>

namespace {

const wchar_t* const RecordName = L"DS_GlowEffectCtrl";
constexpr int32_t WrittenVersion = 1;

constexpr unsigned int FullStrength = 100;
constexpr float StrengthScale = 0.01f;

} // namespace

DS_GlowEffectCtrl::DS_GlowEffectCtrl() { SetScaled(glowStrength, FullStrength, StrengthScale, 0.0f); }

void DS_GlowEffectCtrl::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    int32_t colour = static_cast<int32_t>(glowColour.value);
    archive->WriteInt(colour);
    WriteScaledValue(archive, glowStrength);
    DS_FXParticleSystemCtrl::Write(archive);
}

void DS_GlowEffectCtrl::Read(ArchiveHandle& archive, int32_t)
{
    int32_t colour = 0;
    archive->ReadInt(colour);
    glowColour.value = static_cast<uint32_t>(colour);
    ReadScaledValue(archive, glowStrength);
    const ObjectHeader effectRecord = ReadObjectHeader(archive);
    DS_FXParticleSystemCtrl::Read(archive, effectRecord.version);
}

DS_ABObj* DS_GlowEffectCtrl::CreateObject()
{
    // Running out of memory here leaves the slide without this one object
    // rather than ending the show.
    try {
        std::unique_ptr<DS_ParticleSystemCtrl> clone(Clone());
        if (!dynamic_cast<DS_GlowEffectCtrl*>(clone.get()))
            return nullptr;
        // The object is allocated before the clone is handed over.
        return new DS_GlowingObj(static_cast<DS_GlowEffectCtrl*>(clone.release()));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void DS_GlowEffectCtrl::LoadEffect()
{
    DS_FXParticleSystemCtrl::LoadEffect();
    LoadTextures();
}

void DS_GlowEffectCtrl::LoadTextures()
{
    glowTexture = GetFirstLinkTexture(secondImage).texture;
    sharpTexture = GetFirstLinkTexture(mainImage).texture;
}
