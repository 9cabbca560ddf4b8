// The sound dialog: the music volume on a vertical trackbar (loudest at the
// top) and a mute switch, stored in the registry on OK. The show picks them
// up at its next track and its next start.
#pragma once

#include <windows.h>

class CD3DScreensaver;

// Modal over owner; the dialog's messages go to saver's SoundDialogProc.
void ShowSoundSettings(CD3DScreensaver& saver, HWND owner);

// The dialog procedure of the sound dialog: forwards every message to the
// SoundDialogProc of the saver given as the dialog's creation parameter
// (SaverInstance when none was given).
INT_PTR CALLBACK SoundDialogTrampoline(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// What the application's SoundDialogProc does.
INT_PTR HandleSoundDialogMessage(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
