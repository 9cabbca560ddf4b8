#include "host/framework/CD3DScreensaver.h"
#include "host/framework/MonitorSettings.h"
#include "host/framework/RegistryKey.h"
#include "host/framework/Settings.h"
#include "tests/host/framework/RecordingSaver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { UseEmptyTestSettingsKey(); }

    static void Store(const wchar_t* name, DWORD value)
    {
        RegistryKey key(HKEY_CURRENT_USER, TestSettingsKeyPath, KEY_READ | KEY_WRITE);
        key.WriteDword(name, value);
    }
    static bool KeyExists(const std::wstring& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
};

TEST_F(SettingsTest, AbsentValuesGiveTheirDefaultsAndReadingCreatesTheKey)
{
    EXPECT_EQ(2u, ReadSetting(PicPosSetting));
    EXPECT_EQ(100u, ReadSetting(SoundVolumeSetting));
    EXPECT_EQ(50u, ReadSetting(SoundBalanceSetting));
    EXPECT_EQ(0u, ReadSetting(MuteSoundSetting));
    EXPECT_EQ(PicFill, GetPicturePosition());
    EXPECT_TRUE(KeyExists(TestSettingsKeyPath));

    // A caller's own default stays when the value is absent.
    DWORD volume = 37;
    ReadSetting(&volume, SoundVolumeSetting);
    EXPECT_EQ(37u, volume);
}

// Gives everyone only the access given to the key at path, as an account
// under a restricted token would have; a null DACL gives all access back.
bool RestrictKey(const wchar_t* path, REGSAM allowed)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    alignas(DWORD) BYTE buffer[256] = {};
    auto* acl = reinterpret_cast<PACL>(buffer);
    InitializeAcl(acl, sizeof buffer, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, allowed, everyone);
    SECURITY_DESCRIPTOR descriptor{};
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, allowed ? acl : nullptr, FALSE);
    const bool set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    FreeSid(everyone);
    RegCloseKey(key);
    return set;
}

// Settings that the account may read but not change are still read, and a
// write that it may not make changes nothing.
TEST_F(SettingsTest, AKeyThatMayOnlyBeReadStillGivesItsValues)
{
    Store(L"\"SoundVolume\"", 40);
    Store(L"\"PicPos\"", 1);
    ASSERT_TRUE(RestrictKey(TestSettingsKeyPath, KEY_READ));
    HKEY full = nullptr;
    ASSERT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, TestSettingsKeyPath, 0, KEY_ALL_ACCESS, &full));

    EXPECT_EQ(40u, ReadSetting(SoundVolumeSetting));
    EXPECT_EQ(PicFit, GetPicturePosition());
    WriteSoundVolume(10);
    EXPECT_EQ(40u, ReadSetting(SoundVolumeSetting));

    ASSERT_TRUE(RestrictKey(TestSettingsKeyPath, 0));
}

TEST_F(SettingsTest, WrittenValuesReadBackUnderTheirQuotedNames)
{
    WriteSoundVolume(40);
    WriteSoundBalance(0);
    WriteMuteSound(1);
    WritePicPos(1);
    EXPECT_EQ(40u, ReadSetting(SoundVolumeSetting));
    EXPECT_EQ(0u, ReadSetting(SoundBalanceSetting));
    EXPECT_EQ(1u, ReadSetting(MuteSoundSetting));
    EXPECT_EQ(1u, ReadSetting(PicPosSetting));

    // The names are eight and more characters with the quotes included.
    RegistryKey key(HKEY_CURRENT_USER, TestSettingsKeyPath, KEY_READ | KEY_WRITE);
    DWORD stored = 0;
    EXPECT_TRUE(key.ReadDword(L"\"PicPos\"", stored));
    EXPECT_EQ(1u, stored);
    EXPECT_TRUE(key.ReadDword(L"\"SoundVolume\"", stored));
    EXPECT_EQ(40u, stored);
    EXPECT_FALSE(key.ReadDword(L"PicPos", stored));
}

TEST_F(SettingsTest, PicPosWithoutQuotesIsNotRead)
{
    Store(L"PicPos", 0);
    EXPECT_EQ(PicFill, GetPicturePosition());
}

TEST_F(SettingsTest, OutOfRangeValuesAreClampedToTheirRange)
{
    Store(L"\"PicPos\"", 7);
    Store(L"\"SoundVolume\"", 5000);
    Store(L"\"SoundBalance\"", 0xFFFFFFFF);
    Store(L"\"MuteSound\"", 0xFFFFFFFF);
    EXPECT_EQ(PicFill, GetPicturePosition());
    EXPECT_EQ(100u, ReadSetting(SoundVolumeSetting));
    EXPECT_EQ(100u, ReadSetting(SoundBalanceSetting));
    // Any non-zero value means muted: nothing to clamp.
    EXPECT_EQ(0xFFFFFFFFu, ReadSetting(MuteSoundSetting));

    ReadMusicSettings();
    EXPECT_EQ(100u, MusicSettings.volume);
    EXPECT_EQ(100u, MusicSettings.balance);
}

TEST_F(SettingsTest, ValuesOfAnotherSizeKeepTheDefault)
{
    RegistryKey key(HKEY_CURRENT_USER, TestSettingsKeyPath, KEY_READ | KEY_WRITE);
    const wchar_t text[] = L"loud";
    RegSetValueExW(key.Handle(), L"\"SoundVolume\"", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    const BYTE twoBytes[2] = {1, 0};
    RegSetValueExW(key.Handle(), L"\"PicPos\"", 0, REG_BINARY, twoBytes, sizeof twoBytes);
    EXPECT_EQ(100u, ReadSetting(SoundVolumeSetting));
    EXPECT_EQ(2u, ReadSetting(PicPosSetting));
}

TEST_F(SettingsTest, SetPicturePositionBeforeAnyReadWinsOverTheRegistry)
{
    Store(L"\"PicPos\"", 1);
    SetPicturePosition(0);
    EXPECT_EQ(0u, ReadSetting(PicPosSetting));
    Store(L"\"PicPos\"", 1);
    // The cache answers without reading again.
    EXPECT_EQ(PicStretch, GetPicturePosition());
}

TEST_F(SettingsTest, PicturePositionIsReadOnceAndKeptInRange)
{
    Store(L"\"PicPos\"", 1);
    EXPECT_EQ(PicFit, GetPicturePosition());
    Store(L"\"PicPos\"", 0);
    EXPECT_EQ(PicFit, GetPicturePosition());
    // No selection in the dialog's list (CB_ERR) and out-of-range values
    // change nothing, in the cache or the registry.
    for (int noChoice : {-1, 3}) {
        SetPicturePosition(noChoice);
        EXPECT_EQ(PicFit, GetPicturePosition()) << noChoice;
        EXPECT_EQ(0u, ReadSetting(PicPosSetting)) << noChoice;
    }
    SetPicturePosition(PicStretch);
    EXPECT_EQ(PicStretch, GetPicturePosition());
}

TEST_F(SettingsTest, MusicSettingsKeepTheirValuesAsDefaults)
{
    MusicSettings = MusicSettingsRecord{30, 20, 0};
    WriteMuteSound(1);
    ReadMusicSettings();
    EXPECT_EQ(30u, MusicSettings.volume);
    EXPECT_EQ(20u, MusicSettings.balance);
    EXPECT_EQ(1u, MusicSettings.mute);
}

TEST_F(SettingsTest, NothingIsReadOrWrittenWithoutAKeyPath)
{
    SetSettingsKeyPath(L"");
    WriteSoundVolume(10);
    EXPECT_EQ(100u, ReadSetting(SoundVolumeSetting));
    // An empty path would otherwise name HKEY_CURRENT_USER itself.
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &root));
    EXPECT_NE(ERROR_SUCCESS, RegQueryValueExW(root, L"\"SoundVolume\"", nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(root);
}

TEST(ProgramSettings, LiveUnderTheProgramsKey)
{
    EXPECT_EQ(std::wstring(L"Software\\Quillmoor\\Glintcraft\\Screensaver\\"), ProgramSettingsKeyPath);
    SetSettingsKeyPath(ProgramSettingsKeyPath);
    ReadSetting(PicPosSetting);
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quillmoor\\Glintcraft\\Screensaver", 0,
                                           KEY_READ, &key));
    RegCloseKey(key);
    UseEmptyTestSettingsKey();
}

// The per-monitor values, on a framework with two monitors of two adapters.
class MonitorSettingsTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        saver.monitorCount = 3;
        for (int i = 0; i < 2; ++i) {
            saver.adapters[i].reset(new AdapterRecord{});
            saver.adapters[i]->monitorIndex = i;
            saver.adapters[i]->identifier.DeviceIdentifier = Guids[i];
            saver.monitors[i].adapterIndex = i;
        }
        saver.adapterCount = 2;
        // The third monitor has no adapter and gets no subkey.
        saver.monitors[2].adapterIndex = -1;
    }

    static std::wstring ScreenPath(int n) { return std::wstring(TestSettingsKeyPath) + L"Screen " + std::to_wstring(n); }

    RecordingSaver saver;
    const GUID Guids[2] = {{0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}},
                           {0x55555555, 0x6666, 0x7777, {8, 7, 6, 5, 4, 3, 2, 1}}};
};

TEST_F(MonitorSettingsTest, FreshUserGetsOneEmptySubkeyPerMonitorWithAnAdapter)
{
    ReadSettingsFromRegistry(saver);
    EXPECT_TRUE(KeyExists(ScreenPath(1)));
    EXPECT_TRUE(KeyExists(ScreenPath(2)));
    EXPECT_FALSE(KeyExists(ScreenPath(3)));
    EXPECT_EQ(0u, saver.adapters[0]->storedWidth);
    EXPECT_EQ(0u, saver.adapters[0]->leaveBlack);
    EXPECT_EQ(0u, saver.allScreensSame);
}

TEST_F(MonitorSettingsTest, WrittenValuesReadBackPerMonitor)
{
    AdapterRecord& first = *saver.adapters[0];
    first.leaveBlack = 1;
    first.disableHardware = 1;
    first.storedWidth = 1024;
    first.storedHeight = 768;
    first.storedFormat = D3DFMT_X8R8G8B8;
    saver.adapters[1]->storedWidth = 800;
    saver.allScreensSame = 1;
    WriteSettings(saver);

    RecordingSaver fresh;
    fresh.monitorCount = saver.monitorCount;
    for (int i = 0; i < 2; ++i) {
        fresh.adapters[i].reset(new AdapterRecord(*saver.adapters[i]));
        fresh.adapters[i]->leaveBlack = fresh.adapters[i]->disableHardware = 0;
        fresh.adapters[i]->storedWidth = fresh.adapters[i]->storedHeight = fresh.adapters[i]->storedFormat = 0;
        fresh.monitors[i].adapterIndex = i;
    }
    fresh.monitors[2].adapterIndex = -1;
    fresh.adapterCount = 2;
    ReadSettingsFromRegistry(fresh);

    EXPECT_EQ(1u, fresh.allScreensSame);
    EXPECT_EQ(1u, fresh.adapters[0]->leaveBlack);
    EXPECT_EQ(1u, fresh.adapters[0]->disableHardware);
    EXPECT_EQ(1024u, fresh.adapters[0]->storedWidth);
    EXPECT_EQ(768u, fresh.adapters[0]->storedHeight);
    EXPECT_EQ(static_cast<DWORD>(D3DFMT_X8R8G8B8), fresh.adapters[0]->storedFormat);
    EXPECT_EQ(800u, fresh.adapters[1]->storedWidth);
    EXPECT_EQ(0u, fresh.adapters[1]->leaveBlack);

    RegistryKey screen(HKEY_CURRENT_USER, ScreenPath(2).c_str(), KEY_READ | KEY_WRITE);
    GUID stored{};
    EXPECT_TRUE(screen.ReadBytes(L"Adapter ID", &stored, sizeof stored));
    EXPECT_TRUE(IsEqualGUID(Guids[1], stored));
}

TEST_F(MonitorSettingsTest, ValuesOfAnotherAdapterKeepOnlyLeaveBlack)
{
    {
        RegistryKey screen(HKEY_CURRENT_USER, ScreenPath(1).c_str(), KEY_READ | KEY_WRITE);
        screen.WriteBinary(L"Adapter ID", &Guids[1], sizeof(GUID));
        screen.WriteDword(L"Leave Black", 1);
        screen.WriteDword(L"Disable Hardware", 1);
        screen.WriteDword(L"Width", 640);
        screen.WriteDword(L"Height", 480);
        screen.WriteDword(L"Format", D3DFMT_R5G6B5);
    }
    ReadSettingsFromRegistry(saver);
    EXPECT_EQ(1u, saver.adapters[0]->leaveBlack);
    EXPECT_EQ(0u, saver.adapters[0]->disableHardware);
    EXPECT_EQ(0u, saver.adapters[0]->storedWidth);
    EXPECT_EQ(0u, saver.adapters[0]->storedFormat);
}

TEST_F(MonitorSettingsTest, ValuesWithoutAnAdapterIdApply)
{
    {
        RegistryKey screen(HKEY_CURRENT_USER, ScreenPath(2).c_str(), KEY_READ | KEY_WRITE);
        screen.WriteDword(L"Width", 640);
        screen.WriteDword(L"Height", 480);
    }
    ReadSettingsFromRegistry(saver);
    EXPECT_EQ(640u, saver.adapters[1]->storedWidth);
    EXPECT_EQ(480u, saver.adapters[1]->storedHeight);
}

} // namespace
