#include "tools/effects/CompiledEffectWriter.h"

#include <cstring>
#include <stdexcept>

namespace {

// "fx" 2.0 with the effect tag in the upper half.
constexpr uint32_t EffectFileTag = 0xFEFF0901;
// Object ids start at 1; the count must exceed the highest one in use.
constexpr uint32_t ObjectCountWithoutObjects = 1;

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

    // The length with the terminator, the characters, the terminator, zeros
    // to the next word. An empty text is the length 0 alone, which the
    // effect reads as "no name".
    uint32_t String(const std::string& text)
    {
        if (text.empty())
            return Word(0);
        const uint32_t offset = Word(static_cast<uint32_t>(text.size() + 1));
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
        while (bytes.size() % 4)
            bytes.push_back(0);
        return offset;
    }

    // A non-array numeric type. Vectors store columns before rows; scalars
    // and matrices rows before columns.
    uint32_t NumericType(EffectValueType type, EffectValueClass valueClass, uint32_t nameOffset,
                         uint32_t semanticOffset, uint32_t rows, uint32_t columns)
    {
        const uint32_t offset = Word(static_cast<uint32_t>(type));
        Word(static_cast<uint32_t>(valueClass));
        Word(nameOffset);
        Word(semanticOffset);
        Word(0); // not an array
        const bool vector = valueClass == EffectValueClass::Vector;
        Word(vector ? columns : rows);
        Word(vector ? rows : columns);
        return offset;
    }

    uint32_t Size() const { return static_cast<uint32_t>(bytes.size()); }
    const std::vector<uint8_t>& Bytes() const { return bytes; }

private:
    std::vector<uint8_t> bytes;
};

void CheckParameter(const EffectFloatParameter& parameter)
{
    if (parameter.name.empty())
        throw std::invalid_argument("an effect parameter needs a name");
    if (parameter.rows == 0 || parameter.columns == 0 ||
        parameter.value.size() != static_cast<std::size_t>(parameter.rows) * parameter.columns)
        throw std::invalid_argument("an effect parameter's value must hold rows x columns floats");
}

} // namespace

void CompiledEffectWriter::AddParameter(const EffectFloatParameter& parameter)
{
    CheckParameter(parameter);
    parameters.push_back(parameter);
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

    table.Word(static_cast<uint32_t>(parameters.size()));
    table.Word(static_cast<uint32_t>(techniques.size()));
    table.Word(0);
    table.Word(ObjectCountWithoutObjects);

    for (const EffectFloatParameter& parameter : parameters) {
        CheckParameter(parameter);
        const uint32_t name = data.String(parameter.name);
        const uint32_t semantic = data.String(parameter.semantic);
        const uint32_t type = data.NumericType(EffectValueType::Float, parameter.valueClass, name, semantic,
                                               parameter.rows, parameter.columns);
        const uint32_t value = data.Size();
        for (float v : parameter.value)
            data.Float(v);
        table.Word(type);
        table.Word(value);
        table.Word(0); // flags
        table.Word(0); // annotations
    }

    // Every state value is a plain 32-bit integer; its type is shared.
    const uint32_t noName = data.String(std::string());
    const uint32_t stateType =
        data.NumericType(EffectValueType::Int, EffectValueClass::Scalar, noName, noName, 1, 1);

    for (const EffectTechnique& technique : techniques) {
        table.Word(data.String(technique.name));
        table.Word(0); // annotations
        table.Word(static_cast<uint32_t>(technique.passes.size()));
        for (const EffectPass& pass : technique.passes) {
            table.Word(data.String(pass.name));
            table.Word(0); // annotations
            table.Word(static_cast<uint32_t>(pass.states.size()));
            for (const EffectPassState& state : pass.states) {
                table.Word(state.operation);
                table.Word(state.index);
                table.Word(stateType);
                table.Word(data.Word(state.value));
            }
        }
    }

    table.Word(0); // strings
    table.Word(0); // resources

    DataArea file;
    file.Word(EffectFileTag);
    file.Word(data.Size());
    std::vector<uint8_t> bytes = file.Bytes();
    bytes.insert(bytes.end(), data.Bytes().begin(), data.Bytes().end());
    bytes.insert(bytes.end(), table.Bytes().begin(), table.Bytes().end());
    return bytes;
}
