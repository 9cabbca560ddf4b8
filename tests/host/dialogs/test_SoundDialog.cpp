#include "host/dialogs/SoundDialog.h"
#include "host/framework/RegistryKey.h"
#include "host/framework/Settings.h"
#include "res/resource.h"
#include "tests/host/dialogs/DialogFixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class SoundDialogTest : public ::testing::Test {
protected:
    void SetUp() override { UseEmptyDialogTestKey(); }

    static void Store(const wchar_t* name, DWORD value)
    {
        RegistryKey(HKEY_CURRENT_USER, DialogTestKeyPath, KEY_READ | KEY_WRITE).WriteDword(name, value);
    }
    static bool Stored(const wchar_t* name, DWORD& value)
    {
        return RegistryKey(HKEY_CURRENT_USER, DialogTestKeyPath, KEY_READ | KEY_WRITE).ReadDword(name, value);
    }
    static LRESULT Position(const TestDialog& dialog)
    {
        return SendMessageW(dialog.Item(IDC_VOLUME), TBM_GETPOS, 0, 0);
    }

    DialogSaver saver;
};

TEST_F(SoundDialogTest, ShowsTheStoredValuesWithTheLoudestAtTheTop)
{
    {
        TestDialog dialog(IDD_SOUND_SETTINGS, SoundDialogTrampoline, saver);
        ASSERT_TRUE(dialog.Get());
        EXPECT_EQ(0, Position(dialog));
        EXPECT_FALSE(dialog.Checked(IDC_MUTE));
        EXPECT_EQ(0, SendMessageW(dialog.Item(IDC_VOLUME), TBM_GETRANGEMIN, 0, 0));
        EXPECT_EQ(100, SendMessageW(dialog.Item(IDC_VOLUME), TBM_GETRANGEMAX, 0, 0));
    }
    Store(L"\"SoundVolume\"", 40);
    Store(L"\"MuteSound\"", 1);
    TestDialog dialog(IDD_SOUND_SETTINGS, SoundDialogTrampoline, saver);
    EXPECT_EQ(60, Position(dialog));
    EXPECT_TRUE(dialog.Checked(IDC_MUTE));
}

TEST_F(SoundDialogTest, OkStoresTheVolumeTheMuteSwitchAndNoBalance)
{
    struct {
        int position;
        bool mute;
        DWORD volume;
    } const cases[] = {{0, false, 100}, {100, true, 0}, {25, false, 75}};
    for (const auto& c : cases) {
        Store(L"\"SoundBalance\"", 50);
        TestDialog dialog(IDD_SOUND_SETTINGS, SoundDialogTrampoline, saver);
        SendMessageW(dialog.Item(IDC_VOLUME), TBM_SETPOS, TRUE, c.position);
        CheckDlgButton(dialog.Get(), IDC_MUTE, c.mute ? BST_CHECKED : BST_UNCHECKED);
        dialog.Click(IDOK);
        DWORD volume = 0;
        DWORD mute = 0;
        DWORD balance = 0;
        EXPECT_TRUE(Stored(L"\"SoundVolume\"", volume));
        EXPECT_TRUE(Stored(L"\"MuteSound\"", mute));
        EXPECT_TRUE(Stored(L"\"SoundBalance\"", balance));
        EXPECT_EQ(c.volume, volume) << c.position;
        EXPECT_EQ(c.mute ? 1u : 0u, mute) << c.position;
        EXPECT_EQ(0u, balance);
    }
}

TEST_F(SoundDialogTest, CancelStoresNothing)
{
    TestDialog dialog(IDD_SOUND_SETTINGS, SoundDialogTrampoline, saver);
    SendMessageW(dialog.Item(IDC_VOLUME), TBM_SETPOS, TRUE, 70);
    CheckDlgButton(dialog.Get(), IDC_MUTE, BST_CHECKED);
    dialog.Click(IDCANCEL);
    DWORD value = 0;
    EXPECT_FALSE(Stored(L"\"SoundVolume\"", value));
    EXPECT_FALSE(Stored(L"\"MuteSound\"", value));
    EXPECT_FALSE(Stored(L"\"SoundBalance\"", value));
}

} // namespace
