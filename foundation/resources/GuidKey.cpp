#include "foundation/resources/GuidKey.h"

#include "foundation/archive/DS_IOF_Virtual.h"

#include <cguid.h>
#include <objbase.h>

#include <cstring>

namespace {

// StringFromGUID2 writes 38 characters and the terminator.
constexpr int GuidTextLength = 38;

} // namespace

GuidKey GuidKey::Fresh()
{
    GuidKey key;
    // Should CoCreateGuid fail, the key keeps GUID_NULL: still a valid
    // identity, if one shared with every other key that could not get its own.
    if (FAILED(CoCreateGuid(&key.id)))
        key.id = GUID_NULL;
    key.flag = 1;
    return key;
}

bool GuidKeyLess::operator()(const GuidKey& a, const GuidKey& b) const
{
    return std::memcmp(&a.id, &b.id, sizeof(GUID)) < 0;
}

GuidEntry::GuidEntry() : GuidKey(Fresh()) {}

ds_string GuidText(const GUID& id)
{
    wchar_t text[GuidTextLength + 1] = {};
    StringFromGUID2(id, text, GuidTextLength + 1);
    return ds_string(text);
}

void WriteGuid(ArchiveHandle& handle, const GUID& id)
{
    ds_string text = GuidText(id);
    handle->WriteString(text);
}

void ReadGuid(ArchiveHandle& handle, GUID& id)
{
    ds_string text;
    handle->ReadString(text);
    // Only the braced registry form is handed to CLSIDFromString: any other
    // text would be looked up as a program id in the registry, and a stored
    // texture name must not depend on what is installed on the machine.
    const bool registryForm =
        text.size() == GuidTextLength && text.front() == L'{' && text.back() == L'}';
    GUID parsed = GUID_NULL;
    if (!registryForm || FAILED(CLSIDFromString(text.c_str(), &parsed)))
        parsed = GUID_NULL;
    id = parsed;
}
