// An open registry key that closes itself. Every key of the settings is
// opened the same way: created when absent, with full access.
#pragma once

#include <windows.h>

#include <cstddef>

class RegistryKey {
public:
    RegistryKey() = default;
    // Opens or creates path under parent; an empty or missing path opens
    // nothing (it would name the parent itself).
    RegistryKey(HKEY parent, const wchar_t* path);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool IsOpen() const { return key != nullptr; }
    HKEY Handle() const { return key; }

    // Reads a value of exactly size bytes into data. A missing value, or one
    // of another size, leaves data as it was and returns false.
    bool ReadBytes(const wchar_t* name, void* data, std::size_t size) const;
    bool ReadDword(const wchar_t* name, DWORD& value) const { return ReadBytes(name, &value, sizeof value); }

    void WriteDword(const wchar_t* name, DWORD value) const;
    void WriteBinary(const wchar_t* name, const void* data, std::size_t size) const;

private:
    HKEY key = nullptr;
};
