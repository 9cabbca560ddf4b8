#include "foundation/render/StageStates.h"

#include "foundation/core/CurrentDevice.h"

void SelectDiffuseOnStage0()
{
    if (!CurrentDevice)
        return;
    CurrentDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    CurrentDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    CurrentDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    CurrentDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
}

void RestoreTextureArgumentsOnStage0()
{
    if (!CurrentDevice)
        return;
    CurrentDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    CurrentDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
}
