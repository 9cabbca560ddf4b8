#include "tests/support/RenderTestSupport.h"

#include <cmath>

Rgba CellColour(int column, int row)
{
    Rgba c;
    c.r = static_cast<uint8_t>(20 + 70 * column);
    c.g = static_cast<uint8_t>(20 + 70 * row);
    c.b = static_cast<uint8_t>((column + row) % 2 ? 220 : 60);
    c.a = 255;
    return c;
}

ComHolder<IDirect3DTexture9> CellTexture(IDirect3DDevice9* device, UINT side)
{
    return ColourTexture(device, side, side, [side](UINT x, UINT y) {
        const Rgba c =
            CellColour(static_cast<int>(x * CellsPerSide / side), static_cast<int>(y * CellsPerSide / side));
        return D3DCOLOR_ARGB(c.a, c.r, c.g, c.b);
    });
}

bool CellAt(double u, double v, double cellPixelsX, double cellPixelsY, double margin, Rgba& colour)
{
    const double cu = u * CellsPerSide;
    const double cv = v * CellsPerSide;
    if (cu < 0 || cv < 0 || cu >= CellsPerSide || cv >= CellsPerSide)
        return false;
    if (std::fabs(cu - std::round(cu)) * cellPixelsX < margin ||
        std::fabs(cv - std::round(cv)) * cellPixelsY < margin)
        return false;
    colour = CellColour(static_cast<int>(cu), static_cast<int>(cv));
    return true;
}

void SetPlainTextureStates(IDirect3DDevice9* device)
{
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}
