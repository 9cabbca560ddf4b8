#include "foundation/render/TextureAddressing.h"

#include "foundation/core/CurrentDevice.h"

namespace {

bool pretendConditional = false;

bool PowerOfTwo(UINT n) { return n != 0 && (n & (n - 1)) == 0; }

} // namespace

void PretendConditionalNonPow2ForTesting(bool pretend) { pretendConditional = pretend; }

D3DTEXTUREADDRESS UsableAddressing(IDirect3DTexture9* texture, D3DTEXTUREADDRESS wanted)
{
    if (!texture || !CurrentDevice)
        return wanted;
    D3DSURFACE_DESC desc{};
    if (FAILED(texture->GetLevelDesc(0, &desc)) || (PowerOfTwo(desc.Width) && PowerOfTwo(desc.Height)))
        return wanted;
    D3DCAPS9 caps{};
    if (pretendConditional)
        caps.TextureCaps = D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_NONPOW2CONDITIONAL;
    else if (FAILED(CurrentDevice->GetDeviceCaps(&caps)))
        return D3DTADDRESS_CLAMP;
    return (caps.TextureCaps & D3DPTEXTURECAPS_POW2) ? D3DTADDRESS_CLAMP : wanted;
}
