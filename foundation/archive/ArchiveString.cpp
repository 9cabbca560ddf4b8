#include "foundation/archive/ArchiveString.h"

#include "foundation/core/SaverError.h"

namespace {

constexpr std::size_t MarkerBytes = 3;
constexpr uint8_t LongerLength8 = 0xFF;
constexpr uint16_t LongerLength16 = 0xFFFF;

uint32_t LoadLittleEndian(const uint8_t* bytes, std::size_t count)
{
    uint32_t v = 0;
    for (std::size_t i = count; i-- > 0;)
        v = (v << 8) | bytes[i];
    return v;
}

[[noreturn]] void Fail()
{
    throw MediaLoadError("string runs past the end of the document");
}

} // namespace

std::size_t ParseArchiveString(const uint8_t* bytes, const uint8_t* end, ds_string& target)
{
    const std::size_t available = end > bytes ? static_cast<std::size_t>(end - bytes) : 0;
    std::size_t header = MarkerBytes + 1;
    if (available < header)
        Fail();
    // The marker's three bytes are skipped without being looked at.
    uint64_t length = bytes[MarkerBytes];
    if (length == LongerLength8) {
        header += 2;
        if (available < header)
            Fail();
        length = LoadLittleEndian(bytes + 4, 2);
        if (length == LongerLength16) {
            header += 4;
            if (available < header)
                Fail();
            length = LoadLittleEndian(bytes + 6, 4);
        }
    }
    if (length > (available - header) / 2)
        Fail();

    const uint8_t* units = bytes + header;
    std::size_t kept = 0;
    while (kept < length && LoadLittleEndian(units + 2 * kept, 2) != 0)
        ++kept;
    if (length > 0) {
        ds_string text(kept, L'\0');
        for (std::size_t i = 0; i < kept; ++i)
            text[i] = static_cast<wchar_t>(LoadLittleEndian(units + 2 * i, 2));
        target = std::move(text);
    }
    return header + 2 * static_cast<std::size_t>(length);
}
