#include "host/framework/ErrorTexts.h"

#include "foundation/core/SaverError.h"

#include <d3d9.h>

namespace {

struct ErrorString {
    HRESULT code;
    UINT string;
};

const ErrorString ErrorStrings[] = {
    {E_FAIL, 2100},
    {NoDirect3D, 2101},
    {InitFailed, 2102},
    {DeviceCreateFailed, 2103},
    {NoCompatibleDevice, 2104},
    {NoHardwareDevice, 2105},
    {HardwareLacksFeature, 2106},
    {HardwareLacksFeatureInMode, 2107},
    {MediaNotFound, 2108},
    {ResetFailed, 2109},
    {E_OUTOFMEMORY, 2110},
    {D3DERR_OUTOFVIDEOMEMORY, 2111},
    {NoPreview, 2112},
};

} // namespace

UINT ErrorStringId(HRESULT code)
{
    for (const ErrorString& entry : ErrorStrings) {
        if (entry.code == code)
            return entry.string;
    }
    return UnspecifiedErrorString;
}
