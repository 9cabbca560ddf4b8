#include "host/framework/MonitorSettings.h"

#include "host/framework/CD3DScreensaver.h"
#include "host/framework/Settings.h"

#include <cwchar>

namespace {

const wchar_t* const AdapterIdValue = L"Adapter ID";
const wchar_t* const LeaveBlackValue = L"Leave Black";
const wchar_t* const DisableHardwareValue = L"Disable Hardware";
const wchar_t* const WidthValue = L"Width";
const wchar_t* const HeightValue = L"Height";
const wchar_t* const FormatValue = L"Format";

class ScreenKey : public RegistryKey {
public:
    ScreenKey(HKEY settings, int monitorIndex, REGSAM access) : RegistryKey(settings, Name(monitorIndex).text, access)
    {
    }

private:
    struct KeyName {
        wchar_t text[32];
    };
    static KeyName Name(int monitorIndex)
    {
        KeyName name{};
        swprintf(name.text, 32, L"Screen %d", monitorIndex + 1);
        return name;
    }
};

void WriteMode(const RegistryKey& screen, const AdapterRecord& adapter)
{
    screen.WriteDword(WidthValue, adapter.storedWidth);
    screen.WriteDword(HeightValue, adapter.storedHeight);
    screen.WriteDword(FormatValue, adapter.storedFormat);
    screen.WriteBinary(AdapterIdValue, &adapter.identifier.DeviceIdentifier, sizeof(GUID));
}

} // namespace

AdapterRecord* AdapterOfMonitor(const CD3DScreensaver& saver, int monitor)
{
    if (monitor < 0 || monitor >= saver.monitorCount)
        return nullptr;
    const int a = saver.monitors[monitor].adapterIndex;
    if (a < 0 || a >= saver.adapterCount)
        return nullptr;
    return saver.adapters[a].get();
}

void ReadMonitorSettings(CD3DScreensaver& saver, const RegistryKey& key)
{
    key.ReadDword(AllScreensSameSetting.name, saver.allScreensSame);
    for (int m = 0; m < saver.monitorCount; ++m) {
        AdapterRecord* adapter = AdapterOfMonitor(saver, m);
        if (!adapter)
            continue;
        ScreenKey screen(key.Handle(), m, KEY_READ);
        GUID stored{};
        screen.ReadBytes(AdapterIdValue, &stored, sizeof stored);
        screen.ReadDword(LeaveBlackValue, adapter->leaveBlack);
        const GUID none{};
        if (IsEqualGUID(stored, adapter->identifier.DeviceIdentifier) || IsEqualGUID(stored, none)) {
            screen.ReadDword(DisableHardwareValue, adapter->disableHardware);
            screen.ReadDword(WidthValue, adapter->storedWidth);
            screen.ReadDword(HeightValue, adapter->storedHeight);
            screen.ReadDword(FormatValue, adapter->storedFormat);
        }
    }
}

void WriteMonitorSettings(const CD3DScreensaver& saver, const RegistryKey& key)
{
    key.WriteDword(AllScreensSameSetting.name, saver.allScreensSame);
    for (int m = 0; m < saver.monitorCount; ++m) {
        const AdapterRecord* adapter = AdapterOfMonitor(saver, m);
        if (!adapter)
            continue;
        ScreenKey screen(key.Handle(), m, KEY_WRITE);
        screen.WriteDword(LeaveBlackValue, adapter->leaveBlack);
        screen.WriteDword(DisableHardwareValue, adapter->disableHardware);
        WriteMode(screen, *adapter);
    }
}

void ReadSettingsFromRegistry(CD3DScreensaver& saver)
{
    RegistryKey key(HKEY_CURRENT_USER, SettingsKeyPath, KEY_READ);
    if (key.IsOpen())
        ReadMonitorSettings(saver, key);
}

void WriteSettings(const CD3DScreensaver& saver)
{
    RegistryKey key(HKEY_CURRENT_USER, SettingsKeyPath, KEY_WRITE);
    if (key.IsOpen())
        WriteMonitorSettings(saver, key);
}

void StoreScreenMode(const wchar_t* keyPath, const AdapterRecord& adapter)
{
    if (adapter.monitorIndex < 0)
        return;
    RegistryKey key(HKEY_CURRENT_USER, keyPath, KEY_WRITE);
    if (!key.IsOpen())
        return;
    ScreenKey screen(key.Handle(), adapter.monitorIndex, KEY_WRITE);
    WriteMode(screen, adapter);
}
