#include "objects/particles/DS_BaseSpriteProp.h"

#include "foundation/core/SaverError.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/TextureSet.h"
#include "objects/particles/ParticleItem.h"

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_BaseSpriteProp";
constexpr int32_t WrittenVersion = 6;
constexpr int32_t FirstReadableVersion = 1;
// Versions 1 and 2 carried the view's speed here as well.
constexpr int32_t LastVersionWithSpeed = 2;
constexpr int32_t FirstVersionWithLinks = 2;
constexpr int32_t FirstVersionWithImageSource = 4;
constexpr int32_t FirstVersionWithFlips = 5;
constexpr int32_t FirstVersionWithStaticFlag = 6;

// Transparency 0 to 100 percent becomes the maximal alpha 255 to 0.
constexpr float TransparencyScale = -2.55f;
constexpr float TransparencyOffset = 255.0f;

constexpr int32_t ModuleImageList = 1;

} // namespace

DS_BaseSpriteProp::DS_BaseSpriteProp()
{
    transparency.scale = TransparencyScale;
    transparency.offset = TransparencyOffset;
    transparency.Recompute();
}

DS_BaseSpriteProp::DS_BaseSpriteProp(const DS_BaseSpriteProp& other)
    : DS_ViewObjCtrl(other), count(other.count), baseSize(other.baseSize), transparency(other.transparency),
      additive(other.additive), colour(other.colour.value), phaseSpeed(other.phaseSpeed),
      phaseMin(other.phaseMin), phaseMax(other.phaseMax), sizeFactorMin(other.sizeFactorMin),
      sizeFactorMax(other.sizeFactorMax), mainImage(other.mainImage), secondImage(other.secondImage),
      reservedCount(other.reservedCount), reservedValue(other.reservedValue), frameCount(other.frameCount),
      frameRate(other.frameRate), frameGrid(other.frameGrid), imageSource(other.imageSource),
      verticalFlip(other.verticalFlip), horizontalFlip(other.horizontalFlip), staticFlag(other.staticFlag),
      legacyDelays(other.legacyDelays), legacyImages(other.legacyImages),
      legacySecondImage(other.legacySecondImage)
{
}

DS_BaseSpriteProp::~DS_BaseSpriteProp() = default;

void DS_BaseSpriteProp::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteBody(archive);
}

void DS_BaseSpriteProp::InitParticle(ParticleItem&) {}

void DS_BaseSpriteProp::UpdateParticle(ParticleItem&) {}

unsigned int DS_BaseSpriteProp::NextFrameIndex(unsigned int index)
{
    return frameCount ? (index + 1) % frameCount : 0u;
}

void DS_BaseSpriteProp::ReadBody(ArchiveHandle& archive, int32_t version)
{
    // A record carries no length: one whose layout is not known cannot be
    // read past, so the document cannot be read either.
    if (version < FirstReadableVersion || version > WrittenVersion)
        throw MediaLoadError("a particle system's sprite record has a version its reader does not know");
    DS_ViewObjCtrl::ReadBody(archive);
    archive->ReadUInt(count.value);
    if (version <= LastVersionWithSpeed)
        archive->ReadUInt(speed.value);
    archive->ReadUInt(baseSize.value);
    uint32_t transparencyValue = 0;
    archive->ReadUInt(transparencyValue);
    // The maximal alpha must follow the value.
    transparency.SetValue(transparencyValue, nullptr);
    ReadStoredInt(archive, additive);
    int32_t colorref = 0;
    archive->ReadInt(colorref);
    colour.value = static_cast<uint32_t>(colorref);
    archive->ReadFloat(phaseSpeed);
    archive->ReadFloat(phaseMin);
    archive->ReadFloat(phaseMax);
    archive->ReadFloat(sizeFactorMin);
    archive->ReadFloat(sizeFactorMax);

    if (version < FirstVersionWithLinks) {
        uint32_t images = 0;
        archive->ReadUInt(images);
        // Each record takes bytes, so a count beyond the document's end
        // stops at the end with the archive's failure.
        for (uint32_t i = 0; i < images; ++i)
            legacyImages.emplace_back(archive);
        archive->ReadResourceRecord(legacySecondImage);
    } else {
        ReadFileLink(archive, mainImage);
        ReadFileLink(archive, secondImage);
    }

    archive->ReadUInt(reservedCount);
    archive->ReadFloat(reservedValue);
    archive->ReadUInt(frameCount);
    archive->ReadFloat(frameRate);
    archive->ReadBool(frameGrid);
    if (version < FirstVersionWithLinks) {
        ReadFloatVector(archive, legacyDelays);
        return;
    }
    if (version >= FirstVersionWithImageSource)
        archive->ReadInt(imageSource);
    if (version >= FirstVersionWithFlips) {
        ReadStoredInt(archive, verticalFlip);
        ReadStoredInt(archive, horizontalFlip);
    }
    if (version >= FirstVersionWithStaticFlag)
        ReadStoredInt(archive, staticFlag);
}

void DS_BaseSpriteProp::WriteBody(ArchiveHandle& archive)
{
    DS_ViewObjCtrl::WriteBody(archive);
    WriteUInt(archive, count);
    WriteUInt(archive, baseSize);
    WriteUInt(archive, transparency);
    WriteInt(archive, additive);
    int32_t colorref = static_cast<int32_t>(colour.value);
    archive->WriteInt(colorref);
    archive->WriteFloat(phaseSpeed);
    archive->WriteFloat(phaseMin);
    archive->WriteFloat(phaseMax);
    archive->WriteFloat(sizeFactorMin);
    archive->WriteFloat(sizeFactorMax);
    WriteFileLink(mainImage, archive);
    WriteFileLink(secondImage, archive);
    archive->WriteUInt(reservedCount);
    archive->WriteFloat(reservedValue);
    archive->WriteUInt(frameCount);
    archive->WriteFloat(frameRate);
    archive->WriteBool(frameGrid);
    archive->WriteInt(imageSource);
    WriteInt(archive, verticalFlip);
    WriteInt(archive, horizontalFlip);
    WriteInt(archive, staticFlag);
}

void DS_BaseSpriteProp::ResolveLegacyImages()
{
    if (!mainImage.value.path.empty() || !CurrentResManager)
        return;
    // The links take their values quietly: nothing is bound to them yet.
    mainImage.value = CurrentResManager->MakeImageLinkFromList(legacyDelays, legacyImages).value;
    if (legacySecondImage.resourceId != 0)
        secondImage.value = CurrentResManager->MakeImageLink(legacySecondImage).value;
    legacyImages.clear();
    legacyDelays.clear();
}

TextureSet* DS_BaseSpriteProp::MainImageTextures() const
{
    if (!CurrentResManager)
        return nullptr;
    return imageSource == ModuleImageList ? &CurrentResManager->GetModuleImageList(mainImage)
                                          : &CurrentResManager->GetLinkTextures(mainImage);
}

float DS_BaseSpriteProp::MainImageAspect() const
{
    const TextureSet* set = MainImageTextures();
    return set ? set->aspect : 1.0f;
}

void DS_BaseSpriteProp::PulsePhase(ParticleItem& p)
{
    p.phase += step * p.phaseVelocity;
    if (p.phase < phaseMin) {
        InitParticle(p);
        p.phase = phaseMin;
        p.phaseVelocity = -p.phaseVelocity;
    } else if (p.phase > phaseMax) {
        p.phase = phaseMax;
        p.phaseVelocity = -p.phaseVelocity;
    }
    UpdateParticleColor(*this, p);
}

void ReadParticleSystemBase(ArchiveHandle& archive, DS_BaseSpriteProp& system)
{
    const ObjectHeader header = ReadObjectHeader(archive);
    system.ReadBody(archive, header.version);
}
