#include "foundation/render/StageStates.h"

#include "foundation/core/CurrentDevice.h"

#include <cstring>

void SelectDiffuseOnStage0()
{
    if (!CurrentDevice)
        return;
    SetColourOperation(CurrentDevice, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE);
    SetAlphaOperation(CurrentDevice, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE);
}

void RestoreTextureArgumentsOnStage0()
{
    if (!CurrentDevice)
        return;
    CurrentDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    CurrentDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
}

void SetColourOperation(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP op, DWORD arg1)
{
    device->SetTextureStageState(stage, D3DTSS_COLOROP, op);
    device->SetTextureStageState(stage, D3DTSS_COLORARG1, arg1);
}

void SetColourOperation(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP op, DWORD arg1, DWORD arg2)
{
    SetColourOperation(device, stage, op, arg1);
    device->SetTextureStageState(stage, D3DTSS_COLORARG2, arg2);
}

void SetAlphaOperation(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP op, DWORD arg1)
{
    device->SetTextureStageState(stage, D3DTSS_ALPHAOP, op);
    device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, arg1);
}

void SetAlphaOperation(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP op, DWORD arg1, DWORD arg2)
{
    SetAlphaOperation(device, stage, op, arg1);
    device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, arg2);
}

void SetStageOperations(IDirect3DDevice9* device, DWORD stage, D3DTEXTUREOP colourOp, D3DTEXTUREOP alphaOp)
{
    device->SetTextureStageState(stage, D3DTSS_COLOROP, colourOp);
    device->SetTextureStageState(stage, D3DTSS_ALPHAOP, alphaOp);
}

void SelectTextureOnStage0(IDirect3DDevice9* device)
{
    SetColourOperation(device, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE);
    SetAlphaOperation(device, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE);
}

void ModulateTextureByDiffuseOnStage0(IDirect3DDevice9* device)
{
    SetColourOperation(device, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    SetAlphaOperation(device, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
}

void DisableStage(IDirect3DDevice9* device, DWORD stage)
{
    SetStageOperations(device, stage, D3DTOP_DISABLE, D3DTOP_DISABLE);
}

void SelectTextureKeepAlphaOnStage(IDirect3DDevice9* device, DWORD stage)
{
    SetColourOperation(device, stage, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT);
    SetAlphaOperation(device, stage, D3DTOP_SELECTARG1, D3DTA_CURRENT);
}

void BumpEnvMapOnStage(IDirect3DDevice9* device, DWORD stage)
{
    SetColourOperation(device, stage, D3DTOP_BUMPENVMAP, D3DTA_TEXTURE, D3DTA_CURRENT);
}

namespace {

DWORD FloatBits(float value)
{
    DWORD bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

void SetBumpEnvMatrix(IDirect3DDevice9* device, DWORD stage, float m00, float m01, float m10, float m11)
{
    device->SetTextureStageState(stage, D3DTSS_BUMPENVMAT00, FloatBits(m00));
    device->SetTextureStageState(stage, D3DTSS_BUMPENVMAT01, FloatBits(m01));
    device->SetTextureStageState(stage, D3DTSS_BUMPENVMAT10, FloatBits(m10));
    device->SetTextureStageState(stage, D3DTSS_BUMPENVMAT11, FloatBits(m11));
}

void UntransformedTexCoords(IDirect3DDevice9* device, DWORD stage, DWORD index)
{
    device->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, index);
    device->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
}

void SetLayerDefaultStages(IDirect3DDevice9* device)
{
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    SetColourOperation(device, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
    SetColourOperation(device, 1, D3DTOP_DISABLE, D3DTA_TEXTURE);
}

void SetAddressing(IDirect3DDevice9* device, DWORD sampler, D3DTEXTUREADDRESS addressing)
{
    device->SetSamplerState(sampler, D3DSAMP_ADDRESSU, addressing);
    device->SetSamplerState(sampler, D3DSAMP_ADDRESSV, addressing);
}

void SetLinearFilters(IDirect3DDevice9* device, DWORD sampler)
{
    device->SetSamplerState(sampler, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(sampler, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
}

void SetLinearFilters(IDirect3DDevice9* device, DWORD sampler, D3DTEXTUREFILTERTYPE mipFilter)
{
    SetLinearFilters(device, sampler);
    device->SetSamplerState(sampler, D3DSAMP_MIPFILTER, mipFilter);
}
