// The display-settings dialog: for each monitor, its video adapter and what
// the show can render with on it, whether the show uses the monitor, hardware
// rendering on or off, and the display mode of the full-screen show. It edits
// the adapter records and "AllScreensSame" in place; they reach the registry
// only when the settings dialog is left with OK, and Cancel here puts back
// what they were when the dialog opened.
#pragma once

#include <windows.h>

class CD3DScreensaver;
struct AdapterRecord;

// The template for a saver with adapterCount adapters: one page for monitor
// 0 with fewer than two, else a tab per monitor.
int DisplaySettingsTemplate(int adapterCount);

// Modal over owner.
void ShowDisplaySettings(CD3DScreensaver& saver, HWND owner);

// The dialog procedure; the dialog's creation parameter is the saver.
INT_PTR CALLBACK DisplaySettingsDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Shows the values of the current monitor (the selected tab; monitor 0
// without tabs).
void FillMonitorPage(const CD3DScreensaver& saver, HWND dialog);

// The string-table texts that describe an adapter: what its help button
// says, and how the show can render on it. A null adapter is a monitor the
// show has no adapter for.
UINT HelpTextId(const AdapterRecord* adapter);
UINT RenderingTextId(const AdapterRecord* adapter);
