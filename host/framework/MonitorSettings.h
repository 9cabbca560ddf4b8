// The per-monitor settings: under the settings key, a subkey "Screen %d" for
// each monitor that has an adapter (counted from 1), holding the adapter's
// GUID, whether the monitor stays black or uses the software device, and its
// display mode; and "AllScreensSame" at the key itself.
#pragma once

#include "host/framework/DeviceRecords.h"
#include "host/framework/RegistryKey.h"

class CD3DScreensaver;

// The adapter record of the monitor, or null when the monitor has none or
// is not in the monitor list.
AdapterRecord* AdapterOfMonitor(const CD3DScreensaver& saver, int monitor);

// Reads "AllScreensSame" and each monitor's values into its adapter record.
// Values stored for another adapter than the monitor's own are ignored but
// for "Leave Black".
void ReadMonitorSettings(CD3DScreensaver& saver, const RegistryKey& key);
void WriteMonitorSettings(const CD3DScreensaver& saver, const RegistryKey& key);

// The same under SettingsKeyPath (opened, or created when absent).
void ReadSettingsFromRegistry(CD3DScreensaver& saver);
void WriteSettings(const CD3DScreensaver& saver);

// Stores the adapter's display mode and GUID under its monitor's subkey of
// keyPath, after a full-screen device had to fall back to that mode.
void StoreScreenMode(const wchar_t* keyPath, const AdapterRecord& adapter);
