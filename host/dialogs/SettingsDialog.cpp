#include "host/dialogs/SettingsDialog.h"

#include "host/dialogs/Browser.h"
#include "host/dialogs/DisplaySettingsDialog.h"
#include "host/dialogs/SoundDialog.h"
#include "host/framework/CD3DScreensaver.h"
#include "host/framework/MonitorSettings.h"
#include "host/framework/Settings.h"
#include "res/resource.h"

#include <string>

const wchar_t* const WebsiteAddress = L"https://nightglass.example.org/";
const wchar_t* const WebsiteQuery =
    L"?utm_source=screensaver&utm_medium=website&utm_campaign=customer_content&utm_nooverride=1";

namespace {

// Not among the program's resources: DialogBoxParamW fails and shows nothing.
const int ExtraDialogTemplate = 109;

// In the order of the picture position values.
const wchar_t* const PicturePositionNames[] = {L"Stretch", L"Fit", L"Fill"};

INT_PTR HandleSettingsMessage(CD3DScreensaver& saver, HWND dialog, UINT message, WPARAM wparam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowTextW(dialog, saver.windowTitle);
        // What was read at start is stored again, so the registry holds every
        // value the dialogs show.
        WriteSettings(saver);
        const HWND positions = GetDlgItem(dialog, IDC_PICTURE_POSITION);
        for (const wchar_t* name : PicturePositionNames)
            SendMessageW(positions, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        SendMessageW(positions, CB_SETCURSEL, GetPicturePosition(), 0);
        return TRUE;
    }
    case WM_COMMAND:
        break;
    default:
        return FALSE;
    }

    switch (LOWORD(wparam)) {
    case IDOK:
        SetPicturePosition(static_cast<int>(SendDlgItemMessageW(dialog, IDC_PICTURE_POSITION, CB_GETCURSEL, 0, 0)));
        WriteSettings(saver);
        EndDialog(dialog, IDOK);
        break;
    case IDCANCEL:
        ReadSettingsFromRegistry(saver);
        EndDialog(dialog, IDCANCEL);
        break;
    case IDC_DISPLAY_SETTINGS:
        ShowDisplaySettings(saver, dialog);
        break;
    case IDC_SOUND_SETTINGS:
        ShowSoundSettings(saver, dialog);
        break;
    case IDC_WEBSITE:
        // Nothing to tell the user when no browser starts.
        OpenUrlInBrowser(std::wstring(WebsiteAddress) + WebsiteQuery);
        break;
    default:
        break;
    }
    return TRUE;
}

INT_PTR CALLBACK ExtraDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

void ShowSettingsDialog(CD3DScreensaver& saver, HWND owner)
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsDlgProc,
                    reinterpret_cast<LPARAM>(&saver));
}

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(dialog, DWLP_USER, lparam ? lparam : reinterpret_cast<LPARAM>(SaverInstance));
    auto* saver = reinterpret_cast<CD3DScreensaver*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return saver ? HandleSettingsMessage(*saver, dialog, message, wparam) : FALSE;
}

void ShowExtraSettingsDialog(HWND owner)
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ExtraDialogTemplate), owner, ExtraDlgProc, 0);
}
