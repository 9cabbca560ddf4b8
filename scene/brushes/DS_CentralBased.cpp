#include "scene/brushes/DS_CentralBased.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/render/PictureMapping.h"

namespace {

const wchar_t* const RecordName = L"DS_CentralBased";
const int32_t WrittenVersion = 1;

D3DXVECTOR3 MiddleOf(int width, int height)
{
    return D3DXVECTOR3(static_cast<float>(width) * 0.5f, static_cast<float>(height) * 0.5f, 0.0f);
}

} // namespace

DS_CentralBased::DS_CentralBased()
    : centre(MiddleOf(CurrentPictureMapping.pictureWidth, CurrentPictureMapping.pictureHeight)),
      centreAwaitsPicture(CurrentPictureMapping.pictureWidth <= 0 || CurrentPictureMapping.pictureHeight <= 0)
{
}

DS_CentralBased::DS_CentralBased(const DS_CentralBased& other)
    : DS_FX_Constructor(other), centre(other.centre), centreAwaitsPicture(other.centreAwaitsPicture)
{
}

DS_CentralBased::~DS_CentralBased() = default;

void DS_CentralBased::SettleDefaultCentre(int width, int height)
{
    if (!centreAwaitsPicture || width <= 0 || height <= 0)
        return;
    centreAwaitsPicture = false;
    // A centre set by hand since the brush was made stays.
    if (centre.value != D3DXVECTOR3(0.0f, 0.0f, 0.0f))
        return;
    centre.SetValue(MiddleOf(width, height), nullptr);
}

void DS_CentralBased::ReadCentralBase(ArchiveHandle& archive)
{
    ReadObjectHeader(archive);
    D3DXVECTOR3 stored(0.0f, 0.0f, 0.0f);
    archive->ReadFloat(stored.x);
    archive->ReadFloat(stored.y);
    archive->ReadFloat(stored.z);
    centre.value = stored;
    centreAwaitsPicture = false;
    ReadBrushBase(archive);
}

void DS_CentralBased::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    D3DXVECTOR3 stored = centre.value;
    archive->WriteFloat(stored.x);
    archive->WriteFloat(stored.y);
    archive->WriteFloat(stored.z);
    DS_FX_Constructor::Write(archive);
}
