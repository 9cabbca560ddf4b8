// The user's settings under the program's key in HKEY_CURRENT_USER: the
// picture position and the sound values. The per-monitor values are in
// MonitorSettings.h.
#pragma once

#include <windows.h>

// The program's key; the path ends with a backslash.
extern const wchar_t* const ProgramSettingsKeyPath;
// The key that every read and write opens. Empty until the application sets
// it, and while empty nothing is read or written.
extern wchar_t SettingsKeyPath[MAX_PATH];
void SetSettingsKeyPath(const wchar_t* path);

// A number stored directly under the key, with its default and the largest
// value the program accepts from the registry.
struct SettingValue {
    const wchar_t* name;
    DWORD defaultValue;
    DWORD largest;
};

// The first four names include their double-quote characters.
extern const SettingValue PicPosSetting;
extern const SettingValue SoundVolumeSetting;
extern const SettingValue SoundBalanceSetting;
extern const SettingValue MuteSoundSetting;
extern const SettingValue AllScreensSameSetting;

// Opens (creating when absent) the key and reads the value into *value;
// *value keeps what the caller put there when the key or value is missing.
// A stored value above the setting's largest reads as the largest.
void ReadSetting(DWORD* value, const SettingValue& setting);
// The same with the setting's default.
DWORD ReadSetting(const SettingValue& setting);

// Each opens (or creates) the key and stores its value as REG_DWORD; nothing
// happens when the key cannot be opened.
void WriteSoundVolume(int volume);
void WriteSoundBalance(int balance);
void WriteMuteSound(int mute);
void WritePicPos(int position);

// Picture positions.
enum PicturePosition : int { PicStretch = 0, PicFit = 1, PicFill = 2 };

// The picture position, read from the registry on the first call only.
struct PicPosCacheRecord {
    bool read = false;
    int value = PicFill;
};
extern PicPosCacheRecord PicPosCache;
int GetPicturePosition();
void SetPicturePosition(int position);

// The values the music plays with, refreshed before each track.
struct MusicSettingsRecord {
    DWORD volume = 100;
    DWORD balance = 50;
    DWORD mute = 0;
};
extern MusicSettingsRecord MusicSettings;
// Reads the three sound values into MusicSettings, the current values
// serving as defaults.
void ReadMusicSettings();
