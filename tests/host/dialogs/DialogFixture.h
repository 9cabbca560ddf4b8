// What the dialog tests share: a framework whose monitors and adapters are
// set up by hand (no Direct3D), the dialogs made modeless from the program's
// templates, and reading their controls back.
#pragma once

#include "host/framework/CD3DScreensaver.h"

#include <windows.h>

#include <string>
#include <vector>

extern const wchar_t* const DialogTestKeyPath;
// Points the settings at DialogTestKeyPath and empties it.
void UseEmptyDialogTestKey();

class DialogSaver : public CD3DScreensaver {
public:
    DialogSaver();
    INT_PTR SoundDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) override;

    // A monitor with an adapter that can render in hardware and software,
    // listing the modes given; returns the adapter.
    AdapterRecord& AddMonitorWithAdapter(const wchar_t* description, const std::vector<ModeRecord>& modes);
    // A monitor without an adapter.
    void AddMonitorWithoutAdapter(const wchar_t* description);
};

// A modeless dialog of the given template, destroyed with the object.
class TestDialog {
public:
    TestDialog(int templateId, DLGPROC procedure, CD3DScreensaver& saver);
    ~TestDialog();
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    HWND Get() const { return dialog; }
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    std::wstring Text(int id) const;
    bool Checked(int id) const;
    bool Enabled(int id) const;
    std::vector<std::wstring> ComboItems(int id) const;
    int ComboSelection(int id) const;

    // What a user's click gives the dialog procedure: for a check box or
    // radio button the new check state first, then the notification.
    void Click(int id);
    void SetCheck(int id, bool checked);
    // Selects the combo box item and tells the dialog.
    void Choose(int id, int item);
    // Checks the radio button, unchecking the others of first..last.
    void ChooseRadio(int first, int last, int id);
    // Selects the tab of the tab control and tells the dialog.
    void SelectTab(int id, int index);

private:
    HWND dialog = nullptr;
};
