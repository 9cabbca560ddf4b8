#include "host/framework/RegistryKey.h"

RegistryKey::RegistryKey(HKEY parent, const wchar_t* path, REGSAM access)
{
    if (!parent || !path || !*path)
        return;
    HKEY opened = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &opened,
                        &disposition) == ERROR_SUCCESS)
        key = opened;
}

RegistryKey::~RegistryKey()
{
    if (key)
        RegCloseKey(key);
}

bool RegistryKey::ReadBytes(const wchar_t* name, void* data, std::size_t size) const
{
    if (!key)
        return false;
    // Read into a buffer of our own: after a failed or short read the
    // caller's default must still be intact, and a value larger than the
    // buffer leaves its contents undefined.
    BYTE buffer[16] = {};
    if (size > sizeof buffer)
        return false;
    DWORD got = static_cast<DWORD>(size);
    if (RegQueryValueExW(key, name, nullptr, nullptr, buffer, &got) != ERROR_SUCCESS || got != size)
        return false;
    CopyMemory(data, buffer, size);
    return true;
}

void RegistryKey::WriteDword(const wchar_t* name, DWORD value) const
{
    if (key)
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void RegistryKey::WriteBinary(const wchar_t* name, const void* data, std::size_t size) const
{
    if (key)
        RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
}
