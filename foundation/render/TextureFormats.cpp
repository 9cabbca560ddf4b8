#include "foundation/render/TextureFormats.h"

#include "foundation/geometry/ComHolder.h"
#include "foundation/render/CurrentDevice.h"
#include "foundation/render/TextureFormatsForTesting.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::vector<D3DFORMAT> WithheldFormats;

} // namespace

void WithholdTextureFormatsForTesting(std::vector<D3DFORMAT> formats)
{
    WithheldFormats = std::move(formats);
}

bool SupportsTextureFormat(D3DFORMAT format)
{
    if (!CurrentDevice)
        return false;
    if (std::find(WithheldFormats.begin(), WithheldFormats.end(), format) != WithheldFormats.end())
        return false;
    ComHolder<IDirect3D9> direct3D;
    D3DDEVICE_CREATION_PARAMETERS creation{};
    D3DDISPLAYMODE mode{};
    if (FAILED(CurrentDevice->GetDirect3D(direct3D.Out())) || !direct3D ||
        FAILED(CurrentDevice->GetCreationParameters(&creation)) || FAILED(CurrentDevice->GetDisplayMode(0, &mode)))
        return false;
    return SUCCEEDED(direct3D->CheckDeviceFormat(creation.AdapterOrdinal, creation.DeviceType, mode.Format, 0,
                                                 D3DRTYPE_TEXTURE, format));
}

D3DFORMAT FirstSupportedTextureFormat(const D3DFORMAT* formats, int count)
{
    for (int i = 0; i < count; ++i)
        if (SupportsTextureFormat(formats[i]))
            return formats[i];
    return D3DFMT_UNKNOWN;
}
