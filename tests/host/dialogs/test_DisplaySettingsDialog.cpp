#include "host/dialogs/DisplaySettingsDialog.h"
#include "res/resource.h"
#include "tests/host/dialogs/DialogFixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<ModeRecord> Modes = {
    {640, 480, D3DFMT_X8R8G8B8, 0, D3DFMT_D24S8},
    {800, 600, D3DFMT_R5G6B5, 0, D3DFMT_D16},
    {800, 600, D3DFMT_X8R8G8B8, 0, D3DFMT_D24S8},
    {1024, 768, D3DFMT_A8R8G8B8, 0, D3DFMT_D24S8},
};

std::wstring StringText(UINT id)
{
    wchar_t text[512] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, text, 512);
    return text;
}

const int ModeControls[] = {IDC_MODE_LIST, IDC_MODE_LABEL, IDC_MODE_GROUP, IDC_MODE_NOTE};

TEST(DisplaySettingsTemplate, HasTabsFromTwoAdaptersOn)
{
    EXPECT_EQ(IDD_DISPLAY_SETTINGS, DisplaySettingsTemplate(0));
    EXPECT_EQ(IDD_DISPLAY_SETTINGS, DisplaySettingsTemplate(1));
    EXPECT_EQ(IDD_DISPLAY_SETTINGS_TABS, DisplaySettingsTemplate(2));
    EXPECT_EQ(IDD_DISPLAY_SETTINGS_TABS, DisplaySettingsTemplate(9));
}

TEST(AdapterTexts, FollowWhatTheAdapterCanRenderWith)
{
    // hasHal, halUsable, hasSoftware, softwareUsable, disableHardware.
    struct Case {
        DWORD flags[5];
        UINT help;
        UINT rendering;
    } const cases[] = {
        {{1, 1, 1, 1, 0}, 2200, 2210},
        {{1, 0, 1, 1, 0}, 2201, 2211},
        {{1, 0, 1, 0, 0}, 2202, 2212},
        {{1, 0, 0, 0, 0}, 2203, 2212},
        {{0, 0, 1, 1, 0}, 2204, 2211},
        {{0, 0, 1, 0, 0}, 2205, 2212},
        {{0, 0, 0, 0, 0}, 2206, 2212},
        {{1, 1, 1, 1, 1}, 2207, 2211},
        {{1, 1, 1, 0, 1}, 2208, 2212},
        {{1, 1, 0, 0, 1}, 2209, 2212},
    };
    for (const Case& c : cases) {
        AdapterRecord adapter{};
        adapter.hasHal = c.flags[0];
        adapter.halUsable = c.flags[1];
        adapter.hasSoftware = c.flags[2];
        adapter.softwareUsable = c.flags[3];
        adapter.disableHardware = c.flags[4];
        EXPECT_EQ(c.help, HelpTextId(&adapter)) << c.help;
        EXPECT_EQ(c.rendering, RenderingTextId(&adapter)) << c.help;
        EXPECT_FALSE(StringText(c.help).empty());
    }
    EXPECT_EQ(2206u, HelpTextId(nullptr));
    EXPECT_EQ(2212u, RenderingTextId(nullptr));
}

class DisplaySettingsTest : public ::testing::Test {
protected:
    DialogSaver saver;
};

TEST_F(DisplaySettingsTest, OnePageShowsTheAdapterAndListsItsModesAfterAutomatic)
{
    AdapterRecord& adapter = saver.AddMonitorWithAdapter(L"Night & Day Graphics", Modes);
    adapter.storedWidth = 800;
    adapter.storedHeight = 600;
    adapter.storedFormat = D3DFMT_X8R8G8B8;
    TestDialog dialog(IDD_DISPLAY_SETTINGS, DisplaySettingsDlgProc, saver);
    ASSERT_TRUE(dialog.Get());

    EXPECT_EQ(L"Night & Day Graphics", dialog.Text(IDC_ADAPTER_NAME));
    EXPECT_EQ(StringText(2210), dialog.Text(IDC_RENDERING));
    EXPECT_TRUE(dialog.Enabled(IDC_DISABLE_HARDWARE));
    EXPECT_FALSE(dialog.Checked(IDC_DISABLE_HARDWARE));
    const std::vector<std::wstring> expected = {L"Automatic", L"640 by 480, 32 bit color", L"800 by 600, 16 bit color",
                                                L"800 by 600, 32 bit color", L"1024 by 768, 32 bit color"};
    EXPECT_EQ(expected, dialog.ComboItems(IDC_MODE_LIST));
    EXPECT_EQ(3, dialog.ComboSelection(IDC_MODE_LIST));
    for (int id : ModeControls)
        EXPECT_TRUE(dialog.Enabled(id)) << id;
}

TEST_F(DisplaySettingsTest, AStoredModeTheDeviceDoesNotListSelectsAutomatic)
{
    AdapterRecord& adapter = saver.AddMonitorWithAdapter(L"adapter", Modes);
    adapter.storedWidth = 800;
    adapter.storedHeight = 600;
    adapter.storedFormat = D3DFMT_A8R8G8B8;
    TestDialog dialog(IDD_DISPLAY_SETTINGS, DisplaySettingsDlgProc, saver);
    EXPECT_EQ(0, dialog.ComboSelection(IDC_MODE_LIST));
}

TEST_F(DisplaySettingsTest, ChoicesChangeTheAdapterRecordAndOkKeepsThem)
{
    AdapterRecord& adapter = saver.AddMonitorWithAdapter(L"adapter", Modes);
    TestDialog dialog(IDD_DISPLAY_SETTINGS, DisplaySettingsDlgProc, saver);

    dialog.Choose(IDC_MODE_LIST, 2);
    EXPECT_EQ(800u, adapter.storedWidth);
    EXPECT_EQ(600u, adapter.storedHeight);
    EXPECT_EQ(static_cast<DWORD>(D3DFMT_R5G6B5), adapter.storedFormat);

    dialog.SetCheck(IDC_DISABLE_HARDWARE, true);
    EXPECT_EQ(1u, adapter.disableHardware);
    // The page is shown again: software rendering now.
    EXPECT_EQ(StringText(2211), dialog.Text(IDC_RENDERING));
    EXPECT_TRUE(dialog.Checked(IDC_DISABLE_HARDWARE));

    dialog.Click(IDOK);
    EXPECT_EQ(800u, adapter.storedWidth);
    EXPECT_EQ(1u, adapter.disableHardware);

    TestDialog again(IDD_DISPLAY_SETTINGS, DisplaySettingsDlgProc, saver);
    again.Choose(IDC_MODE_LIST, 0);
    EXPECT_EQ(0u, adapter.storedWidth);
    EXPECT_EQ(0u, adapter.storedHeight);
    EXPECT_EQ(0u, adapter.storedFormat);
}

TEST_F(DisplaySettingsTest, CancelPutsBackWhatTheDialogOpenedWith)
{
    AdapterRecord& first = saver.AddMonitorWithAdapter(L"first", Modes);
    AdapterRecord& second = saver.AddMonitorWithAdapter(L"second", Modes);
    first.storedWidth = 640;
    first.storedHeight = 480;
    first.storedFormat = D3DFMT_X8R8G8B8;
    TestDialog dialog(IDD_DISPLAY_SETTINGS_TABS, DisplaySettingsDlgProc, saver);

    dialog.Choose(IDC_MODE_LIST, 4);
    dialog.SetCheck(IDC_DISABLE_HARDWARE, true);
    dialog.SetCheck(IDC_ALL_SCREENS_SAME, true);
    dialog.SelectTab(IDC_MONITOR_TABS, 1);
    dialog.ChooseRadio(IDC_SHOW_SAVER, IDC_SHOW_NOTHING, IDC_SHOW_NOTHING);
    ASSERT_EQ(1024u, first.storedWidth);
    ASSERT_EQ(1u, second.leaveBlack);
    ASSERT_EQ(1u, saver.allScreensSame);

    dialog.Click(IDCANCEL);
    EXPECT_EQ(640u, first.storedWidth);
    EXPECT_EQ(480u, first.storedHeight);
    EXPECT_EQ(0u, first.disableHardware);
    EXPECT_EQ(0u, second.leaveBlack);
    EXPECT_EQ(0u, saver.allScreensSame);
}

TEST_F(DisplaySettingsTest, TabsShowOneMonitorEachAndEditThatMonitorsAdapter)
{
    AdapterRecord& first = saver.AddMonitorWithAdapter(L"first adapter", Modes);
    AdapterRecord& second = saver.AddMonitorWithAdapter(L"second adapter", {Modes[0]});
    saver.AddMonitorWithoutAdapter(L"third adapter");
    saver.allScreensSame = 1;
    TestDialog dialog(IDD_DISPLAY_SETTINGS_TABS, DisplaySettingsDlgProc, saver);
    ASSERT_TRUE(dialog.Get());

    const HWND tabs = dialog.Item(IDC_MONITOR_TABS);
    ASSERT_EQ(3, TabCtrl_GetItemCount(tabs));
    for (int i = 0; i < 3; ++i) {
        wchar_t label[32] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = label;
        item.cchTextMax = 32;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(L"Monitor " + std::to_wstring(i + 1), label);
    }
    EXPECT_TRUE(dialog.Checked(IDC_ALL_SCREENS_SAME));
    EXPECT_EQ(L"first adapter", dialog.Text(IDC_ADAPTER_NAME));
    EXPECT_TRUE(dialog.Checked(IDC_SHOW_SAVER));

    dialog.SelectTab(IDC_MONITOR_TABS, 1);
    EXPECT_EQ(L"second adapter", dialog.Text(IDC_ADAPTER_NAME));
    EXPECT_EQ(2u, dialog.ComboItems(IDC_MODE_LIST).size());
    dialog.Choose(IDC_MODE_LIST, 1);
    dialog.ChooseRadio(IDC_SHOW_SAVER, IDC_SHOW_NOTHING, IDC_SHOW_NOTHING);
    EXPECT_EQ(640u, second.storedWidth);
    EXPECT_EQ(1u, second.leaveBlack);
    EXPECT_EQ(0u, first.storedWidth);
    EXPECT_EQ(0u, first.leaveBlack);
    for (int id : ModeControls)
        EXPECT_FALSE(dialog.Enabled(id)) << id;

    // A monitor without an adapter: nothing to choose.
    dialog.SelectTab(IDC_MONITOR_TABS, 2);
    EXPECT_EQ(L"third adapter", dialog.Text(IDC_ADAPTER_NAME));
    EXPECT_EQ(StringText(2212), dialog.Text(IDC_RENDERING));
    EXPECT_TRUE(dialog.ComboItems(IDC_MODE_LIST).empty());
    EXPECT_TRUE(dialog.Checked(IDC_SHOW_NOTHING));
    EXPECT_FALSE(dialog.Enabled(IDC_SHOW_SAVER));

    // Back on the first page, its own values show again.
    dialog.SelectTab(IDC_MONITOR_TABS, 0);
    EXPECT_TRUE(dialog.Checked(IDC_SHOW_SAVER));
    EXPECT_FALSE(dialog.Checked(IDC_SHOW_NOTHING));
    for (int id : ModeControls)
        EXPECT_TRUE(dialog.Enabled(id)) << id;
}

// The page without tabs has no usage buttons: a stored "Leave Black" must
// not keep the monitor black with nothing on the page to undo it. Cancel
// still puts the stored choice back.
TEST_F(DisplaySettingsTest, ThePageWithoutTabsShowsTheSaverOverAStoredLeaveBlack)
{
    AdapterRecord& adapter = saver.AddMonitorWithAdapter(L"adapter", Modes);
    adapter.leaveBlack = TRUE;
    {
        TestDialog dialog(IDD_DISPLAY_SETTINGS, DisplaySettingsDlgProc, saver);
        ASSERT_TRUE(dialog.Get());
        ASSERT_FALSE(dialog.Item(IDC_SHOW_NOTHING));
        EXPECT_EQ(0u, adapter.leaveBlack);
        for (int id : ModeControls)
            EXPECT_TRUE(dialog.Enabled(id)) << id;
        dialog.Click(IDCANCEL);
    }
    EXPECT_EQ(1u, adapter.leaveBlack);

    TestDialog dialog(IDD_DISPLAY_SETTINGS, DisplaySettingsDlgProc, saver);
    dialog.Click(IDOK);
    EXPECT_EQ(0u, adapter.leaveBlack);
}

// The texts of the modes come from a fixed format, whatever the hidden
// pattern control of the template says.
TEST_F(DisplaySettingsTest, ModeTextsDoNotUseAControlsTextAsTheirFormat)
{
    saver.AddMonitorWithAdapter(L"first", Modes);
    saver.AddMonitorWithAdapter(L"second", Modes);
    TestDialog dialog(IDD_DISPLAY_SETTINGS_TABS, DisplaySettingsDlgProc, saver);
    ASSERT_TRUE(dialog.Get());
    SetDlgItemTextW(dialog.Get(), IDC_MODE_PATTERN, L"%d x %d");
    dialog.SelectTab(IDC_MONITOR_TABS, 1);
    const std::vector<std::wstring> items = dialog.ComboItems(IDC_MODE_LIST);
    ASSERT_EQ(5u, items.size());
    EXPECT_EQ(L"640 by 480, 32 bit color", items[1]);
    EXPECT_EQ(L"800 by 600, 16 bit color", items[2]);
}

TEST_F(DisplaySettingsTest, AnAdapterWithoutAUsableDeviceCanOnlyShowNothing)
{
    AdapterRecord& adapter = saver.AddMonitorWithAdapter(L"adapter", Modes);
    adapter.halUsable = FALSE;
    adapter.softwareUsable = FALSE;
    AdapterRecord& other = saver.AddMonitorWithAdapter(L"other", Modes);
    other.hasHal = FALSE;
    other.halUsable = FALSE;
    TestDialog dialog(IDD_DISPLAY_SETTINGS_TABS, DisplaySettingsDlgProc, saver);

    EXPECT_EQ(StringText(2212), dialog.Text(IDC_RENDERING));
    EXPECT_TRUE(dialog.Checked(IDC_SHOW_NOTHING));
    EXPECT_FALSE(dialog.Checked(IDC_SHOW_SAVER));
    for (int id : {IDC_SHOW_SAVER, IDC_SHOW_NOTHING, IDC_USAGE_GROUP, IDC_DISABLE_HARDWARE})
        EXPECT_FALSE(dialog.Enabled(id)) << id;
    for (int id : ModeControls)
        EXPECT_FALSE(dialog.Enabled(id)) << id;
    // Shown, not chosen: the stored choice stays.
    EXPECT_EQ(0u, adapter.leaveBlack);

    // Software only: usable, but there is no hardware to turn off.
    dialog.SelectTab(IDC_MONITOR_TABS, 1);
    EXPECT_EQ(StringText(2211), dialog.Text(IDC_RENDERING));
    EXPECT_FALSE(dialog.Enabled(IDC_DISABLE_HARDWARE));
    EXPECT_TRUE(dialog.Enabled(IDC_SHOW_SAVER));
    EXPECT_TRUE(dialog.Checked(IDC_SHOW_SAVER));
}

} // namespace
