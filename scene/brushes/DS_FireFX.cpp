#include "scene/brushes/DS_FireFX.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/geometry/MeshBuffers.h"
#include "foundation/render/QuadGrid.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/ScreenQuad.h"
#include "foundation/geometry/IndexPatterns.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/FirstLinkTexture.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "res/resource.h"

namespace {

const wchar_t* const RecordName = L"DS_FireFX";
const int32_t WrittenVersion = 2;
const int32_t FirstVersionWithFields = 2;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t FireEffect = IDR_EFFECT_FIRE;
const int32_t DefaultPattern = 93;
const int32_t DefaultNoise = 8;

const unsigned long Yellow = 0x0000FFFF;
const unsigned long Red = 0x000000FF;

const int GridCells = 8;
const UINT GridVertices = (GridCells + 1) * (GridCells + 1);
// The smallest repeat the grid divides by.
const float SmallestRepeat = 0.01f;

// The three scroll speeds of the fire's layers.
const float Scroll1 = 1.3f;
const float Scroll2 = 2.1f;
const float Scroll3 = 2.3f;

// A COLORREF's channels (red in the low byte) from 0 to 1.
void ColourChannels(unsigned long colour, float rgb[3])
{
    for (int i = 0; i < 3; ++i)
        rgb[i] = static_cast<float>((colour >> (8 * i)) & 0xFF) / 255.0f;
}

void ReadColour(ArchiveHandle& archive, MediaColor& colour)
{
    int32_t value = 0;
    archive->ReadInt(value);
    colour.value = static_cast<unsigned long>(static_cast<uint32_t>(value));
}

void WriteColour(ArchiveHandle& archive, const MediaColor& colour)
{
    int32_t value = static_cast<int32_t>(static_cast<uint32_t>(colour.value));
    archive->WriteInt(value);
}

void AssignLink(DS_FileLink3& to, const DS_FileLink3& from)
{
    if (to.value.path == from.value.path && to.value.stamp == from.value.stamp)
        return;
    to.value = from.value;
    to.NotifyListeners(nullptr);
}

void StoreAndWriteLink(ArchiveHandle& archive, DS_ImageFileLink& link)
{
    if (CurrentResManager)
        CurrentResManager->StoreImageLink(link);
    WriteFileLink(link, archive);
}

} // namespace

DS_FireFX::DS_FireFX() : firstColour(Yellow), secondColour(Red), intSetting(0)
{
    SetScaled(speed, 50, 0.02f, 0.0f);
    effectLink.value = FileKey{CommonModule, FireEffect};
    patternLink.value = FileKey{CommonModule, DefaultPattern};
    noiseLink.value = FileKey{CommonModule, DefaultNoise};
    SetScaled(density, 100, 0.01f, -1.0f);
    SetScaled(brightness, 15, 0.02f, 0.0f);
    SetScaled(repeat, 100, 0.01f, 0.0f);
    grid.primitiveType = D3DPT_TRIANGLELIST;
}

DS_FireFX::DS_FireFX(const DS_FireFX& other)
    : DS_FX_Constructor(other), quad(other.quad), firstColour(other.firstColour.value),
      secondColour(other.secondColour.value), intSetting(other.intSetting.value), patternLink(),
      noiseLink(), secondIntSetting(other.secondIntSetting), density(other.density),
      brightness(other.brightness), repeat(other.repeat), patternTexture(other.patternTexture),
      noiseTexture(other.noiseTexture), grid(other.grid), gridColumns(other.gridColumns),
      gridRows(other.gridRows), effectParameters(other.effectParameters)
{
    patternLink.value = other.patternLink.value;
    noiseLink.value = other.noiseLink.value;
}

DS_FireFX& DS_FireFX::operator=(const DS_FireFX& other)
{
    if (this == &other)
        return *this;
    DS_FX_Constructor::operator=(other);
    for (int i = 0; i < MediaQuad::CornerCount; ++i)
        quad.corners[i].SetValue(other.quad.corners[i].value, nullptr);
    firstColour.SetValue(other.firstColour.value, nullptr);
    secondColour.SetValue(other.secondColour.value, nullptr);
    intSetting.SetValue(other.intSetting.value, nullptr);
    AssignLink(patternLink, other.patternLink);
    AssignLink(noiseLink, other.noiseLink);
    secondIntSetting.SetValue(other.secondIntSetting.value, nullptr);
    CopyScaled(density, other.density);
    CopyScaled(brightness, other.brightness);
    CopyScaled(repeat, other.repeat);
    patternTexture = other.patternTexture;
    noiseTexture = other.noiseTexture;
    grid = other.grid;
    gridColumns = other.gridColumns;
    gridRows = other.gridRows;
    effectParameters = other.effectParameters;
    return *this;
}

DS_FireFX::~DS_FireFX() = default;

void DS_FireFX::Read(ArchiveHandle& archive, int32_t version)
{
    if (version >= FirstVersionWithFields) {
        quad.Read(archive);
        ReadColour(archive, firstColour);
        ReadColour(archive, secondColour);
        int32_t value = 0;
        archive->ReadInt(value);
        intSetting.value = value;
        ReadFileLink(archive, patternLink);
        ReadFileLink(archive, noiseLink);
        archive->ReadInt(value);
        secondIntSetting.value = value;
        ReadScaledValue(archive, density);
        ReadScaledValue(archive, brightness);
        ReadScaledValue(archive, repeat);
    }
    ReadBrushBase(archive);
}

void DS_FireFX::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    quad.Write(archive);
    WriteColour(archive, firstColour);
    WriteColour(archive, secondColour);
    int32_t value = intSetting.value;
    archive->WriteInt(value);
    StoreAndWriteLink(archive, patternLink);
    StoreAndWriteLink(archive, noiseLink);
    value = secondIntSetting.value;
    archive->WriteInt(value);
    WriteScaledValue(archive, density);
    WriteScaledValue(archive, brightness);
    WriteScaledValue(archive, repeat);
    DS_FX_Constructor::Write(archive);
}

DS_FX_Constructor* DS_FireFX::Clone() const { return new DS_FireFX(*this); }

void DS_FireFX::LookUpParameters()
{
    DS_FX_Constructor::LookUpParameters();
    LookUpEffectParameters(effect.Get(), {&effectParameters.worldViewProj, &effectParameters.viewProj,
                            &effectParameters.noise, &effectParameters.pattern, &effectParameters.c11,
                            &effectParameters.c12, &effectParameters.c13, &effectParameters.bgScaleFactor,
                            &effectParameters.colorK1, &effectParameters.colorK2, &effectParameters.brightness,
                            &effectParameters.density});
}

float DS_FireFX::RepeatResult() const { return repeat.result > SmallestRepeat ? repeat.result : SmallestRepeat; }

void DS_FireFX::BindResources(IDirect3DTexture9* maskTexture)
{
    DS_FX_Constructor::BindResources(maskTexture);
    patternTexture = GetFirstLinkTexture(patternLink).texture;
    noiseTexture = GetFirstLinkTexture(noiseLink).texture;
    BuildGrid();
}

void DS_FireFX::BuildGrid()
{
    gridColumns = GridCells;
    gridRows = GridCells;
    if (FAILED(CreateVertexBufferPT(GridVertices, grid, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED)))
        return;
    grid.primitiveType = D3DPT_TRIANGLELIST;
    const IndexBufferPart indices = BuildGridIndexBuffer();
    grid.indices = indices.indices;
    grid.indexedPrimitiveCount = indices.indexedPrimitiveCount;

    // Corner i is quad vertex i: u runs from corners 0, 1 to corners 2, 3,
    // v from corners 0, 2 to corners 1, 3.
    const float u = 1.0f / RepeatResult();
    const float us[4] = {0.0f, 0.0f, u, u};
    const float vs[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    ScreenQuad corners;
    for (int i = 0; i < MediaQuad::CornerCount; ++i) {
        const D3DXVECTOR3& p = quad.corners[i].value;
        corners.corners[i] = ScreenCorner{p.x, p.y, p.z, us[i], vs[i]};
    }
    FillQuadGrid(grid, gridRows, gridColumns, corners);
}

void DS_FireFX::DrawFire(const DS_Frame& frame)
{
    if (!effect || !GlobalSceneView)
        return;
    D3DXMATRIX matrix;
    GlobalSceneView->ComposeWorldViewProjection(matrix, frame.world);
    effect->SetMatrix(effectParameters.worldViewProj.Handle(), &matrix);
    GlobalSceneView->GetViewProjection(matrix);
    effect->SetMatrix(effectParameters.viewProj.Handle(), &matrix);
    effect->SetTexture(effectParameters.noise.Handle(), noiseTexture.Get());
    effect->SetTexture(effectParameters.pattern.Handle(), patternTexture.Get());
    const float t = Time();
    const float c11[2] = {0.0f, Scroll1 * t};
    const float c12[2] = {0.0f, Scroll2 * t};
    const float c13[2] = {0.0f, Scroll3 * t};
    effect->SetFloatArray(effectParameters.c11.Handle(), c11, 2);
    effect->SetFloatArray(effectParameters.c12.Handle(), c12, 2);
    effect->SetFloatArray(effectParameters.c13.Handle(), c13, 2);
}

void DS_FireFX::Apply(DS_2D_Light& layer)
{
    if (!effect || !GlobalSceneView)
        return;
    DrawFire(grid);
    const bool capturing = GlobalSceneView->mode == SceneView::Capture;
    const float backgroundScale[2] = {capturing ? 1.0f : GlobalSceneView->backgroundScaleX,
                                      capturing ? 1.0f : GlobalSceneView->backgroundScaleY};
    effect->SetFloatArray(effectParameters.bgScaleFactor.Handle(), backgroundScale, 2);
    float first[3];
    float second[3];
    ColourChannels(firstColour.value, first);
    ColourChannels(secondColour.value, second);
    const float difference[3] = {first[0] - second[0], first[1] - second[1], first[2] - second[2]};
    effect->SetFloatArray(effectParameters.colorK1.Handle(), second, 3);
    effect->SetFloatArray(effectParameters.colorK2.Handle(), difference, 3);
    effect->SetTexture(commonParameters.mask.Handle(), MaskOrFull());
    effect->SetTexture(commonParameters.background.Handle(), layer.GetSceneTexture().Get());
    effect->SetFloat(effectParameters.brightness.Handle(), brightness.result);
    effect->SetFloat(effectParameters.density.Handle(), density.result);
    effect->SetTechnique(TechniqueName());
    layer.DrawGridWithEffect(grid, effect.Get());
}
