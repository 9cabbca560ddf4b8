#include "tools/effects/EffectCompiler.h"

#include "foundation/geometry/ComHolder.h"
#include "tests/support/TestDevice.h"

#include <d3dx9.h>

#include <gtest/gtest.h>

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

} // namespace
