#include "host/dialogs/DisplaySettingsDialog.h"

#include "host/framework/CD3DScreensaver.h"
#include "host/framework/DisplayModes.h"
#include "host/framework/MonitorSettings.h"
#include "res/resource.h"

#include <commctrl.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

// The hidden pattern texts are read with at most this many characters.
const int PatternLength = 100;
const int StringLength = 512;
const LRESULT AutomaticItemData = -1;
// The texts of the tabs and of the modes. Fixed here, never taken from a
// control: a format that came from outside the code could read arguments
// that are not there.
const wchar_t* const TabFormat = L"Monitor %d";
const wchar_t* const ModeFormat = L"%d by %d, %d bit color";

// What the dialog puts back on Cancel.
struct DisplayDialogState {
    CD3DScreensaver* saver;
    std::vector<AdapterRecord> snapshot;
    DWORD allScreensSame;
};

DisplayDialogState* StateOf(HWND dialog)
{
    return reinterpret_cast<DisplayDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

std::wstring LoadText(UINT id)
{
    wchar_t text[StringLength] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, text, StringLength);
    return text;
}

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[PatternLength + 1] = {};
    GetDlgItemTextW(dialog, id, text, PatternLength + 1);
    return text;
}

void EnableItem(HWND dialog, int id, bool enable)
{
    if (HWND item = GetDlgItem(dialog, id))
        EnableWindow(item, enable ? TRUE : FALSE);
}

int CurrentMonitor(HWND dialog)
{
    const HWND tabs = GetDlgItem(dialog, IDC_MONITOR_TABS);
    if (!tabs)
        return 0;
    const int selected = TabCtrl_GetCurSel(tabs);
    return selected < 0 ? 0 : selected;
}

void EnableModeChoice(HWND dialog, bool enable)
{
    for (int id : {IDC_MODE_LIST, IDC_MODE_LABEL, IDC_MODE_GROUP, IDC_MODE_NOTE})
        EnableItem(dialog, id, enable);
}

// The device whose modes the list shows, or null.
const DeviceRecord* ChosenDevice(const AdapterRecord& adapter)
{
    if (adapter.chosenDevice < 0 || adapter.chosenDevice >= adapter.deviceCount)
        return nullptr;
    return &adapter.devices[adapter.chosenDevice];
}

void FillModeList(HWND dialog, const AdapterRecord* adapter)
{
    const HWND list = GetDlgItem(dialog, IDC_MODE_LIST);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    if (!adapter)
        return;
    const std::wstring automatic = ItemText(dialog, IDC_AUTOMATIC_TEXT);
    LRESULT item = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(automatic.c_str()));
    SendMessageW(list, CB_SETITEMDATA, item, AutomaticItemData);

    LRESULT selected = 0;
    const DeviceRecord* device = ChosenDevice(*adapter);
    for (int m = 0; device && m < device->modeCount; ++m) {
        const ModeRecord& mode = device->modes[m];
        wchar_t text[PatternLength + 40] = {};
        swprintf(text, sizeof text / sizeof *text, ModeFormat, static_cast<int>(mode.width),
                 static_cast<int>(mode.height), ColourBits(mode.format));
        item = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessageW(list, CB_SETITEMDATA, item, m);
        if (mode.width == adapter->storedWidth && mode.height == adapter->storedHeight &&
            static_cast<DWORD>(mode.format) == adapter->storedFormat)
            selected = item;
    }
    SendMessageW(list, CB_SETCURSEL, selected, 0);
}

void StoreChosenMode(HWND dialog, AdapterRecord& adapter)
{
    const HWND list = GetDlgItem(dialog, IDC_MODE_LIST);
    const LRESULT item = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR)
        return;
    const LRESULT data = SendMessageW(list, CB_GETITEMDATA, item, 0);
    const DeviceRecord* device = ChosenDevice(adapter);
    if (item == 0 || !device || data < 0 || data >= device->modeCount) {
        adapter.storedWidth = 0;
        adapter.storedHeight = 0;
        adapter.storedFormat = 0;
        return;
    }
    const ModeRecord& mode = device->modes[data];
    adapter.storedWidth = mode.width;
    adapter.storedHeight = mode.height;
    adapter.storedFormat = static_cast<DWORD>(mode.format);
}

void AddMonitorTabs(const CD3DScreensaver& saver, HWND dialog)
{
    const HWND tabs = GetDlgItem(dialog, IDC_MONITOR_TABS);
    if (!tabs)
        return;
    for (int m = 0; m < saver.monitorCount; ++m) {
        wchar_t label[PatternLength + 20] = {};
        swprintf(label, sizeof label / sizeof *label, TabFormat, m + 1);
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = label;
        SendMessageW(tabs, TCM_INSERTITEMW, m, reinterpret_cast<LPARAM>(&tab));
    }
}

INT_PTR HandleDisplaySettingsMessage(DisplayDialogState& state, HWND dialog, UINT message, WPARAM wparam,
                                     LPARAM lparam)
{
    CD3DScreensaver& saver = *state.saver;
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header && header->idFrom == IDC_MONITOR_TABS && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
            FillMonitorPage(saver, dialog);
            return TRUE;
        }
        return FALSE;
    }
    case WM_COMMAND:
        break;
    default:
        return FALSE;
    }

    const int id = LOWORD(wparam);
    const int monitor = CurrentMonitor(dialog);
    AdapterRecord* adapter = AdapterOfMonitor(saver, monitor);
    switch (id) {
    case IDOK:
        state.snapshot.clear();
        EndDialog(dialog, IDOK);
        break;
    case IDCANCEL:
        for (int a = 0; a < saver.adapterCount && a < static_cast<int>(state.snapshot.size()); ++a) {
            if (saver.adapters[a])
                *saver.adapters[a] = state.snapshot[a];
        }
        state.snapshot.clear();
        saver.allScreensSame = state.allScreensSame;
        EndDialog(dialog, IDCANCEL);
        break;
    case IDC_ADAPTER_HELP: {
        const std::wstring text = LoadText(HelpTextId(adapter));
        const wchar_t* caption = monitor < saver.monitorCount ? saver.monitors[monitor].adapterDescription : L"";
        MessageBoxW(dialog, text.c_str(), caption, MB_ICONINFORMATION);
        break;
    }
    case IDC_DISABLE_HARDWARE:
        if (adapter) {
            adapter->disableHardware = IsDlgButtonChecked(dialog, IDC_DISABLE_HARDWARE) == BST_CHECKED;
            FillMonitorPage(saver, dialog);
        }
        break;
    case IDC_SHOW_SAVER:
    case IDC_SHOW_NOTHING:
        if (adapter) {
            const bool nothing = IsDlgButtonChecked(dialog, IDC_SHOW_NOTHING) == BST_CHECKED;
            adapter->leaveBlack = nothing;
            EnableModeChoice(dialog, !nothing);
        }
        break;
    case IDC_MODE_LIST:
        if (adapter && HIWORD(wparam) == CBN_SELCHANGE)
            StoreChosenMode(dialog, *adapter);
        break;
    case IDC_ALL_SCREENS_SAME:
        saver.allScreensSame = IsDlgButtonChecked(dialog, IDC_ALL_SCREENS_SAME) == BST_CHECKED;
        break;
    default:
        break;
    }
    return TRUE;
}

} // namespace

int DisplaySettingsTemplate(int adapterCount)
{
    return adapterCount < 2 ? IDD_DISPLAY_SETTINGS : IDD_DISPLAY_SETTINGS_TABS;
}

void ShowDisplaySettings(CD3DScreensaver& saver, HWND owner)
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(DisplaySettingsTemplate(saver.adapterCount)), owner,
                    DisplaySettingsDlgProc, reinterpret_cast<LPARAM>(&saver));
}

INT_PTR CALLBACK DisplaySettingsDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITDIALOG) {
        auto* saver = reinterpret_cast<CD3DScreensaver*>(lparam);
        if (!saver)
            saver = SaverInstance;
        if (!saver) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        std::unique_ptr<DisplayDialogState> state(new DisplayDialogState{saver, {}, saver->allScreensSame});
        for (int a = 0; a < saver->adapterCount; ++a)
            state->snapshot.push_back(saver->adapters[a] ? *saver->adapters[a] : AdapterRecord{});
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state.release()));
        AddMonitorTabs(*saver, dialog);
        FillMonitorPage(*saver, dialog);
        CheckDlgButton(dialog, IDC_ALL_SCREENS_SAME, saver->allScreensSame ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    }
    if (message == WM_DESTROY) {
        delete StateOf(dialog);
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        return FALSE;
    }
    DisplayDialogState* state = StateOf(dialog);
    return state ? HandleDisplaySettingsMessage(*state, dialog, message, wparam, lparam) : FALSE;
}

void FillMonitorPage(const CD3DScreensaver& saver, HWND dialog)
{
    const int monitor = CurrentMonitor(dialog);
    AdapterRecord* adapter = AdapterOfMonitor(saver, monitor);
    SetDlgItemTextW(dialog, IDC_ADAPTER_NAME,
                    monitor < saver.monitorCount ? saver.monitors[monitor].adapterDescription : L"");
    SetDlgItemTextW(dialog, IDC_RENDERING, LoadText(RenderingTextId(adapter)).c_str());

    const bool hardwareChoice = adapter && adapter->hasHal && adapter->halUsable;
    EnableItem(dialog, IDC_DISABLE_HARDWARE, hardwareChoice);
    CheckDlgButton(dialog, IDC_DISABLE_HARDWARE,
                   hardwareChoice && adapter->disableHardware ? BST_CHECKED : BST_UNCHECKED);

    const bool showable =
        adapter && ((adapter->halUsable && !adapter->disableHardware) || adapter->softwareUsable);
    // The page without tabs has no usage buttons: a stored "Leave Black"
    // would keep the monitor black with nothing here to undo it, so this
    // page shows the saver on every monitor it can.
    if (adapter && showable && !GetDlgItem(dialog, IDC_SHOW_NOTHING))
        adapter->leaveBlack = FALSE;
    const bool nothing = !showable || adapter->leaveBlack;
    CheckRadioButton(dialog, IDC_SHOW_SAVER, IDC_SHOW_NOTHING, nothing ? IDC_SHOW_NOTHING : IDC_SHOW_SAVER);
    for (int id : {IDC_SHOW_SAVER, IDC_SHOW_NOTHING, IDC_USAGE_GROUP})
        EnableItem(dialog, id, showable);
    // Decided from the values rather than the radio buttons, which the page
    // without tabs does not have.
    EnableModeChoice(dialog, !nothing);

    FillModeList(dialog, adapter);
}

UINT HelpTextId(const AdapterRecord* adapter)
{
    if (!adapter)
        return IDS_HELP_NO_RENDERER;
    if (!adapter->hasHal) {
        if (adapter->softwareUsable)
            return IDS_HELP_NO_HARDWARE_SOFTWARE_USED;
        return adapter->hasSoftware ? IDS_HELP_NO_HARDWARE_SOFTWARE_LACKS : IDS_HELP_NO_RENDERER;
    }
    if (adapter->disableHardware) {
        if (adapter->softwareUsable)
            return IDS_HELP_DISABLED_SOFTWARE_USED;
        return adapter->hasSoftware ? IDS_HELP_DISABLED_SOFTWARE_LACKS : IDS_HELP_DISABLED_NO_SOFTWARE;
    }
    if (adapter->halUsable)
        return IDS_HELP_HARDWARE;
    if (adapter->softwareUsable)
        return IDS_HELP_HARDWARE_LACKS_SOFTWARE_USED;
    return adapter->hasSoftware ? IDS_HELP_HARDWARE_AND_SOFTWARE_LACK : IDS_HELP_HARDWARE_LACKS_NO_SOFTWARE;
}

UINT RenderingTextId(const AdapterRecord* adapter)
{
    if (!adapter)
        return IDS_RENDERING_NONE;
    if (adapter->hasHal && adapter->halUsable && !adapter->disableHardware)
        return IDS_RENDERING_HARDWARE;
    if (adapter->hasSoftware && adapter->softwareUsable)
        return IDS_RENDERING_SOFTWARE;
    return IDS_RENDERING_NONE;
}
