#include "tools/effects/CompiledEffectWriter.h"

#include <cstring>
#include <stdexcept>

namespace {

// "fx" 2.0 with the effect tag in the upper half.
constexpr uint32_t EffectFileTag = 0xFEFF0901;
// Object ids start at 1; the table's object count must exceed the highest.
constexpr uint32_t FirstObjectId = 1;
// Resource table markers: a resource that belongs to a parameter (a
// sampler's state) has no technique and no array element.
constexpr uint32_t NoIndex = 0xFFFFFFFF;
// What a resource gives its object: shader bytecode, or the name of the
// parameter the object stands for.
constexpr uint32_t ShaderUsage = 0;
constexpr uint32_t NameUsage = 1;

// A growing block of little-endian 32-bit words and padded strings; every
// item is named by its byte offset from the block's start.
class DataArea {
public:
    uint32_t Word(uint32_t value)
    {
        const uint32_t offset = Size();
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return offset;
    }

    uint32_t Float(float value)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return Word(bits);
    }

    // The bytes as they are, zeros to the next word.
    uint32_t Raw(const uint8_t* data, std::size_t size)
    {
        const uint32_t offset = Size();
        bytes.insert(bytes.end(), data, data + size);
        while (bytes.size() % 4)
            bytes.push_back(0);
        return offset;
    }

    // The length with the terminator, the characters, the terminator, zeros
    // to the next word. An empty text is the length 0 alone, which the
    // effect reads as "no name".
    uint32_t String(const std::string& text)
    {
        if (text.empty())
            return Word(0);
        const uint32_t offset = Word(static_cast<uint32_t>(text.size() + 1));
        const std::string terminated = text + '\0';
        Raw(reinterpret_cast<const uint8_t*>(terminated.data()), terminated.size());
        return offset;
    }

    // A non-array numeric type. Vectors store columns before rows; scalars
    // and matrices rows before columns.
    uint32_t NumericType(EffectValueType type, EffectValueClass valueClass, uint32_t nameOffset,
                         uint32_t semanticOffset, uint32_t rows, uint32_t columns)
    {
        const uint32_t offset = ObjectType(type, valueClass, nameOffset, semanticOffset);
        const bool vector = valueClass == EffectValueClass::Vector;
        Word(vector ? columns : rows);
        Word(vector ? rows : columns);
        return offset;
    }

    // A non-array type with nothing after its element count: objects
    // (textures, samplers, shaders).
    uint32_t ObjectType(EffectValueType type, EffectValueClass valueClass, uint32_t nameOffset,
                        uint32_t semanticOffset)
    {
        const uint32_t offset = Word(static_cast<uint32_t>(type));
        Word(static_cast<uint32_t>(valueClass));
        Word(nameOffset);
        Word(semanticOffset);
        Word(0); // not an array
        return offset;
    }

    uint32_t Size() const { return static_cast<uint32_t>(bytes.size()); }
    const std::vector<uint8_t>& Bytes() const { return bytes; }

private:
    std::vector<uint8_t> bytes;
};

// What fills an object when the effect is created.
struct Resource {
    uint32_t technique;
    uint32_t index;
    uint32_t element;
    uint32_t state;
    uint32_t usage;
    std::vector<uint8_t> data;
};

void CheckParameter(const EffectFloatParameter& parameter)
{
    if (parameter.name.empty())
        throw std::invalid_argument("an effect parameter needs a name");
    if (parameter.rows == 0 || parameter.columns == 0 ||
        parameter.value.size() != static_cast<std::size_t>(parameter.rows) * parameter.columns)
        throw std::invalid_argument("an effect parameter's value must hold rows x columns floats");
}

void CheckName(const std::string& name)
{
    if (name.empty())
        throw std::invalid_argument("an effect parameter needs a name");
}

std::vector<uint8_t> TerminatedName(const std::string& name)
{
    std::vector<uint8_t> data(name.begin(), name.end());
    data.push_back(0);
    return data;
}

// Writes the state's type and value into the data area and notes the
// resource its object needs; owner names where the state sits (a pass of a
// technique, or a sampler parameter).
class StateWriter {
public:
    StateWriter(DataArea& data, std::vector<Resource>& resources) : data(data), resources(resources) {}

    // The (type offset, value offset) of the state.
    std::pair<uint32_t, uint32_t> Write(const EffectPassState& state, uint32_t technique, uint32_t index,
                                        uint32_t element, uint32_t stateIndex)
    {
        switch (state.kind) {
        case EffectStateKind::Int:
            return {Numeric(intType, EffectValueType::Int), data.Word(state.value)};
        case EffectStateKind::Float:
            return {Numeric(floatType, EffectValueType::Float), data.Float(state.floatValue)};
        case EffectStateKind::Shader: {
            if (state.shader.empty())
                throw std::invalid_argument("a shader state needs its bytecode");
            const bool pixel = state.operation == EffectState::PixelShader;
            resources.push_back({technique, index, element, stateIndex, ShaderUsage, state.shader});
            const uint32_t type = pixel ? Object(pixelShaderType, EffectValueType::PixelShader)
                                        : Object(vertexShaderType, EffectValueType::VertexShader);
            return {type, data.Word(nextObject++)};
        }
        case EffectStateKind::TextureName:
            if (state.textureName.empty())
                throw std::invalid_argument("a texture state needs the name of its texture parameter");
            resources.push_back({technique, index, element, stateIndex, NameUsage, TerminatedName(state.textureName)});
            const uint32_t type = Object(textureType, EffectValueType::Texture);
            return {type, data.Word(nextObject++)};
        }
        throw std::invalid_argument("unknown state kind");
    }

    uint32_t NewObject() { return nextObject++; }
    uint32_t ObjectCount() const { return nextObject; }

private:
    // The unnamed types that state values share, each written on first use.
    static constexpr uint32_t Unwritten = 0xFFFFFFFF;

    uint32_t Numeric(uint32_t& type, EffectValueType valueType)
    {
        if (type == Unwritten) {
            const uint32_t noName = NoName();
            type = data.NumericType(valueType, EffectValueClass::Scalar, noName, noName, 1, 1);
        }
        return type;
    }

    uint32_t Object(uint32_t& type, EffectValueType valueType)
    {
        if (type == Unwritten) {
            const uint32_t noName = NoName();
            type = data.ObjectType(valueType, EffectValueClass::Object, noName, noName);
        }
        return type;
    }

    uint32_t NoName()
    {
        if (noName == Unwritten)
            noName = data.String(std::string());
        return noName;
    }

    DataArea& data;
    std::vector<Resource>& resources;
    uint32_t noName = Unwritten;
    uint32_t intType = Unwritten;
    uint32_t floatType = Unwritten;
    uint32_t textureType = Unwritten;
    uint32_t vertexShaderType = Unwritten;
    uint32_t pixelShaderType = Unwritten;
    uint32_t nextObject = FirstObjectId;
};

} // namespace

void CompiledEffectWriter::AddParameter(const EffectFloatParameter& parameter)
{
    CheckParameter(parameter);
    order.push_back({ParameterKind::Float, floats.size()});
    floats.push_back(parameter);
}

void CompiledEffectWriter::AddTexture(const std::string& name)
{
    CheckName(name);
    order.push_back({ParameterKind::Texture, textures.size()});
    textures.push_back(name);
}

void CompiledEffectWriter::AddSampler(const EffectSamplerParameter& sampler)
{
    CheckName(sampler.name);
    order.push_back({ParameterKind::Sampler, samplers.size()});
    samplers.push_back(sampler);
}

EffectTechnique& CompiledEffectWriter::AddTechnique(const std::string& name)
{
    techniques.push_back(EffectTechnique{name, {}});
    return techniques.back();
}

std::vector<uint8_t> CompiledEffectWriter::Write() const
{
    DataArea data;
    DataArea table;
    std::vector<Resource> resources;
    StateWriter states(data, resources);

    // Each parameter's (type offset, value offset), in order.
    std::vector<std::pair<uint32_t, uint32_t>> parameterEntries;
    for (uint32_t p = 0; p < order.size(); ++p) {
        const ParameterEntry& entry = order[p];
        if (entry.kind == ParameterKind::Float) {
            const EffectFloatParameter& parameter = floats[entry.index];
            CheckParameter(parameter);
            const uint32_t name = data.String(parameter.name);
            const uint32_t semantic = data.String(parameter.semantic);
            const uint32_t type = data.NumericType(EffectValueType::Float, parameter.valueClass, name, semantic,
                                                   parameter.rows, parameter.columns);
            const uint32_t value = data.Size();
            for (float v : parameter.value)
                data.Float(v);
            parameterEntries.emplace_back(type, value);
        } else if (entry.kind == ParameterKind::Texture) {
            const uint32_t name = data.String(textures[entry.index]);
            const uint32_t semantic = data.String(std::string());
            const uint32_t type =
                data.ObjectType(EffectValueType::Texture, EffectValueClass::Object, name, semantic);
            parameterEntries.emplace_back(type, data.Word(states.NewObject()));
        } else {
            const EffectSamplerParameter& sampler = samplers[entry.index];
            const uint32_t name = data.String(sampler.name);
            const uint32_t semantic = data.String(std::string());
            const uint32_t type =
                data.ObjectType(EffectValueType::Sampler2D, EffectValueClass::Object, name, semantic);
            // The states' types and values first: the sampler's value is the
            // block that names them.
            std::vector<std::pair<uint32_t, uint32_t>> stateEntries;
            for (uint32_t s = 0; s < sampler.states.size(); ++s)
                stateEntries.push_back(states.Write(sampler.states[s], NoIndex, p, NoIndex, s));
            const uint32_t value = data.Word(static_cast<uint32_t>(sampler.states.size()));
            for (std::size_t s = 0; s < sampler.states.size(); ++s) {
                data.Word(sampler.states[s].operation);
                data.Word(sampler.states[s].index);
                data.Word(stateEntries[s].first);
                data.Word(stateEntries[s].second);
            }
            parameterEntries.emplace_back(type, value);
        }
    }

    struct PassEntry {
        uint32_t name;
        std::vector<std::pair<uint32_t, uint32_t>> states;
    };
    std::vector<std::pair<uint32_t, std::vector<PassEntry>>> techniqueEntries;
    for (uint32_t t = 0; t < techniques.size(); ++t) {
        const EffectTechnique& technique = techniques[t];
        std::vector<PassEntry> passes;
        const uint32_t techniqueName = data.String(technique.name);
        for (uint32_t p = 0; p < technique.passes.size(); ++p) {
            const EffectPass& pass = technique.passes[p];
            PassEntry written{data.String(pass.name), {}};
            for (uint32_t s = 0; s < pass.states.size(); ++s)
                written.states.push_back(states.Write(pass.states[s], t, p, 0, s));
            passes.push_back(std::move(written));
        }
        techniqueEntries.emplace_back(techniqueName, std::move(passes));
    }

    table.Word(static_cast<uint32_t>(order.size()));
    table.Word(static_cast<uint32_t>(techniques.size()));
    table.Word(0);
    table.Word(states.ObjectCount());
    for (const auto& entry : parameterEntries) {
        table.Word(entry.first);
        table.Word(entry.second);
        table.Word(0); // flags
        table.Word(0); // annotations
    }
    for (std::size_t t = 0; t < techniques.size(); ++t) {
        table.Word(techniqueEntries[t].first);
        table.Word(0); // annotations
        table.Word(static_cast<uint32_t>(techniqueEntries[t].second.size()));
        for (std::size_t p = 0; p < techniqueEntries[t].second.size(); ++p) {
            const PassEntry& pass = techniqueEntries[t].second[p];
            const std::vector<EffectPassState>& source = techniques[t].passes[p].states;
            table.Word(pass.name);
            table.Word(0); // annotations
            table.Word(static_cast<uint32_t>(pass.states.size()));
            for (std::size_t s = 0; s < pass.states.size(); ++s) {
                table.Word(source[s].operation);
                table.Word(source[s].index);
                table.Word(pass.states[s].first);
                table.Word(pass.states[s].second);
            }
        }
    }

    table.Word(0); // strings
    table.Word(static_cast<uint32_t>(resources.size()));
    for (const Resource& resource : resources) {
        table.Word(resource.technique);
        table.Word(resource.index);
        table.Word(resource.element);
        table.Word(resource.state);
        table.Word(resource.usage);
        table.Word(static_cast<uint32_t>(resource.data.size()));
        table.Raw(resource.data.data(), resource.data.size());
    }

    DataArea file;
    file.Word(EffectFileTag);
    file.Word(data.Size());
    std::vector<uint8_t> bytes = file.Bytes();
    bytes.insert(bytes.end(), data.Bytes().begin(), data.Bytes().end());
    bytes.insert(bytes.end(), table.Bytes().begin(), table.Bytes().end());
    return bytes;
}
