#include "host/dialogs/SoundDialog.h"

#include "host/framework/CD3DScreensaver.h"
#include "host/framework/Settings.h"
#include "res/resource.h"

#include <commctrl.h>

namespace {

const int LoudestVolume = 100;
const int TickSpacing = 10;

} // namespace

void ShowSoundSettings(CD3DScreensaver& saver, HWND owner)
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SOUND_SETTINGS), owner, SoundDialogTrampoline,
                    reinterpret_cast<LPARAM>(&saver));
}

INT_PTR CALLBACK SoundDialogTrampoline(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(dialog, DWLP_USER, lparam ? lparam : reinterpret_cast<LPARAM>(SaverInstance));
    auto* saver = reinterpret_cast<CD3DScreensaver*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return saver ? saver->SoundDialogProc(dialog, message, wparam, lparam) : FALSE;
}

INT_PTR HandleSoundDialogMessage(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        // Clamped to 0..100 as they are read, so the trackbar always has a
        // place for the volume.
        const DWORD volume = ReadSetting(SoundVolumeSetting);
        const DWORD mute = ReadSetting(MuteSoundSetting);
        const HWND trackbar = GetDlgItem(dialog, IDC_VOLUME);
        SendMessageW(trackbar, TBM_SETTICFREQ, TickSpacing, 0);
        SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, LoudestVolume));
        // The top of a vertical trackbar is its lowest position.
        SendMessageW(trackbar, TBM_SETPOS, TRUE, LoudestVolume - static_cast<int>(volume));
        CheckDlgButton(dialog, IDC_MUTE, mute ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK: {
            const LRESULT position = SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_GETPOS, 0, 0);
            WriteSoundVolume(LoudestVolume - static_cast<int>(position));
            // The dialog has no balance control; the music does not use it.
            WriteSoundBalance(0);
            WriteMuteSound(IsDlgButtonChecked(dialog, IDC_MUTE) == BST_CHECKED ? 1 : 0);
            EndDialog(dialog, IDOK);
            break;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            break;
        default:
            break;
        }
        return TRUE;
    default:
        return FALSE;
    }
}
