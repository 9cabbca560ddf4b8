#include "tools/effects/EffectCompiler.h"

#include "foundation/core/ComHolder.h"
#include "tests/support/TestDevice.h"

#include <d3dx9.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const UINT Size = 64;

// Every parameter kind the sources declare, each reaching the pixels through
// a technique of its own.
const char* const KindsSource = R"(
float Red = 0.25;
float2 GreenBlue = 0.5, 0.75;
float3 Colour3 : COLOR = { 0.1, 0.2, 0.3 };
float4 Colour4 = 0, 0, 0, 1;
float4x4 WorldViewProj;
texture Picture;
sampler PictureSampler {
    Texture = Picture;
    AddressU = Clamp;
    AddressV = Clamp;
    MinFilter = Point;
    MagFilter = Point;
}

pixelshader ScalarPS(Red = c0) {
    ps_2_0
    def c1, 0, 0, 0, 1
    mov r0, c1
    mov r0.x, c0.x
    mov oC0, r0
}

pixelshader Vector2PS(GreenBlue = c3) {
    ps_2_0
    def c1, 0, 0, 0, 1
    mov r0, c1
    mov r0.yz, c3.xxy
    mov oC0, r0
}

pixelshader Vector3PS(Colour3 = c0) {
    ps_2_0
    def c1, 0, 0, 0, 1
    mov r0, c1
    mov r0.xyz, c0
    mov oC0, r0
}

pixelshader Vector4PS(Colour4 = c2) {
    ps_2_0
    mov oC0, c2
}

/* Places the quad by the matrix and paints it white. */
vertexshader PlaceVS(WorldViewProj = c0) {
    vs_2_0
    dcl_position v0
    dp4 oPos.x, v0, c0
    dp4 oPos.y, v0, c1
    dp4 oPos.z, v0, c2
    dp4 oPos.w, v0, c3
}

pixelshader WhitePS() {
    ps_2_0
    def c0, 1, 1, 1, 1
    mov oC0, c0
}

pixelshader TexturePS(PictureSampler = s0) {
    ps_2_0
    dcl t0.xy
    dcl_2d s0
    texld r0, t0, s0
    mov oC0, r0
}

technique Scalar { pass P0 { ZEnable = False; CullMode = None; PixelShader = ScalarPS; } }
technique Vector2 { pass P0 { PixelShader = Vector2PS; } }
technique Vector3 { pass P0 { PixelShader = Vector3PS; } }
technique Vector4 { pass P0 { PixelShader = Vector4PS; } }
technique Matrix { pass P0 { VertexShader = PlaceVS; PixelShader = WhitePS; } }
technique Sampled { pass P0 { PixelShader = TexturePS; } }
technique FixedFunction {
    pass P0 {
        Texture[0] = Picture;
        ColorOp[0] = SelectArg1;
        ColorArg1[0] = Texture;
        AlphaOp[0] = SelectArg1;
        AlphaArg1[0] = Texture;
    }
}
)";

class EffectCompilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Ok());
        const std::vector<uint8_t> compiled = CompileEffectSource(KindsSource);
        ASSERT_EQ(D3D_OK, D3DXCreateEffect(device.Device(), compiled.data(), static_cast<UINT>(compiled.size()),
                                           nullptr, nullptr, 0, nullptr, effect.Out(), nullptr));
    }

    // A quad over the whole target in clip space, with texture coordinates,
    // drawn by every pass of the technique; the transforms are identities,
    // so a technique without a vertex shader draws it as it is.
    Pixels Draw(const char* technique)
    {
        struct Vertex {
            float x, y, z, u, v;
        };
        const Vertex quad[4] = {
            {-1, 1, 0.5f, 0, 0}, {1, 1, 0.5f, 1, 0}, {-1, -1, 0.5f, 0, 1}, {1, -1, 0.5f, 1, 1}};
        IDirect3DDevice9* d = device.Device();
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        d->SetTransform(D3DTS_WORLD, &identity);
        d->SetTransform(D3DTS_VIEW, &identity);
        d->SetTransform(D3DTS_PROJECTION, &identity);
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
        d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        d->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
        EXPECT_EQ(D3D_OK, effect->SetTechnique(technique));
        d->BeginScene();
        UINT passes = 0;
        effect->Begin(&passes, 0);
        for (UINT pass = 0; pass < passes; ++pass) {
            effect->BeginPass(pass);
            d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
            effect->EndPass();
        }
        effect->End();
        d->EndScene();
        return device.ReadBackBuffer();
    }

    Rgba Centre(const char* technique) { return Draw(technique).At(Size / 2, Size / 2); }

    TestDevice device{Size, Size};
    ComHolder<ID3DXEffect> effect;
};

// The initial values arrive, and so does every value the program sets.
TEST_F(EffectCompilerTest, EveryFloatKindReachesItsShader)
{
    EXPECT_TRUE(ColourNear(Centre("Scalar"), {64, 0, 0, 255}, 2));
    ASSERT_EQ(D3D_OK, effect->SetFloat("Red", 1.0f));
    EXPECT_TRUE(ColourNear(Centre("Scalar"), {255, 0, 0, 255}, 2));

    EXPECT_TRUE(ColourNear(Centre("Vector2"), {0, 128, 191, 255}, 2));
    const float greenBlue[2] = {1.0f, 0.0f};
    ASSERT_EQ(D3D_OK, effect->SetFloatArray("GreenBlue", greenBlue, 2));
    EXPECT_TRUE(ColourNear(Centre("Vector2"), {0, 255, 0, 255}, 2));

    EXPECT_TRUE(ColourNear(Centre("Vector3"), {26, 51, 77, 255}, 2));
    const float colour3[3] = {0.0f, 0.0f, 1.0f};
    ASSERT_EQ(D3D_OK, effect->SetFloatArray("Colour3", colour3, 3));
    EXPECT_TRUE(ColourNear(Centre("Vector3"), {0, 0, 255, 255}, 2));

    const D3DXVECTOR4 colour4(0.5f, 1.0f, 0.0f, 1.0f);
    ASSERT_EQ(D3D_OK, effect->SetVector("Colour4", &colour4));
    EXPECT_TRUE(ColourNear(Centre("Vector4"), {128, 255, 0, 255}, 2));
}

// The matrix arrives as the program composes it: a row-vector transform that
// shrinks the quad to the middle half and moves it right.
TEST_F(EffectCompilerTest, MatrixTransformsLikeTheProgramsMatrices)
{
    D3DXMATRIX scale;
    D3DXMATRIX move;
    D3DXMatrixScaling(&scale, 0.5f, 0.5f, 1.0f);
    D3DXMatrixTranslation(&move, 0.5f, 0.0f, 0.0f);
    const D3DXMATRIX placed = scale * move;
    ASSERT_EQ(D3D_OK, effect->SetMatrix("WorldViewProj", &placed));

    const Pixels pixels = Draw("Matrix");
    // Clip x from 0 to 1 is the right half; y from -0.5 to 0.5 the middle.
    EXPECT_TRUE(pixels.AllNear(Size / 2 + 2, Size / 4 + 2, Size - 2, 3 * Size / 4 - 2, {255, 255, 255, 255}, 0));
    EXPECT_TRUE(pixels.AllNear(0, 0, Size / 2 - 2, Size, {0, 0, 0, 255}, 0));
    EXPECT_TRUE(pixels.AllNear(Size / 2, 0, Size, Size / 4 - 2, {0, 0, 0, 255}, 0));
}

// A texture set on the effect is read through its sampler by a shader, and
// bound to a stage by a fixed-function pass.
TEST_F(EffectCompilerTest, TexturesArriveThroughSamplersAndStages)
{
    ComHolder<IDirect3DTexture9> texture;
    ASSERT_EQ(D3D_OK, device.Device()->CreateTexture(2, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Out(),
                                                     nullptr));
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(D3D_OK, texture->LockRect(0, &locked, nullptr, 0));
    static_cast<D3DCOLOR*>(locked.pBits)[0] = D3DCOLOR_XRGB(200, 30, 60);
    static_cast<D3DCOLOR*>(locked.pBits)[1] = D3DCOLOR_XRGB(20, 220, 90);
    texture->UnlockRect(0);
    ASSERT_EQ(D3D_OK, effect->SetTexture("Picture", texture.Get()));

    for (const char* technique : {"Sampled", "FixedFunction"}) {
        SCOPED_TRACE(technique);
        const Pixels pixels = Draw(technique);
        EXPECT_TRUE(ColourNear(pixels.At(Size / 4, Size / 2), {200, 30, 60, 255}, 2));
        EXPECT_TRUE(ColourNear(pixels.At(3 * Size / 4, Size / 2), {20, 220, 90, 255}, 2));
    }
}

struct BrokenSource {
    const char* what;
    const char* text;
    int line;
};

// A mistake stops the compilation with the line it is on.
TEST(EffectCompiler, ErrorsNameTheirLine)
{
    const BrokenSource cases[] = {
        {"unknown declaration", "float A;\nfloot B;\n", 2},
        {"missing semicolon", "float A\ntexture T;\n", 2},
        {"wrong number of initial values", "\n\nfloat3 A = 1, 2;\n", 3},
        {"name declared twice", "float A;\n\ntexture A;\n", 3},
        {"unknown pass state", "technique T {\n pass P {\n  Blending = True;\n }\n}\n", 3},
        {"value not of the state", "technique T {\n pass P {\n  CullMode = Linear;\n }\n}\n", 3},
        {"stage state without its stage", "technique T { pass P {\n ColorOp = Modulate; } }\n", 2},
        {"binding of an undeclared parameter", "pixelshader P(\n Missing = c0) {\n ps_2_0\n}\n", 2},
        {"float bound to a sampler register", "float A;\npixelshader P(A = s0) {\n ps_2_0\n}\n", 2},
        {"assembler error", "pixelshader P() {\n ps_2_0\n def c0, 1, 1, 1, 1\n mvo oC0, c0\n}\n", 4},
        {"vertex assembly in a pixel shader", "\npixelshader P() {\n vs_2_0\n}\n", 2},
        {"undeclared shader", "technique T { pass P {\n\n PixelShader = Nothing; } }\n", 3},
        {"no technique", "float A;\n", 2},
        {"unclosed shader body", "pixelshader P() {\n ps_2_0\n", 1},
    };
    for (const BrokenSource& broken : cases) {
        SCOPED_TRACE(broken.what);
        try {
            CompileEffectSource(broken.text);
            ADD_FAILURE() << "compiled";
        } catch (const EffectSourceError& error) {
            EXPECT_EQ(broken.line, error.Line()) << error.Message();
            EXPECT_FALSE(error.Message().empty());
        }
    }
}

// A pixel shader of the given statements, one a line from line 3 (line 1
// opens the shader, line 2 names the profile).
std::string PixelShader(const std::string& statements) { return "pixelshader P() {\n ps_2_0\n" + statements + "}\n"; }
std::string VertexShader(const std::string& statements) { return "vertexshader V() {\n vs_2_0\n" + statements + "}\n"; }

std::string Repeat(const std::string& line, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

// 33 texture reads through nine registers, none above the third dependency
// order (each overwrite of a register is one order up).
std::string ThirtyThreeReads()
{
    std::string text;
    for (int round = 0, n = 0; round < 4; ++round)
        for (int r = 0; r < 9 && n < 33; ++r, ++n)
            text += " texld r" + std::to_string(r) + ", t0, s0\n";
    return text;
}

struct BrokenShader {
    const char* rule;
    std::string text;
    int line;
};

// Each rule of the Direct3D 9 profiles stops the compilation at the line that
// breaks it.
TEST(EffectCompiler, ShaderRulesNameTheirLine)
{
    const std::string one = " def c0, 1, 1, 1, 1\n";
    const std::string t0 = " dcl t0.xy\n dcl_2d s0\n";
    const std::string position = " dcl_position v0\n mov oPos, v0\n";
    const BrokenShader cases[] = {
        // Profiles.
        {"a profile other than ps_2_0 and vs_2_0", "pixelshader P() {\n ps_3_0\n mov oC0, c0\n}\n", 2},
        {"an instruction the profile lacks", PixelShader(one + " mov r0, c0\n dsx r1, r0\n mov oC0, r0\n"), 5},
        // Instruction slots: 64 arithmetic and 32 texture in ps_2_0 (pow 3,
        // lrp 2), 256 in vs_2_0 (log 10).
        {"65 arithmetic slots", PixelShader(one + Repeat(" mov r0, c0\n", 64) + " mov oC0, r0\n"), 68},
        {"slots per instruction", PixelShader(one + Repeat(" pow r0, c0.x, c0.y\n", 21) + " lrp r0, c0, c0, c0\n mov oC0, r0\n"), 25},
        {"33 texture slots", PixelShader(t0 + ThirtyThreeReads() + " mov oC0, r0\n"), 37},
        {"257 vertex slots", VertexShader(position + Repeat(" log r0, v0.x\n", 26)), 30},
        // Source swizzles and modifiers.
        {"an arbitrary swizzle in ps_2_0", PixelShader(one + " mul r1.xy, c0, c0.zwzw\n mov oC0, r1\n"), 4},
        {"a scalar source without replicate", PixelShader(one + " rcp r0, c0.xy\n mov oC0, r0\n"), 4},
        {"dp2add's third source without replicate",
         PixelShader(one + " mov r0, c0\n dp2add r0, r0, r0, c0.xyzw\n mov oC0, r0\n"), 5},
        {"absolute-value source in ps_2_0", PixelShader(one + " add r0, c0_abs, c0\n mov oC0, r0\n"), 4},
        // Read ports: distinct registers of one kind per instruction.
        {"three constants in ps_2_0", PixelShader(" def c0, 1, 1, 1, 1\n def c1, 1, 1, 1, 1\n def c2, 1, 1, 1, 1\n mad r0, c0, c1, c2\n mov oC0, r0\n"), 6},
        {"two texture coordinates in ps_2_0", PixelShader(" dcl t0\n dcl t1\n add r0, t0, t1\n mov oC0, r0\n"), 5},
        {"two colour inputs in ps_2_0", PixelShader(" dcl v0\n dcl v1\n add r0, v0, v1\n mov oC0, r0\n"), 5},
        {"two constants in vs_2_0", VertexShader(position + " add oT0, c0, c1\n"), 5},
        {"two inputs in vs_2_0", VertexShader(" dcl_position v0\n dcl_texcoord v1\n mov oPos, v0\n add oT0, v0, v1\n"), 6},
        // Register ranges.
        {"temporary r12", PixelShader(one + " mov r12, c0\n mov oC0, r12\n"), 4},
        {"constant c32 in ps_2_0", PixelShader(" mov r0, c32\n mov oC0, r0\n"), 3},
        {"texture coordinate t8", PixelShader(" dcl t8\n mov oC0, t8\n"), 3},
        {"sampler s16", PixelShader(one + " dcl_2d s16\n mov oC0, c0\n"), 4},
        {"colour input v2", PixelShader(" dcl v2\n mov oC0, v2\n"), 3},
        {"colour output oC4", PixelShader(one + " mov oC0, c0\n mov oC1, c0\n mov oC2, c0\n mov oC3, c0\n mov oC4, c0\n"), 8},
        {"constant c256 in vs_2_0", VertexShader(position + " mov oT0, c256\n"), 5},
        {"texture output oT8", VertexShader(position + " mov oT8, v0\n"), 5},
        {"colour output oD2", VertexShader(position + " mov oD2, v0\n"), 5},
        // Reads of what nothing wrote.
        {"a temporary component before it is written",
         PixelShader(one + " mov r7.xy, c0\n mad r7, r7, c0.x, c0.y\n mov oC0, r7\n"), 5},
        {"an undeclared texture coordinate", PixelShader(" mov r0, t0\n mov oC0, r0\n"), 3},
        {"a component the declaration leaves out", PixelShader(" dcl t0.xy\n mov r0, t0\n mov oC0, r0\n"), 4},
        {"an undeclared vertex input", VertexShader(position + " mov oT0, v1\n"), 5},
        // Texture instructions.
        {"texld with a write mask", PixelShader(t0 + " texld r0.xy, t0, s0\n mov oC0, r0\n"), 5},
        {"texld from a constant", PixelShader(t0 + " texld r0, c0, s0\n mov oC0, r0\n"), 5},
        {"texld from swizzled coordinates", PixelShader(t0 + " mov r1.xy, t0\n texld r0, r1.yxzw, s0\n mov oC0, r0\n"), 6},
        {"texld through an undeclared sampler", PixelShader(" dcl t0.xy\n texld r0, t0, s1\n mov oC0, r0\n"), 4},
        {"a fifth level of dependent reads",
         PixelShader(t0 + " texld r0, t0, s0\n texld r1, r0, s0\n texld r2, r1, s0\n texld r3, r2, s0\n"
                          " texld r4, r3, s0\n mov oC0, r4\n"),
         9},
        // Outputs.
        {"no oC0", PixelShader(one + " mov r0, c0\n"), 4},
        {"oC0 by arithmetic", PixelShader(one + " add oC0, c0, c0\n"), 4},
        {"oC0 with a write mask", PixelShader(one + " mov oC0.xyz, c0\n"), 4},
        {"oC0 from a swizzle", PixelShader(one + " mov oC0, c0.x\n"), 4},
        {"oC0 saturated", PixelShader(one + " mov_sat oC0, c0\n"), 4},
        {"oC0 twice", PixelShader(one + " mov oC0, c0\n mov oC0, c0\n"), 5},
        {"oC1 without oC0 before it", PixelShader(one + " mov oC1, c0\n mov oC2, c0\n"), 5},
        {"oDepth from a whole register", PixelShader(one + " mov oC0, c0\n mov oDepth, c0\n"), 5},
        {"no oPos", VertexShader(" dcl_position v0\n mov oT0, v0\n"), 4},
        {"part of oPos", VertexShader(" dcl_position v0\n mov oPos.xyz, v0\n"), 4},
        {"a read-only destination", VertexShader(position + " mov v0, c0\n"), 5},
    };
    for (const BrokenShader& broken : cases) {
        SCOPED_TRACE(broken.rule);
        try {
            CompileEffectSource(broken.text);
            ADD_FAILURE() << "compiled";
        } catch (const EffectSourceError& error) {
            EXPECT_EQ(broken.line, error.Line()) << error.Message();
            EXPECT_FALSE(error.Message().empty());
        }
    }
}

// What the rules allow passes: vertex shaders swizzle freely, ps_2_0 takes
// its own swizzles on the components an instruction uses, two constants,
// and reads four levels deep.
TEST(EffectCompiler, ShadersWithinTheRulesCompile)
{
    const std::string source = R"(
vertexshader V() {
    vs_2_0
    def c0, 1, 2, 3, 4
    dcl_position v0
    dcl_texcoord v1
    mov oPos, v0
    mov r0, v1.wzxy
    mul oT0, r0, c0.yxwz
}
pixelshader P() {
    ps_2_0
    def c0, 0.5, 0.5, 0.5, 1
    def c1, 0.25, 0.25, 0, 0
    dcl t0.xy
    dcl_2d s0
    texld r0, t0, s0
    texld r1, r0, s0
    texld r2, r1, s0
    texld r3, r2, s0
    mad r4.xy, r3, c0, c1.x
    mov r4.zw, r3.wzyx
    dp2add r5.x, r4, c1, c0.w
    rcp r5.y, r5.x
    mov r5.zw, c1.xzxx
    mov oC0, r5
}
technique T { pass P0 { VertexShader = V; PixelShader = P; } }
)";
    EXPECT_FALSE(CompileEffectSource(source).empty());
}

// Every effect the program carries keeps to its profile's rules.
TEST(EffectCompiler, EveryProgramEffectCompiles)
{
    int effects = 0;
    for (const auto& entry : std::filesystem::directory_iterator(NIGHTGLASS_SOURCE_DIR "/res/effects")) {
        if (entry.path().extension() != ".effect")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        try {
            EXPECT_FALSE(CompileEffectSource(text.str()).empty());
        } catch (const EffectSourceError& error) {
            ADD_FAILURE() << "line " << error.Line() << ": " << error.Message();
        }
        ++effects;
    }
    EXPECT_EQ(11, effects);
}

} // namespace
