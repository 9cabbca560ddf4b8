#include "host/dialogs/SettingsDialog.h"
#include "host/framework/RegistryKey.h"
#include "host/framework/Settings.h"
#include "res/resource.h"
#include "tests/host/dialogs/DialogFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseEmptyDialogTestKey();
        adapter = &saver.AddMonitorWithAdapter(L"adapter", {{800, 600, D3DFMT_X8R8G8B8, 0, D3DFMT_D24S8}});
    }

    static bool Stored(const wchar_t* subkey, const wchar_t* name, DWORD& value)
    {
        RegistryKey key(HKEY_CURRENT_USER, (std::wstring(DialogTestKeyPath) + subkey).c_str(), KEY_READ | KEY_WRITE);
        return key.ReadDword(name, value);
    }

    DialogSaver saver;
    AdapterRecord* adapter = nullptr;
};

TEST_F(SettingsDialogTest, OpensWithThePositionsTheStoredChoiceAndTheTitle)
{
    RegistryKey(HKEY_CURRENT_USER, DialogTestKeyPath, KEY_READ | KEY_WRITE).WriteDword(L"\"PicPos\"", 0);
    adapter->storedWidth = 800;
    TestDialog dialog(IDD_SETTINGS, SettingsDlgProc, saver);
    ASSERT_TRUE(dialog.Get());

    wchar_t caption[64] = {};
    GetWindowTextW(dialog.Get(), caption, 64);
    EXPECT_EQ(std::wstring(L"Nightglass"), caption);
    const std::vector<std::wstring> positions = {L"Stretch", L"Fit", L"Fill"};
    EXPECT_EQ(positions, dialog.ComboItems(IDC_PICTURE_POSITION));
    EXPECT_EQ(PicStretch, dialog.ComboSelection(IDC_PICTURE_POSITION));
    // The values read at start are stored again as the dialog opens.
    DWORD width = 0;
    EXPECT_TRUE(Stored(L"Screen 1", L"Width", width));
    EXPECT_EQ(800u, width);
}

TEST_F(SettingsDialogTest, OkStoresThePositionAndTheMonitorValues)
{
    TestDialog dialog(IDD_SETTINGS, SettingsDlgProc, saver);
    EXPECT_EQ(PicFill, dialog.ComboSelection(IDC_PICTURE_POSITION));
    dialog.Choose(IDC_PICTURE_POSITION, PicFit);
    adapter->leaveBlack = 1;
    dialog.Click(IDOK);

    DWORD value = 0;
    EXPECT_TRUE(Stored(L"", L"\"PicPos\"", value));
    EXPECT_EQ(1u, value);
    EXPECT_EQ(PicFit, GetPicturePosition());
    EXPECT_TRUE(Stored(L"Screen 1", L"Leave Black", value));
    EXPECT_EQ(1u, value);
}

TEST_F(SettingsDialogTest, CancelStoresNoPositionAndForgetsWhatTheDisplayDialogChanged)
{
    adapter->storedWidth = 800;
    TestDialog dialog(IDD_SETTINGS, SettingsDlgProc, saver);
    dialog.Choose(IDC_PICTURE_POSITION, PicStretch);
    adapter->storedWidth = 1024;
    adapter->leaveBlack = 1;
    saver.allScreensSame = 1;
    dialog.Click(IDCANCEL);

    DWORD value = 0;
    EXPECT_FALSE(Stored(L"", L"\"PicPos\"", value));
    EXPECT_EQ(PicFill, GetPicturePosition());
    EXPECT_EQ(800u, adapter->storedWidth);
    EXPECT_EQ(0u, adapter->leaveBlack);
    EXPECT_EQ(0u, saver.allScreensSame);
}

} // namespace
