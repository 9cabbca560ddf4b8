// Writes compiled effect files (the fx_2_0 binary that D3DXCreateEffect
// loads) by the project's own code: the program's effects, test modules and
// test documents.
//
// The file is a data area of strings, type definitions and values, followed
// by a table that names them by their offsets: parameters, then techniques
// with their passes and states, then the resources that objects need
// (shader bytecode, and the names of the texture parameters that states
// refer to).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How the effect file numbers a value's type and class.
enum class EffectValueType : uint32_t {
    Bool = 1,
    Int = 2,
    Float = 3,
    Texture = 5,
    Sampler2D = 12,
    PixelShader = 15,
    VertexShader = 16,
};

enum class EffectValueClass : uint32_t {
    Scalar = 0,
    Vector = 1,
    MatrixRows = 2,
    MatrixColumns = 3,
    Object = 4,
};

// Positions in the effect's table of states: which device state a pass or
// sampler state sets.
namespace EffectState {
constexpr uint32_t ZEnable = 0x00;
constexpr uint32_t FillMode = 0x01;
constexpr uint32_t ZWriteEnable = 0x03;
constexpr uint32_t AlphaTestEnable = 0x04;
constexpr uint32_t SrcBlend = 0x06;
constexpr uint32_t DestBlend = 0x07;
constexpr uint32_t CullMode = 0x08;
constexpr uint32_t ZFunc = 0x09;
constexpr uint32_t AlphaRef = 0x0A;
constexpr uint32_t AlphaFunc = 0x0B;
constexpr uint32_t AlphaBlendEnable = 0x0D;
constexpr uint32_t FogEnable = 0x0E;
constexpr uint32_t SpecularEnable = 0x0F;
constexpr uint32_t StencilEnable = 0x16;
constexpr uint32_t TextureFactor = 0x1E;
constexpr uint32_t Lighting = 0x30;
constexpr uint32_t ColorWriteEnable = 0x49;
constexpr uint32_t BlendOp = 0x4B;
constexpr uint32_t ScissorTestEnable = 0x4E;
constexpr uint32_t SeparateAlphaBlendEnable = 0x63;
constexpr uint32_t SrcBlendAlpha = 0x64;
constexpr uint32_t DestBlendAlpha = 0x65;
constexpr uint32_t BlendOpAlpha = 0x66;
// Texture-stage states take the stage as their index.
constexpr uint32_t ColorOp = 0x67;
constexpr uint32_t ColorArg0 = 0x68;
constexpr uint32_t ColorArg1 = 0x69;
constexpr uint32_t ColorArg2 = 0x6A;
constexpr uint32_t AlphaOp = 0x6B;
constexpr uint32_t AlphaArg0 = 0x6C;
constexpr uint32_t AlphaArg1 = 0x6D;
constexpr uint32_t AlphaArg2 = 0x6E;
constexpr uint32_t ResultArg = 0x6F;
constexpr uint32_t TexCoordIndex = 0x74;
constexpr uint32_t TextureTransformFlags = 0x77;
constexpr uint32_t VertexShader = 0x92;
constexpr uint32_t PixelShader = 0x93;
// A texture bound to a stage (pass state, index = stage) or to a sampler
// (sampler state).
constexpr uint32_t Texture = 0xA4;
// Sampler states.
constexpr uint32_t AddressU = 0xA5;
constexpr uint32_t AddressV = 0xA6;
constexpr uint32_t AddressW = 0xA7;
constexpr uint32_t BorderColor = 0xA8;
constexpr uint32_t MagFilter = 0xA9;
constexpr uint32_t MinFilter = 0xAA;
constexpr uint32_t MipFilter = 0xAB;
constexpr uint32_t MaxMipLevel = 0xAD;
constexpr uint32_t MaxAnisotropy = 0xAE;
constexpr uint32_t SRGBTexture = 0xAF;
} // namespace EffectState

// What a state's value is.
enum class EffectStateKind {
    // A 32-bit integer: an enumeration, a flag or a colour.
    Int,
    // A float, stored by its bits.
    Float,
    // Shader bytecode (VertexShader and PixelShader states).
    Shader,
    // The name of a texture parameter (Texture states).
    TextureName,
};

// One state a pass or a sampler sets.
struct EffectPassState {
    EffectPassState() = default;
    // An integer state.
    EffectPassState(uint32_t operation, uint32_t index, uint32_t value)
        : operation(operation), index(index), value(value)
    {
    }

    uint32_t operation = 0;
    uint32_t index = 0;
    uint32_t value = 0;
    EffectStateKind kind = EffectStateKind::Int;
    float floatValue = 0.0f;
    std::vector<uint8_t> shader;
    std::string textureName;
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

// A 2D sampler: its states, the texture it reads among them.
struct EffectSamplerParameter {
    std::string name;
    std::vector<EffectPassState> states;
};

class CompiledEffectWriter {
public:
    // Parameters need a name: the effect finds them by it. Parameters keep
    // the order in which they are added, whatever their kind.
    void AddParameter(const EffectFloatParameter& parameter);
    void AddTexture(const std::string& name);
    void AddSampler(const EffectSamplerParameter& sampler);
    EffectTechnique& AddTechnique(const std::string& name);

    // The whole file. Throws std::invalid_argument for a parameter without
    // a name or whose value does not have rows × columns floats, and for a
    // shader or texture state without its shader or texture name.
    std::vector<uint8_t> Write() const;

private:
    enum class ParameterKind { Float, Texture, Sampler };
    struct ParameterEntry {
        ParameterKind kind;
        std::size_t index;
    };

    std::vector<ParameterEntry> order;
    std::vector<EffectFloatParameter> floats;
    std::vector<std::string> textures;
    std::vector<EffectSamplerParameter> samplers;
    std::vector<EffectTechnique> techniques;
};
