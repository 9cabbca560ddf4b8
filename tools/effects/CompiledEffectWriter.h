// Writes compiled effect files (the fx_2_0 binary that D3DXCreateEffect
// loads) by the project's own code, for test modules and test documents.
//
// The file is a data area of strings, type definitions and values, followed
// by a table that names them by their offsets: parameters, then techniques
// with their passes and states. This writer covers float parameters and
// passes of render and texture-stage states; samplers, textures and shaders
// (with the constant table a shader needs to see parameters) fit the same
// data area and would be written as further table entries and resources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How the effect file numbers a value's type and class.
enum class EffectValueType : uint32_t {
    Bool = 1,
    Int = 2,
    Float = 3,
};

enum class EffectValueClass : uint32_t {
    Scalar = 0,
    Vector = 1,
    MatrixRows = 2,
    MatrixColumns = 3,
};

// Positions in the effect's table of states: which device state a pass
// state sets.
namespace EffectState {
constexpr uint32_t ZEnable = 0x00;
constexpr uint32_t ZWriteEnable = 0x03;
constexpr uint32_t SrcBlend = 0x06;
constexpr uint32_t DestBlend = 0x07;
constexpr uint32_t CullMode = 0x08;
constexpr uint32_t AlphaBlendEnable = 0x0D;
constexpr uint32_t TextureFactor = 0x1E;
constexpr uint32_t Lighting = 0x30;
constexpr uint32_t BlendOp = 0x4B;
// Texture-stage states take the stage as their index.
constexpr uint32_t ColorOp = 0x67;
constexpr uint32_t ColorArg1 = 0x69;
constexpr uint32_t ColorArg2 = 0x6A;
constexpr uint32_t AlphaOp = 0x6B;
constexpr uint32_t AlphaArg1 = 0x6D;
constexpr uint32_t AlphaArg2 = 0x6E;
} // namespace EffectState

// One state a pass sets: a 32-bit value (an enumeration, a flag or a colour).
struct EffectPassState {
    uint32_t operation = 0;
    uint32_t index = 0;
    uint32_t value = 0;
};

struct EffectPass {
    std::string name;
    std::vector<EffectPassState> states;
};

struct EffectTechnique {
    std::string name;
    std::vector<EffectPass> passes;
};

// A float parameter: a scalar (1 × 1), a vector (1 × n) or a matrix, with
// its initial value, rows × columns floats row by row.
struct EffectFloatParameter {
    std::string name;
    std::string semantic;
    EffectValueClass valueClass = EffectValueClass::Scalar;
    uint32_t rows = 1;
    uint32_t columns = 1;
    std::vector<float> value;
};

class CompiledEffectWriter {
public:
    // Parameters need a name: the effect finds them by it.
    void AddParameter(const EffectFloatParameter& parameter);
    EffectTechnique& AddTechnique(const std::string& name);

    // The whole file. Throws std::invalid_argument for a parameter without
    // a name or whose value does not have rows × columns floats.
    std::vector<uint8_t> Write() const;

private:
    std::vector<EffectFloatParameter> parameters;
    std::vector<EffectTechnique> techniques;
};
