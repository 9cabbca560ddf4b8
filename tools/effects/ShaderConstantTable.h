// The constant table that tells the effect framework which registers of a
// shader its parameters go to. The shader assembler emits bytecode without
// one, and without it no parameter ever reaches the shader, so the effect
// compiler inserts it after the version token.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Register sets of the table.
enum class ShaderRegisterSet : uint16_t {
    Float4 = 2,
    Sampler = 3,
};

struct ShaderConstant {
    // The effect parameter's name; for a sampler, the sampler parameter's.
    std::string name;
    ShaderRegisterSet registerSet = ShaderRegisterSet::Float4;
    uint16_t registerIndex = 0;
    uint16_t registerCount = 1;
    // The parameter's class and type as the effect file numbers them, and
    // its shape.
    uint16_t valueClass = 0;
    uint16_t valueType = 0;
    uint16_t rows = 1;
    uint16_t columns = 1;
};

// The bytecode with a comment token holding the table right after its
// version token. Throws std::invalid_argument for bytecode shorter than a
// version token.
std::vector<uint8_t> InsertConstantTable(const std::vector<uint8_t>& bytecode,
                                         const std::vector<ShaderConstant>& constants);
