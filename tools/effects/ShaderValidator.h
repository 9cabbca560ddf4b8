// Checks assembled shader bytecode against the rules Direct3D 9 applies to
// its profile (ps_2_0 and vs_2_0) when a device creates the shader. Wine's
// runtime creates shaders that break these rules; Windows refuses them, so
// the effect compiler refuses them first.
//
// What is checked, per instruction: the instruction exists in the profile
// and how many slots it takes (and the profile's totals), the register kinds
// and ranges it names, destination masks and modifiers, source swizzles and
// modifiers, how many distinct registers of one kind it reads (read ports),
// reads of temporary components nothing has written yet, the texture
// instructions' operands and their dependency order, and the rules for
// writing output registers; over the whole shader, the outputs that must be
// written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ShaderViolation {
    // Where the rule is broken. A declaration or definition (dcl, def) is
    // named by the register it declares or defines ("t8"), since assemblers
    // write those in an order of their own; any other instruction by its
    // place among the instructions that compute or sample (1 the first), and
    // 0 is the version token.
    std::string declaration;
    std::size_t instruction = 0;
    std::string message;
};

// The first rule the shader breaks; false when it breaks none.
bool FindShaderViolation(const std::vector<uint8_t>& bytecode, ShaderViolation& violation);
