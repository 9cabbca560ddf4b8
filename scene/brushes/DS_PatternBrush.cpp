#include "scene/brushes/DS_PatternBrush.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "foundation/resources/DS_DocResManager.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "res/resource.h"

#include <d3dx9math.h>

#include <algorithm>

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_PatternBrush";
const wchar_t* const WrapperRecordName = L"DS_PatternBrushC";
const int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t PatternEffect = IDR_EFFECT_PATTERN;

const double HalfTurnDegrees = 180.0;

} // namespace

DS_PatternBrush::DS_PatternBrush() : verticalMirror(0), horizontalMirror(0), rotation(0u)
{
    SetScaled(speed, 50, 0.02f, 0.0f);
    effectLink.value = FileKey{CommonModule, PatternEffect};
    SetScaled(zoom, 100, 0.01f, 0.0f);
    SetScaled(offsetX, 0, -0.01f, 0.0f);
    SetScaled(offsetY, 0, 0.01f, 0.0f);
}

DS_PatternBrush::DS_PatternBrush(const DS_PatternBrush& other)
    : DS_FX_Constructor(other), patternLink(), verticalMirror(other.verticalMirror),
      horizontalMirror(other.horizontalMirror), rotation(other.rotation), zoom(other.zoom),
      offsetX(other.offsetX), offsetY(other.offsetY), frames(other.frames), frameIndex(other.frameIndex),
      frameStart(other.frameStart), effectParameters(other.effectParameters)
{
    patternLink.value = other.patternLink.value;
}

DS_PatternBrush::~DS_PatternBrush() = default;

void DS_PatternBrush::Read(ArchiveHandle& archive, int32_t /*version*/)
{
    ReadFileLink(archive, patternLink);
    ReadStoredInt(archive, verticalMirror);
    ReadStoredInt(archive, horizontalMirror);
    ReadStoredUInt(archive, rotation);
    ReadScaledValue(archive, zoom);
    ReadScaledValue(archive, offsetX);
    ReadScaledValue(archive, offsetY);
    ReadBrushBase(archive);
}

void DS_PatternBrush::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    if (CurrentResManager)
        CurrentResManager->StoreImageLink(patternLink);
    WriteFileLink(patternLink, archive);
    WriteInt(archive, verticalMirror);
    WriteInt(archive, horizontalMirror);
    WriteUInt(archive, rotation);
    WriteScaledValue(archive, zoom);
    WriteScaledValue(archive, offsetX);
    WriteScaledValue(archive, offsetY);
    DS_FX_Constructor::Write(archive);
}

DS_FX_Constructor* DS_PatternBrush::Clone() const { return new DS_PatternBrush(*this); }

void DS_PatternBrush::LookUpParameters()
{
    DS_FX_Constructor::LookUpParameters();
    LookUpEffectParameters(effect.Get(), {&effectParameters.pattern, &effectParameters.scale, &effectParameters.offset,
                            &effectParameters.coordTransf});
}

void DS_PatternBrush::BindResources(IDirect3DTexture9* maskTexture)
{
    DS_FX_Constructor::BindResources(maskTexture);
    if (CurrentResManager) {
        // A module's pattern is always an image list, even of one frame.
        if (patternLink.GetExtension() == L".dll")
            frames = CurrentResManager->GetModuleImageList(patternLink);
        else
            frames = CurrentResManager->GetLinkTextures(patternLink);
    }
    frameIndex = 0;
}

std::size_t DS_PatternBrush::AnimatedFrameCount() const
{
    // An image list keeps its delay and picture counts apart: stepping by the
    // delays alone could run past the pictures.
    return std::min(frames.delays.size(), frames.textures.size());
}

void DS_PatternBrush::Update(float t)
{
    DS_FX_Constructor::Update(t);
    const float now = Time();
    if (now - frameStart < 0.0f)
        frameStart = now;
    const std::size_t count = AnimatedFrameCount();
    if (count == 0)
        return;
    if (frameIndex >= count)
        frameIndex = 0;
    if (frames.delays[frameIndex] < now - frameStart) {
        frameStart = now;
        frameIndex = static_cast<uint32_t>((frameIndex + 1) % count);
    }
}

bool DS_PatternBrush::WillDraw(DS_2D_Light& layer) const
{
    return frames.width != 0 && frames.height != 0 && DS_FX_Constructor::WillDraw(layer);
}

void DS_PatternBrush::Apply(DS_2D_Light& layer)
{
    const int pictureWidth = layer.GetPictureWidth();
    const int pictureHeight = layer.GetPictureHeight();
    const UINT w = frames.width;
    const UINT h = frames.height;
    // Without a pattern (or a picture to cover) there is nothing to tile, and
    // the tiling below would divide by zero.
    if (!WillDraw(layer))
        return;

    if (!frames.textures.empty())
        effect->SetTexture(effectParameters.pattern.Handle(), frames.Frame(frameIndex));

    const float patternScale[2] = {static_cast<float>(static_cast<double>(w) / static_cast<double>(h)), 1.0f};
    effect->SetFloatArray(effectParameters.scale.Handle(), patternScale, 2);
    const float offset[2] = {offsetX.result, offsetY.result};
    effect->SetFloatArray(effectParameters.offset.Handle(), offset, 2);

    const double z = std::max(zoom.result, SmallestPatternZoom);
    float sx = static_cast<float>(static_cast<double>(pictureWidth) / (static_cast<double>(w) * z));
    float sy = static_cast<float>(static_cast<double>(pictureHeight) / (static_cast<double>(h) * z));
    if (horizontalMirror.value != 0)
        sx = -sx;
    if (verticalMirror.value != 0)
        sy = -sy;
    const float r = static_cast<float>(static_cast<int32_t>(rotation.value) * PiToEightFigures / HalfTurnDegrees);
    D3DXMATRIX scaling, turning, transform;
    D3DXMatrixScaling(&scaling, sx, sy, 1.0f);
    D3DXMatrixRotationZ(&turning, r);
    D3DXMatrixMultiply(&transform, &scaling, &turning);
    const float coordinates[4] = {transform._11, transform._12, transform._21, transform._22};
    effect->SetFloatArray(effectParameters.coordTransf.Handle(), coordinates, 4);

    ApplyCommonEffectParameters(layer);
}

void DS_PatternBrushC::Read(ArchiveHandle& archive, int32_t /*version*/)
{
    const ObjectHeader nested = ReadObjectHeader(archive);
    DS_PatternBrush::Read(archive, nested.version);
}

void DS_PatternBrushC::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, WrapperRecordName, WrittenVersion);
    DS_PatternBrush::Write(archive);
}
