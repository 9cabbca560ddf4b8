#include "tools/effects/ShaderConstantTable.h"

#include <cstring>
#include <stdexcept>

namespace {

constexpr uint32_t CommentToken = 0xFFFE;
constexpr uint32_t TableTag = 0x42415443; // 'CTAB'
constexpr uint32_t HeaderSize = 28;
constexpr uint32_t ConstantInfoSize = 20;
constexpr uint32_t TypeInfoSize = 16;
const char* const Creator = "Nightglass effect compiler";

class Block {
public:
    void Word(uint32_t v) { Put(v, 4); }
    void Half(uint16_t v) { Put(v, 2); }
    void PatchWord(std::size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
    uint32_t String(const std::string& text)
    {
        const uint32_t offset = static_cast<uint32_t>(bytes.size());
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
        return offset;
    }
    void Pad()
    {
        while (bytes.size() % 4)
            bytes.push_back(0);
    }
    std::size_t Size() const { return bytes.size(); }
    const std::vector<uint8_t>& Bytes() const { return bytes; }

private:
    void Put(uint32_t v, int count)
    {
        for (int i = 0; i < count; ++i)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t> bytes;
};

// "vs_2_0" or "ps_2_0" from the version token (0xFFFE0200 style: major and
// minor in the low half, 0xFFFE vertex, 0xFFFF pixel).
std::string TargetName(uint32_t version)
{
    const bool pixel = (version >> 16) == 0xFFFF;
    const unsigned major = (version >> 8) & 0xFF;
    const unsigned minor = version & 0xFF;
    return std::string(pixel ? "ps_" : "vs_") + std::to_string(major) + "_" + std::to_string(minor);
}

} // namespace

std::vector<uint8_t> InsertConstantTable(const std::vector<uint8_t>& bytecode,
                                         const std::vector<ShaderConstant>& constants)
{
    if (bytecode.size() < 4)
        throw std::invalid_argument("shader bytecode without a version token");
    uint32_t version = 0;
    std::memcpy(&version, bytecode.data(), 4);

    const uint32_t count = static_cast<uint32_t>(constants.size());
    const uint32_t typeInfoStart = HeaderSize + count * ConstantInfoSize;
    const uint32_t stringStart = typeInfoStart + count * TypeInfoSize;

    // Strings after the fixed parts; their offsets go into the header and
    // the constant infos.
    Block strings;
    std::vector<uint32_t> nameOffsets;
    for (const ShaderConstant& constant : constants)
        nameOffsets.push_back(stringStart + strings.String(constant.name));
    const uint32_t creator = stringStart + strings.String(Creator);
    const uint32_t target = stringStart + strings.String(TargetName(version));

    Block table;
    table.Word(HeaderSize);
    table.Word(creator);
    table.Word(version);
    table.Word(count);
    table.Word(HeaderSize);
    table.Word(0); // flags
    table.Word(target);
    for (uint32_t i = 0; i < count; ++i) {
        const ShaderConstant& c = constants[i];
        table.Word(nameOffsets[i]);
        table.Half(static_cast<uint16_t>(c.registerSet));
        table.Half(c.registerIndex);
        table.Half(c.registerCount);
        table.Half(0);
        table.Word(typeInfoStart + i * TypeInfoSize);
        table.Word(0); // no default value
    }
    for (const ShaderConstant& c : constants) {
        table.Half(c.valueClass);
        table.Half(c.valueType);
        table.Half(c.rows);
        table.Half(c.columns);
        table.Half(1); // elements
        table.Half(0); // structure members
        table.Word(0);
    }
    std::vector<uint8_t> body = table.Bytes();
    body.insert(body.end(), strings.Bytes().begin(), strings.Bytes().end());
    while (body.size() % 4)
        body.push_back(0);

    const uint32_t words = 1 + static_cast<uint32_t>(body.size() / 4);
    Block comment;
    comment.Word(CommentToken | (words << 16));
    comment.Word(TableTag);

    std::vector<uint8_t> result(bytecode.begin(), bytecode.begin() + 4);
    result.insert(result.end(), comment.Bytes().begin(), comment.Bytes().end());
    result.insert(result.end(), body.begin(), body.end());
    result.insert(result.end(), bytecode.begin() + 4, bytecode.end());
    return result;
}
