#include "tools/effects/FlatColourEffect.h"

#include "tools/effects/CompiledEffectWriter.h"

const char* const FlatColourTechnique = "Flat";
const char* const FlatColourPass = "Fill";
const char* const FlatColourParameter = "Colour";

namespace {

// Texture-stage operation and argument values (D3DTOP_SELECTARG1,
// D3DTA_TFACTOR) and FALSE, spelled out so that the writer needs no
// Direct3D header.
constexpr uint32_t SelectArg1 = 2;
constexpr uint32_t TextureFactorArgument = 3;
constexpr uint32_t Off = 0;

float Channel(uint32_t argb, int shift)
{
    return static_cast<float>((argb >> shift) & 0xFF) / 255.0f;
}

} // namespace

std::vector<uint8_t> FlatColourEffect(uint32_t argb)
{
    CompiledEffectWriter writer;
    EffectFloatParameter colour;
    colour.name = FlatColourParameter;
    colour.valueClass = EffectValueClass::Vector;
    colour.rows = 1;
    colour.columns = 4;
    colour.value = {Channel(argb, 16), Channel(argb, 8), Channel(argb, 0), Channel(argb, 24)};
    writer.AddParameter(colour);

    EffectTechnique& technique = writer.AddTechnique(FlatColourTechnique);
    technique.passes.push_back(EffectPass{FlatColourPass,
                                          {
                                              {EffectState::AlphaBlendEnable, 0, Off},
                                              {EffectState::TextureFactor, 0, argb},
                                              {EffectState::ColorOp, 0, SelectArg1},
                                              {EffectState::ColorArg1, 0, TextureFactorArgument},
                                              {EffectState::AlphaOp, 0, SelectArg1},
                                              {EffectState::AlphaArg1, 0, TextureFactorArgument},
                                          }});
    return writer.Write();
}
