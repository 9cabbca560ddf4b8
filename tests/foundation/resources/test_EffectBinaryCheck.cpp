// The look at a compiled effect before D3DX gets it: every effect the program
// carries passes, and so does one holding what the format can hold
// (annotations, structures, arrays, strings, shader arrays, array
// selectors); a real effect with an offset, count or size changed to point
// outside its bytes, or cut short, is refused.
#include "foundation/resources/EffectBinaryCheck.h"
#include "foundation/resources/ResourceModule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// The numbers of the program's compiled effects.
const int32_t ProgramEffects[] = {63, 75, 76, 77, 78, 88, 90, 91, 92, 97, 102};
const int32_t FireEffect = 92;

Bytes ProgramEffect(int32_t number)
{
    const ResourceBytes bytes = FindResourceBytes(nullptr, number, EffectResourceType);
    return bytes ? Bytes(bytes.data, bytes.data + bytes.size) : Bytes();
}

uint32_t Get32(const Bytes& bytes, std::size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}
void Put32(Bytes& bytes, std::size_t at, uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); }

bool Passes(const Bytes& bytes) { return IsWellFormedCompiledEffect(bytes.data(), bytes.size()); }

// File positions of the fields a corruption changes, found by reading the
// effect's table as the project's writer lays it out (no annotations).
struct Layout {
    explicit Layout(const Bytes& e)
    {
        table = 8 + Get32(e, 4);
        const uint32_t parameters = Get32(e, table);
        const uint32_t techniques = Get32(e, table + 4);
        std::size_t at = table + 16;
        for (uint32_t i = 0; i < parameters; ++i, at += 16) {
            const std::size_t type = 8 + Get32(e, at);
            const uint32_t code = Get32(e, type);
            if (code >= 10 && code <= 14 && !sampler)
                sampler = 8 + Get32(e, at + 4);
        }
        firstParameter = table + 16;
        firstTechnique = at;
        for (uint32_t t = 0; t < techniques; ++t) {
            const uint32_t passes = Get32(e, at + 8);
            at += 12;
            for (uint32_t p = 0; p < passes; ++p) {
                if (!firstPass)
                    firstPass = at;
                at += 12 + 16 * Get32(e, at + 8);
            }
        }
        strings = at;
        // String records come before the resources.
        std::size_t r = at + 8;
        for (uint32_t s = 0; s < Get32(e, at); ++s)
            r += 8 + ((Get32(e, r + 4) + 3) & ~3u);
        firstResource = r;
        for (uint32_t s = 0; s < Get32(e, at + 4); ++s) {
            if (Get32(e, r + 16) == 0 && !firstShader)
                firstShader = r;
            r += 24 + ((Get32(e, r + 20) + 3) & ~3u);
        }
    }

    std::size_t table = 0;
    std::size_t firstParameter = 0;
    std::size_t firstTechnique = 0;
    std::size_t firstPass = 0;
    std::size_t strings = 0;
    std::size_t firstResource = 0;
    // The first resource of usage 0: a shader's bytecode.
    std::size_t firstShader = 0;
    // The value (state count) of the first sampler parameter.
    std::size_t sampler = 0;
};

// Builds an effect word by word: a data area of names, type definitions and
// values, then the table.
class EffectBytes {
public:
    uint32_t Name(const std::string& text)
    {
        const uint32_t at = Here();
        Word(static_cast<uint32_t>(text.size() + 1));
        Raw(text.c_str(), text.size() + 1);
        return at;
    }
    uint32_t Words(std::initializer_list<uint32_t> words)
    {
        const uint32_t at = Here();
        for (uint32_t w : words)
            Word(w);
        return at;
    }
    void Word(uint32_t w) { Raw(&w, 4); }
    void Raw(const void* bytes, std::size_t size)
    {
        const uint8_t* b = static_cast<const uint8_t*>(bytes);
        data.insert(data.end(), b, b + size);
        while (data.size() % 4)
            data.push_back(0);
    }
    uint32_t Here() const { return static_cast<uint32_t>(data.size()); }

    // The file: tag, data-area size, data area, then the table words.
    Bytes File(const Bytes& tableWords)
    {
        Bytes file(8);
        const uint32_t tag = 0xFEFF0901;
        const uint32_t size = Here();
        std::memcpy(file.data(), &tag, 4);
        std::memcpy(file.data() + 4, &size, 4);
        file.insert(file.end(), data.begin(), data.end());
        file.insert(file.end(), tableWords.begin(), tableWords.end());
        return file;
    }

    Bytes data;
};

// An effect with everything the format holds, laid out as Microsoft's
// compiler lays it out.
Bytes RichEffect()
{
    EffectBytes d;
    const uint32_t empty = d.Words({0});
    const uint32_t floatOne = d.Words({0x3F800000});
    const uint32_t vs20[] = {0xFFFE0200, 0x0000FFFF};

    // float4x4 World < string UIName = "World matrix"; >;
    const uint32_t worldType = d.Words({3, 2, d.Name("World"), d.Name("WORLD"), 0, 4, 4});
    const uint32_t worldValue = d.Here();
    for (int i = 0; i < 16; ++i)
        d.Word(i % 5 == 0 ? 0x3F800000 : 0);
    const uint32_t uiNameType = d.Words({4, 4, d.Name("UIName"), empty, 0});
    const uint32_t uiNameValue = d.Words({1});
    // struct { float3 dir; float4 colour; } Lights[2];
    const uint32_t dirName = d.Name("dir");
    const uint32_t colourName = d.Name("colour");
    const uint32_t lightsName = d.Name("Lights");
    const uint32_t lightsType = d.Words({0, 5, lightsName, empty, 2, 2, 3, 1, dirName, empty, 0, 3, 1, 3, 1,
                                         colourName, empty, 0, 4, 1});
    const uint32_t lightsValue = d.Here();
    for (int i = 0; i < 14; ++i)
        d.Word(0x3F000000);
    // float Weights[3];
    const uint32_t weightsType = d.Words({3, 0, d.Name("Weights"), empty, 3, 1, 1});
    const uint32_t weightsValue = d.Words({0, 0x3F800000, 0x40000000});
    // texture Tex; sampler Samp { Texture = <Tex>; };
    const uint32_t textureType = d.Words({5, 4, d.Name("Tex"), empty, 0});
    const uint32_t textureValue = d.Words({2});
    const uint32_t samplerStateType = d.Words({5, 4, d.Name("Texture"), empty, 0});
    const uint32_t samplerStateValue = d.Words({3});
    const uint32_t samplerType = d.Words({12, 4, d.Name("Samp"), empty, 0});
    const uint32_t samplerValue = d.Words({1, 0xA4, 0, samplerStateType, samplerStateValue});
    // vertexshader Shaders[2] = { compile..., compile... };
    const uint32_t shadersType = d.Words({16, 4, d.Name("Shaders"), empty, 2});
    const uint32_t shadersValue = d.Words({4, 5});
    // int Index;
    const uint32_t indexType = d.Words({2, 0, d.Name("Index"), empty, 0, 1, 1});
    const uint32_t indexValue = d.Words({1});
    // Annotations of the technique and the pass.
    const uint32_t orderType = d.Words({3, 0, d.Name("Order"), empty, 0, 1, 1});
    const uint32_t passNoteType = d.Words({2, 0, d.Name("Note"), empty, 0, 1, 1});
    // Pass states: VertexShader = compile ...; AlphaBlendEnable = true;
    // VertexShader = Shaders[Index];
    const uint32_t vsStateType = d.Words({16, 4, d.Name("VertexShader"), empty, 0});
    const uint32_t vsStateValue = d.Words({6});
    const uint32_t blendType = d.Words({1, 0, d.Name("AlphaBlendEnable"), empty, 0, 1, 1});
    const uint32_t blendValue = d.Words({1});
    const uint32_t selectedValue = d.Words({7});
    const uint32_t techniqueName = d.Name("Rich");
    const uint32_t passName = d.Name("P0");

    EffectBytes t;
    t.Words({7, 1, 0, 8});
    t.Words({worldType, worldValue, 0, 1, uiNameType, uiNameValue});
    t.Words({lightsType, lightsValue, 0, 0});
    t.Words({weightsType, weightsValue, 0, 0});
    t.Words({textureType, textureValue, 0, 0});
    t.Words({samplerType, samplerValue, 0, 0});
    t.Words({shadersType, shadersValue, 0, 0});
    t.Words({indexType, indexValue, 0, 0});
    t.Words({techniqueName, 1, 1, orderType, floatOne});
    t.Words({passName, 1, 3, passNoteType, indexValue});
    t.Words({0x92, 0, vsStateType, vsStateValue});
    t.Words({0x0D, 0, blendType, blendValue});
    t.Words({0x92, 0, vsStateType, selectedValue});
    // Objects without a state: the string and the array's shaders.
    t.Words({3});
    t.Words({3});
    t.Words({1, 13});
    t.Raw("World matrix", 13);
    for (uint32_t id : {4u, 5u}) {
        t.Words({id, 8});
        t.Raw(vs20, 8);
    }
    // The pass's shader, the sampler's texture name, the array selector.
    t.Words({0, 0, 0xFFFFFFFF, 0, 0, 8});
    t.Raw(vs20, 8);
    t.Words({0xFFFFFFFF, 4, 0xFFFFFFFF, 0, 1, 4});
    t.Raw("Tex", 4);
    t.Words({0, 0, 0xFFFFFFFF, 2, 2, 16, 6});
    t.Raw("Index", 6);
    t.Words({0xFFFF0000});
    return d.File(t.data);
}

} // namespace

TEST(EffectBinaryCheck, EveryProgramEffectAndAFullEffectPass)
{
    for (const int32_t number : ProgramEffects) {
        SCOPED_TRACE(number);
        const Bytes effect = ProgramEffect(number);
        ASSERT_FALSE(effect.empty());
        EXPECT_TRUE(Passes(effect));
    }
    EXPECT_TRUE(Passes(RichEffect()));
}

// Each corruption makes one field point or count outside the bytes.
TEST(EffectBinaryCheck, OffsetsCountsAndSizesOutsideTheBytesAreRefused)
{
    const Bytes effect = ProgramEffect(FireEffect);
    ASSERT_TRUE(Passes(effect));
    const Layout at(effect);
    ASSERT_NE(0u, at.sampler);
    ASSERT_NE(0u, at.firstPass);
    const uint32_t size = static_cast<uint32_t>(effect.size());
    const std::size_t firstType = 8 + Get32(effect, at.firstParameter);
    const std::size_t firstName = 8 + Get32(effect, firstType + 8);
    const std::size_t firstState = at.firstPass + 12;

    const struct {
        const char* name;
        std::size_t where;
        uint32_t value;
    } cases[] = {
        {"the tag", 0, 0xFEFF0902},
        {"the data-area size", 4, size},
        {"the parameter count", at.table, 0x01000000},
        {"the technique count", at.table + 4, 0x00FFFFFF},
        {"the object count, below the ids", at.table + 12, 1},
        {"a parameter's type offset", at.firstParameter, size},
        {"a parameter's value offset", at.firstParameter + 4, size - 2},
        {"a parameter's annotation count", at.firstParameter + 12, 0x10000000},
        {"a name's length", firstName, 0x10100000 | Get32(effect, firstName)},
        {"a name's offset", firstType + 8, 0xFFFFFFF0},
        {"a type's element count", firstType + 16, 0x40000000},
        {"a type's class", firstType + 4, 9},
        {"a sampler's state count", at.sampler, 0x00100000},
        {"a technique's name offset", at.firstTechnique, size + 4},
        {"a technique's pass count", at.firstTechnique + 8, 0x20000000},
        {"a pass's state count", at.firstPass + 8, 0x00010000},
        {"a state's type offset", firstState + 8, size - 4},
        {"a state's value offset", firstState + 12, 0x80000000},
        {"the string count", at.strings, 0x7FFFFFFF},
        {"the resource count", at.strings + 4, 1000},
        {"a resource's technique", at.firstResource, 7},
        {"a resource's pass", at.firstResource + 4, 99},
        {"a resource's state", at.firstResource + 12, 99},
        {"a resource's usage", at.firstResource + 16, 5},
        {"a resource's byte size", at.firstResource + 20, size},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes damaged = effect;
        ASSERT_LE(c.where + 4, damaged.size());
        Put32(damaged, c.where, c.value);
        EXPECT_FALSE(Passes(damaged));
    }

    // A shader without its end token: the device would read past it.
    ASSERT_NE(0u, at.firstShader);
    Bytes endless = effect;
    const std::size_t end = at.firstShader + 24 + Get32(effect, at.firstShader + 20) - 4;
    ASSERT_EQ(0x0000FFFFu, Get32(effect, end));
    Put32(endless, end, 0);
    EXPECT_FALSE(Passes(endless));

    // Cut anywhere, the effect's table runs past its end.
    for (std::size_t length = 0; length < effect.size(); ++length)
        ASSERT_FALSE(IsWellFormedCompiledEffect(effect.data(), length)) << length;
}
