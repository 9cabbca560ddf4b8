#include "scene/brushes/DS_BackgroundCopy.h"

#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "res/resource.h"

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_BackgroundCopy";
const int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t BackgroundCopyEffect = IDR_EFFECT_BACKGROUNDCOPY;

} // namespace

DS_BackgroundCopy::DS_BackgroundCopy() : verticalMirror(0), horizontalMirror(0)
{
    effectLink.value = FileKey{CommonModule, BackgroundCopyEffect};
}

DS_BackgroundCopy::DS_BackgroundCopy(const DS_BackgroundCopy& other)
    : DS_FX_Constructor(other), rectangle(other.rectangle), verticalMirror(other.verticalMirror),
      horizontalMirror(other.horizontalMirror), effectParameters(other.effectParameters)
{
}

DS_BackgroundCopy::~DS_BackgroundCopy() = default;

void DS_BackgroundCopy::Read(ArchiveHandle& archive, int32_t /*version*/)
{
    rectangle.Read(archive);
    ReadStoredInt(archive, verticalMirror);
    ReadStoredInt(archive, horizontalMirror);
    ReadBrushBase(archive);
}

void DS_BackgroundCopy::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    rectangle.Write(archive);
    WriteInt(archive, verticalMirror);
    WriteInt(archive, horizontalMirror);
    DS_FX_Constructor::Write(archive);
}

DS_FX_Constructor* DS_BackgroundCopy::Clone() const { return new DS_BackgroundCopy(*this); }

void DS_BackgroundCopy::LookUpParameters()
{
    DS_FX_Constructor::LookUpParameters();
    LookUpEffectParameters(effect.Get(), {&effectParameters.offset});
}

void DS_BackgroundCopy::Apply(DS_2D_Light& layer)
{
    const int width = layer.GetPictureWidth();
    const int height = layer.GetPictureHeight();
    // Without a picture the shift would be infinite; nothing is drawn then.
    if (!WillDraw(layer))
        return;
    float offset[2] = {static_cast<float>(rectangle.pointX.value / static_cast<double>(width)),
                       static_cast<float>(rectangle.pointY.value / static_cast<double>(height))};
    if (verticalMirror.value != 0)
        offset[1] += 1.0f;
    if (horizontalMirror.value != 0)
        offset[0] += 1.0f;
    effect->SetFloatArray(effectParameters.offset.Handle(), offset, 2);
    ApplyCommonEffectParameters(layer);
}
