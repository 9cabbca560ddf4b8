#include "host/dialogs/Browser.h"

#include <objbase.h>
#include <shellapi.h>

#include <vector>

namespace {

const wchar_t* const BrowserCommandKey = L"http\\shell\\open\\command";
constexpr wchar_t AddressPlaceholder[] = L"%1";
constexpr std::size_t PlaceholderLength = sizeof AddressPlaceholder / sizeof *AddressPlaceholder - 1;
// The longest command line CreateProcessW takes, without its terminating
// zero.
const std::size_t LongestCommandLine = 32766;

bool StartProcess(const std::wstring& commandLine)
{
    // CreateProcessW may write into the command line it is given.
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool StartRegisteredBrowser(const std::wstring& address)
{
    std::wstring command;
    std::wstring commandLine;
    return ReadBrowserCommand(command) && MakeBrowserCommandLine(command, address, commandLine) &&
           StartProcess(commandLine);
}

} // namespace

bool MakeBrowserCommandLine(const std::wstring& command, const std::wstring& address, std::wstring& commandLine)
{
    if (command.empty() || address.find(L'"') != std::wstring::npos)
        return false;
    std::wstring line;
    const std::size_t placeholder = command.find(AddressPlaceholder);
    if (placeholder != std::wstring::npos)
        line = command.substr(0, placeholder) + address + command.substr(placeholder + PlaceholderLength);
    else
        line = command + L" " + address;
    if (line.size() > LongestCommandLine)
        return false;
    commandLine = line;
    return true;
}

bool ReadBrowserCommand(std::wstring& command)
{
    // A REG_EXPAND_SZ value is expanded and then counts as REG_SZ.
    const DWORD types = RRF_RT_REG_SZ;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CLASSES_ROOT, BrowserCommandKey, nullptr, types, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    // The size asked first can fall short: the value can change meanwhile,
    // and its environment variables are expanded only when it is read.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<wchar_t> text(size / sizeof(wchar_t) + 1);
        DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS read =
            RegGetValueW(HKEY_CLASSES_ROOT, BrowserCommandKey, nullptr, types, nullptr, text.data(), &got);
        if (read == ERROR_SUCCESS) {
            // RegGetValueW ends the text with a zero even when the stored
            // value has none.
            command.assign(text.data());
            return true;
        }
        if (read != ERROR_MORE_DATA)
            return false;
        size = got > size ? got : size * 2;
    }
    return false;
}

bool OpenUrlInBrowser(const std::wstring& address)
{
    if (StartRegisteredBrowser(address))
        return true;
    // The shell may hand the address to a COM server.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const HINSTANCE opened = ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com))
        CoUninitialize();
    return reinterpret_cast<INT_PTR>(opened) > 32;
}
