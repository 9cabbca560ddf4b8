#include "tools/document/ResourceRecords.h"

#include <cwchar>

std::wstring GuidRegistryText(const GUID& id)
{
    wchar_t text[39] = {};
    std::swprintf(text, 39, L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(id.Data1), static_cast<unsigned>(id.Data2),
                  static_cast<unsigned>(id.Data3), static_cast<unsigned>(id.Data4[0]),
                  static_cast<unsigned>(id.Data4[1]), static_cast<unsigned>(id.Data4[2]),
                  static_cast<unsigned>(id.Data4[3]), static_cast<unsigned>(id.Data4[4]),
                  static_cast<unsigned>(id.Data4[5]), static_cast<unsigned>(id.Data4[6]),
                  static_cast<unsigned>(id.Data4[7]));
    return text;
}

DocumentBuilder& GuidString(DocumentBuilder& builder, const GUID& id)
{
    return builder.String(GuidRegistryText(id));
}
