// Compiles the project's effect sources into the compiled effect binary that
// D3DXCreateEffect loads.
//
// A source declares, in any order and each once:
//   float Brightness = 0.3;              float, float2..float4, float4x4 (and
//   float3 Tint : COLOR = 1, 0.5, 0;     other floatRxC), optional semantic
//                                        and initial value (zeros without)
//   texture Noise;
//   sampler NoiseSampler { Texture = Noise; AddressU = Wrap; MinFilter = Linear; }
//   vertexshader FlameVS(WorldViewProj = c0) { vs_2_0 ...assembly... }
//   pixelshader FlamePS(Tint = c0, NoiseSampler = s0) { ps_2_0 ...assembly... }
//   technique Main { pass P0 { AlphaBlendEnable = True; ColorOp[0] = Modulate;
//                              VertexShader = FlameVS; PixelShader = FlamePS; } }
// Shader bodies are Direct3D 9 shader assembly; the bindings in parentheses
// say which register each parameter lives in (c<n> for floats, s<n> for
// samplers) and become the shader's constant table. // and /* */ comment
// outside shader bodies; inside them the assembler's own comments apply.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// What is wrong with a source, and on which line (1-based).
class EffectSourceError : public std::runtime_error {
public:
    EffectSourceError(int line, const std::string& message);
    int Line() const { return line; }
    const std::string& Message() const { return message; }

private:
    int line;
    std::string message;
};

// The compiled effect of the source text. Throws EffectSourceError.
std::vector<uint8_t> CompileEffectSource(const std::string& text);
