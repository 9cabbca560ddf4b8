#include "foundation/core/SaverError.h"
#include "host/framework/CD3DScreensaver.h"

#include <d3d9.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct ErrorCase {
    HRESULT code;
    const wchar_t* text;
    BOOL ownText;
};

const wchar_t* const Unspecified = L"There was an unspecified problem with this screen saver.";

const ErrorCase ErrorCases[] = {
    {E_FAIL, Unspecified, FALSE},
    {NoDirect3D, L"Direct3D 8.0 could not be initialized.  Please install the latest version of DirectX.", TRUE},
    {InitFailed, L"Could not initialize the screen saver.", TRUE},
    {DeviceCreateFailed, L"Could not create the Direct3D device.", TRUE},
    {NoCompatibleDevice, L"Could not find any compatible Direct3D devices.", TRUE},
    {NoHardwareDevice, L"No hardware-accelerated Direct3D devices were found.", TRUE},
    {HardwareLacksFeature,
     L"This screen saver requires functionality that is not available on your Direct3D hardware accelerator.",
     TRUE},
    {HardwareLacksFeatureInMode,
     L"This screen saver requires functionality that is not available on your Direct3D hardware accelerator "
     L"with the current desktop display settings.",
     TRUE},
    {MediaNotFound, L"Could not load required media.", TRUE},
    {ResetFailed, L"Could not reset the Direct3D device.", TRUE},
    {E_OUTOFMEMORY, L"Not enough memory.", TRUE},
    {D3DERR_OUTOFVIDEOMEMORY, L"Not enough video memory.", TRUE},
    {NoPreview, L"No preview available", TRUE},
    // Codes without a text of their own.
    {DeviceObjectsFailed, Unspecified, FALSE},
    {S_OK, Unspecified, FALSE},
    {static_cast<HRESULT>(0x82000002), Unspecified, FALSE},
    {D3DERR_DEVICELOST, Unspecified, FALSE},
};

TEST(GetErrorText, GivesEachCodesTextFromTheStringTable)
{
    CD3DScreensaver saver;
    for (const ErrorCase& c : ErrorCases) {
        wchar_t text[512] = L"stale";
        EXPECT_EQ(c.ownText, saver.GetErrorText(c.code, text, 512)) << std::hex << c.code;
        EXPECT_EQ(std::wstring(c.text), std::wstring(text)) << std::hex << c.code;
    }
}

TEST(GetErrorText, TruncatesToTheBuffer)
{
    CD3DScreensaver saver;
    wchar_t text[8];
    saver.GetErrorText(MediaNotFound, text, 8);
    EXPECT_EQ(std::wstring(L"Could n"), std::wstring(text));
}

} // namespace
