#include "foundation/resources/EffectBinaryCheck.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t EffectTag = 0xFEFF0901;
constexpr uint32_t NoIndex = 0xFFFFFFFF;

// Value classes and types as the file numbers them.
enum : uint32_t { Scalar = 0, Vector = 1, MatrixRows = 2, MatrixColumns = 3, Object = 4, Struct = 5 };
enum : uint32_t {
    TypeBool = 1,
    TypeInt = 2,
    TypeFloat = 3,
    TypeString = 4,
    TypeTexture = 5,
    TypeTextureCube = 9,
    TypeSampler = 10,
    TypeSamplerCube = 14,
    TypePixelShader = 15,
    TypeVertexShader = 16,
};

// How a resource record's data is taken.
enum : uint32_t { UsageObject = 0, UsageParameterName = 1, UsageArraySelector = 2 };

// Structures nest no deeper than this; a file that claims more is damaged
// (each level costs the loader a recursion).
constexpr int DeepestNesting = 64;

struct Type {
    uint32_t type = 0;
    uint32_t valueClass = 0;
    uint32_t elements = 0;
    uint32_t rows = 0;
    uint32_t columns = 0;
    std::vector<Type> members;
};

// What later records may point at: a parameter's elements and the state
// count of each sampler in it, a state's parameter type.
struct Parameter {
    Type type;
    // The types of each sampler's states, one sampler per element (one for
    // a plain sampler); empty when not a sampler.
    std::vector<std::vector<Type>> samplerStates;
};
struct Pass {
    std::vector<Type> states;
};
struct Technique {
    std::vector<Pass> passes;
};

bool IsSampler(const Type& t) { return t.valueClass == Object && t.type >= TypeSampler && t.type <= TypeSamplerCube; }
bool IsShader(const Type& t) { return t.type == TypePixelShader || t.type == TypeVertexShader; }

// A position in the effect's bytes (those after the tag and the data-area
// size, against which every offset counts). Every read that does not fit
// marks the walk failed and yields 0.
class Cursor {
public:
    Cursor(const uint8_t* data, uint32_t size, uint32_t at) : data(data), size(size), at(at), ok(at <= size) {}

    uint32_t Dword()
    {
        if (!ok || size - at < 4) {
            ok = false;
            return 0;
        }
        uint32_t value;
        std::memcpy(&value, data + at, 4);
        at += 4;
        return value;
    }

    // Skips count bytes; false (and failed) when they do not fit.
    bool Skip(uint64_t count)
    {
        if (!ok || count > size - at)
            return ok = false;
        at += static_cast<uint32_t>(count);
        return true;
    }

    uint32_t Left() const { return ok ? size - at : 0; }
    const uint8_t* Here() const { return data + at; }

    const uint8_t* data;
    uint32_t size;
    uint32_t at;
    bool ok;
};

using Samplers = std::vector<std::vector<Type>>;

class EffectWalk {
public:
    EffectWalk(const uint8_t* data, uint32_t size) : data(data), size(size), budget(4 * uint64_t{size} + 4096) {}

    bool Walk(uint32_t tableOffset);

private:
    Cursor At(uint32_t offset) const { return Cursor(data, size, offset); }

    // Every type, value and state walked spends one step; a sound file
    // takes far fewer than four per byte (each step reads words of its own,
    // or a definition shared by a few states), so counts that would take
    // more mark a damaged one.
    bool Spend()
    {
        if (budget == 0)
            return false;
        --budget;
        return true;
    }

    bool Name(uint32_t offset);
    bool TypeAt(Cursor& c, Type& t, int depth);
    bool Value(Cursor& c, const Type& t, Samplers* samplers, int depth);
    bool Single(Cursor& c, const Type& t, Samplers* samplers, int depth);
    bool StateRecord(Cursor& c, Type& type);
    bool Annotations(Cursor& c, uint32_t count);
    bool Resource(Cursor& c);
    bool CountFits(uint32_t count, const Cursor& c, uint32_t bytesEach) const
    {
        return uint64_t{count} * bytesEach <= c.Left();
    }

    const uint8_t* data;
    uint32_t size;
    uint64_t budget;
    uint32_t objectCount = 0;
    // The type of value that names each object (0 for none).
    std::vector<uint32_t> objectTypes;
    std::vector<Parameter> parameters;
    std::vector<Technique> techniques;
};

// A name: its byte count (with the NUL), then the bytes; count 0 is no name.
bool EffectWalk::Name(uint32_t offset)
{
    Cursor c = At(offset);
    const uint32_t length = c.Dword();
    if (!c.ok)
        return false;
    if (length == 0)
        return true;
    const uint8_t* text = c.Here();
    return c.Skip(length) && text[length - 1] == 0;
}

bool EffectWalk::TypeAt(Cursor& c, Type& t, int depth)
{
    if (depth > DeepestNesting || !Spend())
        return false;
    t.type = c.Dword();
    t.valueClass = c.Dword();
    const uint32_t name = c.Dword();
    const uint32_t semantic = c.Dword();
    t.elements = c.Dword();
    if (!c.ok || !Name(name) || !Name(semantic) || t.elements > size)
        return false;
    switch (t.valueClass) {
    case Vector:
        t.columns = c.Dword();
        t.rows = c.Dword();
        return c.ok;
    case Scalar:
    case MatrixRows:
    case MatrixColumns:
        t.rows = c.Dword();
        t.columns = c.Dword();
        return c.ok;
    case Object:
        return true;
    case Struct: {
        const uint32_t count = c.Dword();
        // A member's definition takes at least six words.
        if (!c.ok || !CountFits(count, c, 24))
            return false;
        t.members.resize(count);
        for (Type& member : t.members)
            if (!TypeAt(c, member, depth + 1))
                return false;
        return true;
    }
    default:
        return false;
    }
}

bool EffectWalk::Value(Cursor& c, const Type& t, Samplers* samplers, int depth)
{
    if (t.elements == 0)
        return Single(c, t, samplers, depth);
    for (uint32_t i = 0; i < t.elements; ++i)
        if (!Single(c, t, samplers, depth))
            return false;
    return true;
}

bool EffectWalk::Single(Cursor& c, const Type& t, Samplers* samplers, int depth)
{
    if (depth > DeepestNesting || !Spend())
        return false;
    switch (t.valueClass) {
    case Scalar:
    case Vector:
    case MatrixRows:
    case MatrixColumns:
        return c.Skip(uint64_t{4} * t.rows * t.columns);
    case Struct:
        for (const Type& member : t.members)
            if (!Value(c, member, nullptr, depth + 1))
                return false;
        return true;
    default:
        break;
    }
    // Objects: strings, textures and shaders hold the id of their object;
    // a sampler holds its states.
    if (t.type == TypeString || (t.type >= TypeTexture && t.type <= TypeTextureCube) || IsShader(t)) {
        const uint32_t id = c.Dword();
        if (!c.ok || id >= objectCount)
            return false;
        objectTypes[id] = t.type;
        return true;
    }
    if (t.type >= TypeSampler && t.type <= TypeSamplerCube) {
        const uint32_t count = c.Dword();
        if (!c.ok || !CountFits(count, c, 16))
            return false;
        std::vector<Type> states(count);
        for (Type& state : states)
            if (!StateRecord(c, state))
                return false;
        if (samplers)
            samplers->push_back(std::move(states));
        return true;
    }
    // Other object types carry no value.
    return true;
}

// A state: operation, index, then the offsets of its type and its value.
bool EffectWalk::StateRecord(Cursor& c, Type& type)
{
    if (!Spend())
        return false;
    c.Dword(); // operation
    c.Dword(); // index
    const uint32_t typeOffset = c.Dword();
    const uint32_t valueOffset = c.Dword();
    if (!c.ok)
        return false;
    Cursor typeCursor = At(typeOffset);
    if (!TypeAt(typeCursor, type, 0))
        return false;
    Cursor valueCursor = At(valueOffset);
    return Value(valueCursor, type, nullptr, 0);
}

// Annotations: the offsets of each one's type and value.
bool EffectWalk::Annotations(Cursor& c, uint32_t count)
{
    if (!CountFits(count, c, 8))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t typeOffset = c.Dword();
        const uint32_t valueOffset = c.Dword();
        if (!c.ok)
            return false;
        Type type;
        Cursor typeCursor = At(typeOffset);
        if (!TypeAt(typeCursor, type, 0))
            return false;
        Cursor valueCursor = At(valueOffset);
        if (!Value(valueCursor, type, nullptr, 0))
            return false;
    }
    return true;
}

// Shader bytecode: the version token, then instructions and comments up to
// the end token, all inside the bytes (the device reads to the end token).
bool ShaderFits(const uint8_t* bytes, uint32_t size)
{
    const uint32_t tokens = size / 4;
    auto token = [bytes](uint32_t i) {
        uint32_t value;
        std::memcpy(&value, bytes + 4 * i, 4);
        return value;
    };
    if (tokens < 2)
        return false;
    const uint32_t version = token(0);
    const uint32_t kind = version >> 16;
    if (kind != 0xFFFF && kind != 0xFFFE)
        return false;
    // From shader model 2 every instruction token counts its own operands.
    const bool countedLengths = ((version >> 8) & 0xFF) >= 2;
    uint32_t i = 1;
    while (i < tokens) {
        const uint32_t t = token(i);
        if (t == 0x0000FFFF)
            return true;
        if ((t & 0xFFFF) == 0xFFFE) {
            i += 1 + ((t >> 16) & 0x7FFF);
            continue;
        }
        i += 1 + (countedLengths ? (t >> 24) & 0x0F : 0);
    }
    return false;
}

// A resource record: which state it serves (a pass's, or a sampler
// parameter's), the usage, then its data.
bool EffectWalk::Resource(Cursor& c)
{
    const uint32_t techniqueIndex = c.Dword();
    const uint32_t index = c.Dword();
    const uint32_t element = c.Dword();
    const uint32_t stateIndex = c.Dword();
    const uint32_t usage = c.Dword();
    const uint32_t length = c.Dword();
    if (!c.ok)
        return false;
    const uint8_t* bytes = c.Here();
    if (!c.Skip((uint64_t{length} + 3) & ~uint64_t{3}))
        return false;

    const Type* type = nullptr;
    if (techniqueIndex == NoIndex) {
        if (index >= parameters.size())
            return false;
        const Parameter& parameter = parameters[index];
        if (parameter.samplerStates.empty())
            return false;
        // The element picks a sampler of an array; a plain sampler has the
        // one.
        const bool picks = element != NoIndex && parameter.type.elements > 0;
        if (picks && element >= parameter.type.elements)
            return false;
        const std::vector<Type>& states = parameter.samplerStates[picks ? element : 0];
        if (stateIndex >= states.size())
            return false;
        type = &states[stateIndex];
    } else {
        if (techniqueIndex >= techniques.size() || index >= techniques[techniqueIndex].passes.size())
            return false;
        const Pass& pass = techniques[techniqueIndex].passes[index];
        if (stateIndex >= pass.states.size())
            return false;
        // The element plays no part for a pass's state.
        type = &pass.states[stateIndex];
    }

    switch (usage) {
    case UsageObject:
        if (IsShader(*type))
            return ShaderFits(bytes, length);
        return type->type == TypeBool || type->type == TypeInt || type->type == TypeFloat ||
               type->type == TypeString;
    case UsageParameterName:
        // The name of a parameter, read as a string.
        return length > 0 && std::memchr(bytes, 0, length) != nullptr;
    case UsageArraySelector: {
        // The name of the array's index parameter, counted, then the
        // expression that selects the element.
        if (length < 4)
            return false;
        uint32_t nameLength;
        std::memcpy(&nameLength, bytes, 4);
        return nameLength <= length - 4 && std::memchr(bytes + 4, 0, nameLength) != nullptr;
    }
    default:
        // A usage the loader does not know: it would not take the data, and
        // would read the records after it out of step.
        return false;
    }
}

bool EffectWalk::Walk(uint32_t tableOffset)
{
    Cursor c = At(tableOffset);
    const uint32_t parameterCount = c.Dword();
    const uint32_t techniqueCount = c.Dword();
    c.Dword();
    objectCount = c.Dword();
    // A parameter record takes four words, a technique three.
    if (!c.ok || !CountFits(parameterCount, c, 16) || !CountFits(techniqueCount, c, 12) || objectCount > size)
        return false;
    objectTypes.assign(objectCount, 0);

    parameters.resize(parameterCount);
    for (Parameter& parameter : parameters) {
        const uint32_t typeOffset = c.Dword();
        const uint32_t valueOffset = c.Dword();
        c.Dword(); // flags
        const uint32_t annotations = c.Dword();
        if (!c.ok || !Annotations(c, annotations))
            return false;
        Cursor typeCursor = At(typeOffset);
        if (!TypeAt(typeCursor, parameter.type, 0))
            return false;
        Cursor valueCursor = At(valueOffset);
        Samplers* states = IsSampler(parameter.type) ? &parameter.samplerStates : nullptr;
        if (!Value(valueCursor, parameter.type, states, 0))
            return false;
    }

    techniques.resize(techniqueCount);
    for (Technique& technique : techniques) {
        const uint32_t name = c.Dword();
        const uint32_t annotations = c.Dword();
        const uint32_t passCount = c.Dword();
        if (!c.ok || !Name(name) || !Annotations(c, annotations) || !CountFits(passCount, c, 12))
            return false;
        technique.passes.resize(passCount);
        for (Pass& pass : technique.passes) {
            const uint32_t passName = c.Dword();
            const uint32_t passAnnotations = c.Dword();
            const uint32_t stateCount = c.Dword();
            if (!c.ok || !Name(passName) || !Annotations(c, passAnnotations) || !CountFits(stateCount, c, 16))
                return false;
            pass.states.resize(stateCount);
            for (Type& state : pass.states)
                if (!StateRecord(c, state))
                    return false;
        }
    }

    const uint32_t stringCount = c.Dword();
    const uint32_t resourceCount = c.Dword();
    // A string record takes two words at least, a resource six.
    if (!c.ok || !CountFits(stringCount, c, 8) || !CountFits(resourceCount, c, 24))
        return false;
    // The data of objects that no state holds: strings, and the shaders of
    // shader parameters.
    for (uint32_t i = 0; i < stringCount; ++i) {
        const uint32_t id = c.Dword();
        const uint32_t length = c.Dword();
        if (!c.ok || id >= objectCount)
            return false;
        const uint8_t* bytes = c.Here();
        if (!c.Skip((uint64_t{length} + 3) & ~uint64_t{3}))
            return false;
        if ((objectTypes[id] == TypePixelShader || objectTypes[id] == TypeVertexShader) && !ShaderFits(bytes, length))
            return false;
    }
    for (uint32_t i = 0; i < resourceCount; ++i)
        if (!Resource(c))
            return false;
    return true;
}

} // namespace

bool IsWellFormedCompiledEffect(const void* bytes, std::size_t size)
{
    if (!bytes || size < 8 || size - 8 > UINT32_MAX)
        return false;
    const uint8_t* file = static_cast<const uint8_t*>(bytes);
    uint32_t tag;
    uint32_t dataSize;
    std::memcpy(&tag, file, 4);
    std::memcpy(&dataSize, file + 4, 4);
    if (tag != EffectTag)
        return false;
    EffectWalk walk(file + 8, static_cast<uint32_t>(size - 8));
    return walk.Walk(dataSize);
}
