#include "scene/brushes/DS_ExpandFX.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "foundation/render/PictureMapping.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "res/resource.h"

#include <cmath>

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_ExpandFX";
const int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t ExpandEffect = IDR_EFFECT_EXPAND;

const int TriangleMode = 0;

// -1 to 1 and back over 2π: rises through the first half of the period,
// falls through the second.
float TriangleWave(float time)
{
    const float x = static_cast<float>(static_cast<double>(time) / TwoPiToEightFigures);
    float f = x - std::floor(x);
    if (f > 0.5f)
        f = 1.0f - f;
    return static_cast<float>((f - 0.25f) * 4.0);
}

} // namespace

DS_ExpandFX::DS_ExpandFX() : mode(TriangleMode)
{
    SetScaled(expansion, 50, 0.005f, 0.0f);
    SetScaled(contraction, 0, 0.005f, 0.0f);
    SetScaled(speed, 50, 0.02f, 0.0f);
    effectLink.value = FileKey{CommonModule, ExpandEffect};
}

DS_ExpandFX::DS_ExpandFX(const DS_ExpandFX& other)
    : DS_CentralBased(other), expansion(other.expansion), contraction(other.contraction), mode(other.mode),
      current(other.current), effectParameters(other.effectParameters)
{
}

DS_ExpandFX::~DS_ExpandFX() = default;

void DS_ExpandFX::Read(ArchiveHandle& archive, int32_t /*version*/)
{
    ReadScaledValue(archive, expansion);
    ReadScaledValue(archive, contraction);
    ReadStoredInt(archive, mode);
    ReadCentralBase(archive);
}

void DS_ExpandFX::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteScaledValue(archive, expansion);
    WriteScaledValue(archive, contraction);
    WriteInt(archive, mode);
    DS_CentralBased::Write(archive);
}

DS_FX_Constructor* DS_ExpandFX::Clone() const { return new DS_ExpandFX(*this); }

void DS_ExpandFX::LookUpParameters()
{
    DS_CentralBased::LookUpParameters();
    LookUpEffectParameters(effect.Get(), {&effectParameters.amplitude, &effectParameters.center});
}

void DS_ExpandFX::Update(float t)
{
    DS_FX_Constructor::Update(t);
    const float time = Time();
    const float e = expansion.result;
    const float c = contraction.result;
    const float halfSum = static_cast<float>((e + c) * 0.5);
    const float halfDifference = static_cast<float>((e - c) * 0.5);
    const float w = mode.value != TriangleMode ? static_cast<float>(std::sin(static_cast<double>(time)))
                                               : TriangleWave(time);
    current = w * halfSum + halfDifference;
}

void DS_ExpandFX::Apply(DS_2D_Light& layer)
{
    // The picture mapping places the centre; a layer that has not published
    // one yet has its own picture size.
    int width = CurrentPictureMapping.pictureWidth;
    int height = CurrentPictureMapping.pictureHeight;
    if (width <= 0 || height <= 0) {
        width = layer.GetPictureWidth();
        height = layer.GetPictureHeight();
    }
    // Without a picture the centre would be infinite; nothing is drawn then.
    if (!effect || width <= 0 || height <= 0)
        return;
    SettleDefaultCentre(width, height);
    const float amplitudes[2] = {current > 0.0f ? current : 0.0f, current > 0.0f ? 0.0f : std::fabs(current)};
    effect->SetFloatArray(effectParameters.amplitude.Handle(), amplitudes, 2);
    const float middle[2] = {static_cast<float>(centre.value.x / static_cast<double>(width)),
                             static_cast<float>(centre.value.y / static_cast<double>(height))};
    effect->SetFloatArray(effectParameters.center.Handle(), middle, 2);
    ApplyCommonEffectParameters(layer);
}
