#include "foundation/render/TextureFormats.h"

#include "foundation/core/ComHolder.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/TextureFormatsForTesting.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::vector<D3DFORMAT> WithheldFormats;
std::vector<D3DFORMAT> WithheldBumpMapFormats;

} // namespace

void WithholdTextureFormatsForTesting(std::vector<D3DFORMAT> formats)
{
    WithheldFormats = std::move(formats);
}

namespace {

bool Withheld(const std::vector<D3DFORMAT>& formats, D3DFORMAT format)
{
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

bool DeviceTakesFormat(D3DFORMAT format, DWORD usage)
{
    if (!CurrentDevice)
        return false;
    ComHolder<IDirect3D9> direct3D;
    D3DDEVICE_CREATION_PARAMETERS creation{};
    D3DDISPLAYMODE mode{};
    if (FAILED(CurrentDevice->GetDirect3D(direct3D.Out())) || !direct3D ||
        FAILED(CurrentDevice->GetCreationParameters(&creation)) || FAILED(CurrentDevice->GetDisplayMode(0, &mode)))
        return false;
    return SUCCEEDED(direct3D->CheckDeviceFormat(creation.AdapterOrdinal, creation.DeviceType, mode.Format, usage,
                                                 D3DRTYPE_TEXTURE, format));
}

} // namespace

void WithholdBumpMapFormatsForTesting(std::vector<D3DFORMAT> formats)
{
    WithheldBumpMapFormats = std::move(formats);
}

bool SupportsTextureFormat(D3DFORMAT format)
{
    if (Withheld(WithheldFormats, format))
        return false;
    return DeviceTakesFormat(format, 0);
}

D3DFORMAT FirstSupportedTextureFormat(const D3DFORMAT* formats, int count)
{
    for (int i = 0; i < count; ++i)
        if (SupportsTextureFormat(formats[i]))
            return formats[i];
    return D3DFMT_UNKNOWN;
}

bool SupportsBumpMapFormat(D3DFORMAT format)
{
    if (Withheld(WithheldFormats, format) || Withheld(WithheldBumpMapFormats, format))
        return false;
    return DeviceTakesFormat(format, D3DUSAGE_QUERY_LEGACYBUMPMAP);
}

D3DFORMAT FirstSupportedBumpMapFormat(const D3DFORMAT* formats, int count)
{
    for (int i = 0; i < count; ++i)
        if (SupportsBumpMapFormat(formats[i]))
            return formats[i];
    return D3DFMT_UNKNOWN;
}
