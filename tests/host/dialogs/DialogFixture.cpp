#include "tests/host/dialogs/DialogFixture.h"

#include "host/dialogs/SoundDialog.h"
#include "host/framework/Settings.h"

#include <commctrl.h>

#include <cwchar>

const wchar_t* const DialogTestKeyPath = L"Software\\Quillmoor\\Glintcraft\\NightglassTests\\Dialogs\\";

void UseEmptyDialogTestKey()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, DialogTestKeyPath);
    SetSettingsKeyPath(DialogTestKeyPath);
    PicPosCache = PicPosCacheRecord{};
}

DialogSaver::DialogSaver()
{
    wcscpy(windowTitle, L"Nightglass");
}

INT_PTR DialogSaver::SoundDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    return HandleSoundDialogMessage(dialog, message, wparam, lparam);
}

AdapterRecord& DialogSaver::AddMonitorWithAdapter(const wchar_t* description, const std::vector<ModeRecord>& modes)
{
    const int m = monitorCount++;
    monitors[m] = MonitorRecord{};
    wcsncpy(monitors[m].adapterDescription, description, 127);
    monitors[m].adapterIndex = adapterCount;

    adapters[adapterCount].reset(new AdapterRecord{});
    AdapterRecord& adapter = *adapters[adapterCount++];
    adapter.monitorIndex = m;
    adapter.identifier.DeviceIdentifier.Data1 = 0x1000u + static_cast<unsigned>(m);
    adapter.hasHal = adapter.halUsable = adapter.hasSoftware = adapter.softwareUsable = TRUE;
    adapter.deviceCount = 1;
    adapter.devices[0].type = D3DDEVTYPE_HAL;
    for (const ModeRecord& mode : modes)
        adapter.devices[0].modes[adapter.devices[0].modeCount++] = mode;
    return adapter;
}

void DialogSaver::AddMonitorWithoutAdapter(const wchar_t* description)
{
    const int m = monitorCount++;
    monitors[m] = MonitorRecord{};
    wcsncpy(monitors[m].adapterDescription, description, 127);
    monitors[m].adapterIndex = -1;
}

TestDialog::TestDialog(int templateId, DLGPROC procedure, CD3DScreensaver& saver)
{
    dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr, procedure,
                                reinterpret_cast<LPARAM>(&saver));
}

TestDialog::~TestDialog()
{
    if (dialog)
        DestroyWindow(dialog);
}

std::wstring TestDialog::Text(int id) const
{
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

bool TestDialog::Checked(int id) const
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool TestDialog::Enabled(int id) const
{
    return IsWindowEnabled(Item(id)) != FALSE;
}

std::vector<std::wstring> TestDialog::ComboItems(int id) const
{
    std::vector<std::wstring> items;
    const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

int TestDialog::ComboSelection(int id) const
{
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

void TestDialog::Click(int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

void TestDialog::SetCheck(int id, bool checked)
{
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
    Click(id);
}

void TestDialog::Choose(int id, int item)
{
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, item, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
}

void TestDialog::ChooseRadio(int first, int last, int id)
{
    CheckRadioButton(dialog, first, last, id);
    Click(id);
}

void TestDialog::SelectTab(int id, int index)
{
    TabCtrl_SetCurSel(Item(id), index);
    NMHDR change{Item(id), static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&change));
}
