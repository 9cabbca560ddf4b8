// The settings dialog of Configure mode: the picture position, buttons to
// the display and sound settings, and one to the program's web page. OK
// stores the picture position and the per-monitor values; Cancel reads the
// per-monitor values back from the registry, dropping what the display
// dialog changed.
#pragma once

#include <windows.h>

class CD3DScreensaver;

// The program's web page, and what is added to it when the "Website" button
// opens it.
extern const wchar_t* const WebsiteAddress;
extern const wchar_t* const WebsiteQuery;

// Modal over owner (none when null), editing saver's settings.
void ShowSettingsDialog(CD3DScreensaver& saver, HWND owner);

// The dialog procedure; the dialog's creation parameter is the saver.
INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The dialog of mode ExtraDialog. The program has no template for it, so
// nothing shows.
void ShowExtraSettingsDialog(HWND owner);
