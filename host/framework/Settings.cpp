#include "host/framework/Settings.h"

#include "host/framework/RegistryKey.h"

#include <cwchar>

const wchar_t* const ProgramSettingsKeyPath = L"Software\\Quillmoor\\Glintcraft\\Screensaver\\";
wchar_t SettingsKeyPath[MAX_PATH] = {};

const SettingValue PicPosSetting{L"\"PicPos\"", PicFill, PicFill};
const SettingValue SoundVolumeSetting{L"\"SoundVolume\"", 100, 100};
const SettingValue SoundBalanceSetting{L"\"SoundBalance\"", 50, 100};
const SettingValue MuteSoundSetting{L"\"MuteSound\"", 0, MAXDWORD};
const SettingValue AllScreensSameSetting{L"AllScreensSame", 0, MAXDWORD};

PicPosCacheRecord PicPosCache;
MusicSettingsRecord MusicSettings;

namespace {

void WriteSetting(const SettingValue& setting, int value)
{
    RegistryKey key(HKEY_CURRENT_USER, SettingsKeyPath, KEY_WRITE);
    key.WriteDword(setting.name, static_cast<DWORD>(value));
}

} // namespace

void SetSettingsKeyPath(const wchar_t* path)
{
    wcsncpy(SettingsKeyPath, path ? path : L"", MAX_PATH - 1);
    SettingsKeyPath[MAX_PATH - 1] = L'\0';
}

void ReadSetting(DWORD* value, const SettingValue& setting)
{
    RegistryKey key(HKEY_CURRENT_USER, SettingsKeyPath, KEY_READ);
    DWORD stored = 0;
    if (!key.ReadDword(setting.name, stored))
        return;
    // Anyone can write the registry: a volume of 5000 or a picture position
    // of 7 must not reach the code that indexes or scales with them.
    *value = stored > setting.largest ? setting.largest : stored;
}

DWORD ReadSetting(const SettingValue& setting)
{
    DWORD value = setting.defaultValue;
    ReadSetting(&value, setting);
    return value;
}

void WriteSoundVolume(int volume)
{
    WriteSetting(SoundVolumeSetting, volume);
}

void WriteSoundBalance(int balance)
{
    WriteSetting(SoundBalanceSetting, balance);
}

void WriteMuteSound(int mute)
{
    WriteSetting(MuteSoundSetting, mute);
}

void WritePicPos(int position)
{
    WriteSetting(PicPosSetting, position);
}

int GetPicturePosition()
{
    if (!PicPosCache.read) {
        PicPosCache.value = static_cast<int>(ReadSetting(PicPosSetting));
        PicPosCache.read = true;
    }
    return PicPosCache.value;
}

void SetPicturePosition(int position)
{
    if (!PicPosCache.read) {
        // Read once and dropped, so that a later GetPicturePosition does not
        // read the registry over the value set here.
        ReadSetting(PicPosSetting);
        PicPosCache.read = true;
    }
    // A dialog's combo box gives CB_ERR (-1) when nothing is selected: no
    // choice was made, and the position stays as it is.
    if (position < PicStretch || position > PicFill)
        return;
    PicPosCache.value = position;
    WritePicPos(position);
}

void ReadMusicSettings()
{
    ReadSetting(&MusicSettings.volume, SoundVolumeSetting);
    ReadSetting(&MusicSettings.balance, SoundBalanceSetting);
    ReadSetting(&MusicSettings.mute, MuteSoundSetting);
}
