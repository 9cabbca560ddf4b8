// An open registry key that closes itself. Every key of the settings is
// opened the same way: created when absent, with the access its use needs
// (KEY_READ to read, KEY_WRITE to write), so that a restricted account still
// reads the settings it may read.
#pragma once

#include <windows.h>

#include <cstddef>

class RegistryKey {
public:
    RegistryKey() = default;
    // Opens or creates path under parent with the access asked for; an
    // empty or missing path opens nothing (it would name the parent itself).
    RegistryKey(HKEY parent, const wchar_t* path, REGSAM access);
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
