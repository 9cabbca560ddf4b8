#include "host/dialogs/Browser.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::wstring Address = L"https://example.org/?a=1&b=2";

struct CommandCase {
    const wchar_t* command;
    const wchar_t* expected;
};

TEST(BrowserCommandLine, PutsTheAddressInPlaceOfTheFirstPlaceholderOrAfterABlank)
{
    const CommandCase cases[] = {
        {L"\"C:\\Web\\browser.exe\" -url \"%1\"", L"\"C:\\Web\\browser.exe\" -url \"https://example.org/?a=1&b=2\""},
        {L"\"C:\\Web\\browser.exe\" --single-argument %1",
         L"\"C:\\Web\\browser.exe\" --single-argument https://example.org/?a=1&b=2"},
        {L"C:\\Web\\browser.exe", L"C:\\Web\\browser.exe https://example.org/?a=1&b=2"},
        // Nothing but the placeholder is interpreted: printf-like and shell
        // sequences stay as they are.
        {L"\"C:\\Web\\browser.exe\" %L %* %s%s%n%% \"%1\"",
         L"\"C:\\Web\\browser.exe\" %L %* %s%s%n%% \"https://example.org/?a=1&b=2\""},
        {L"browser %L %s %n", L"browser %L %s %n https://example.org/?a=1&b=2"},
    };
    for (const CommandCase& c : cases) {
        std::wstring line;
        EXPECT_TRUE(MakeBrowserCommandLine(c.command, Address, line)) << c.command;
        EXPECT_EQ(std::wstring(c.expected), line) << c.command;
    }
}

TEST(BrowserCommandLine, TheAddressIsInsertedAsText)
{
    std::wstring line;
    ASSERT_TRUE(MakeBrowserCommandLine(L"browser \"%1\"", L"https://example.org/%1%s?q=%25", line));
    EXPECT_EQ(L"browser \"https://example.org/%1%s?q=%25\"", line);
}

TEST(BrowserCommandLine, RefusesWhatCannotBeStartedWhole)
{
    const std::wstring untouched = L"untouched";
    // The longest line a process starts with is 32766 characters.
    const std::wstring longest(32766 - 1 - Address.size(), L'b');
    struct {
        std::wstring command;
        std::wstring address;
        bool accepted;
    } cases[] = {
        {L"", Address, false},
        {L"browser \"%1\"", L"https://example.org/\" --evil", false},
        {longest, Address, true},
        {longest + L"b", Address, false},
    };
    for (const auto& c : cases) {
        std::wstring line = untouched;
        EXPECT_EQ(c.accepted, MakeBrowserCommandLine(c.command, c.address, line)) << c.command.size();
        if (c.accepted)
            EXPECT_EQ(32766u, line.size());
        else
            EXPECT_EQ(untouched, line);
    }
}

} // namespace
