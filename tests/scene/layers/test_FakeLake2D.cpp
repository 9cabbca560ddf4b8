// The lake layer: its record, the lake's geometry and tint, the ripple, the
// reflection and bump textures, its device state, and what it draws.
#include "scene/layers/FakeLake2D.h"

#include "foundation/resources/ResourceCache.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tests/support/TestTextures.h"
#include "tools/document/LakeRecord.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using LakeTest = LayerTest<256, 256>;

const FileKey PictureKey{L"mountains.jpg", 4};
const GUID BumpGuid = {0x12345678, 0x9ABC, 0xDEF0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

// A managed V8U8 texture of one level with (du, dv) everywhere.
ComHolder<IDirect3DTexture9> BumpTexture(IDirect3DDevice9* device, int8_t du, int8_t dv)
{
    return FilledTexture(device, 4, 4, D3DFMT_V8U8, [du, dv](uint8_t* bytes, UINT) {
        int8_t* row = reinterpret_cast<int8_t*>(bytes);
        for (int x = 0; x < 4; ++x) {
            row[2 * x] = du;
            row[2 * x + 1] = dv;
        }
    });
}

// A picture whose every row has its own colour, red counting the rows down
// and green up; blue runs across in steep bands.
Rgba PictureColour(int x, int y)
{
    return Rgba{static_cast<uint8_t>(y), static_cast<uint8_t>(255 - y), static_cast<uint8_t>((x * 4) & 255), 255};
}

ComHolder<IDirect3DTexture9> PictureTexture(IDirect3DDevice9* device)
{
    return ColourTexture(device, 256, 256, [](UINT x, UINT y) {
        const Rgba c = PictureColour(static_cast<int>(x), static_cast<int>(y));
        return D3DCOLOR_ARGB(255, c.r, c.g, c.b);
    });
}

// The (du, dv) of a V8U8 texel.
std::pair<int, int> BumpAt(IDirect3DTexture9* texture, UINT level, UINT x, UINT y)
{
    D3DLOCKED_RECT locked{};
    texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY);
    const int8_t* texel = static_cast<const int8_t*>(locked.pBits) + y * locked.Pitch + 2 * x;
    const std::pair<int, int> bump{texel[0], texel[1]};
    texture->UnlockRect(level);
    return bump;
}

Pixels DrawFrame(TestDevice& device, FakeLake2D& layer)
{
    IDirect3DDevice9* d = device.Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    d->BeginScene();
    layer.DrawBackground(false);
    layer.FinishFrame();
    d->EndScene();
    return device.ReadBackBuffer();
}

} // namespace

// Version 2 holds the ten values before the key; version 1 only the key, the
// values keeping their defaults. Writing gives the version 2 record.
TEST(FakeLake2D, RecordVersionsReadTheirOwnFields)
{
    LakeContent content;
    content.bumpTiling = 200;
    content.rippleSpeed = 25;
    content.lakeFraction = 0;
    content.bumpFade = 50;
    content.tintStrength = 100;
    content.tintFalloff = 10;
    content.bumpAmplitude = 40;
    content.horizonBand = 12;
    content.reflectionSizeExponent = 2;
    content.tintColor = 0x00FF0000;
    content.bumpKey = BumpGuid;
    content.bumpName = L"ripples";
    content.bumpFlag = false;
    content.light.picturePath = L"mountains.jpg";

    FakeLake2D v2;
    EXPECT_EQ(0u, ReadRecordInto(LakeRecordBytes(content), v2));
    EXPECT_FLOAT_EQ(2.0f, v2.bumpTiling.result);
    EXPECT_FLOAT_EQ(0.5f, v2.rippleSpeed.result);
    EXPECT_FLOAT_EQ(0.5f, v2.lakeFraction.result);
    EXPECT_FLOAT_EQ(0.5f, v2.bumpFade.result);
    EXPECT_FLOAT_EQ(0.8f, v2.tintStrength.result);
    EXPECT_FLOAT_EQ(0.1f, v2.tintFalloff.result);
    EXPECT_EQ(40u, v2.bumpAmplitude.value);
    EXPECT_EQ(12u, v2.horizonBand.value);
    EXPECT_EQ(2, v2.reflectionSizeExponent.value);
    EXPECT_EQ(0x00FF0000ul, v2.tintColor.value);
    EXPECT_EQ(0x000000FFu, v2.TintColour());
    EXPECT_TRUE(IsEqualGUID(BumpGuid, v2.bumpKey.id));
    EXPECT_EQ(L"ripples", v2.bumpKey.name);
    EXPECT_EQ(0, v2.bumpKey.flag);
    EXPECT_EQ(L"mountains.jpg", v2.pictureLink.value.path);

    WritingHandle out;
    v2.Write(out.handle);
    EXPECT_EQ(LakeRecordBytes(content), out.archive->Bytes());

    content.version = 1;
    FakeLake2D v1;
    EXPECT_EQ(0u, ReadRecordInto(LakeRecordBytes(content), v1));
    EXPECT_FLOAT_EQ(1.0f, v1.bumpTiling.result);
    EXPECT_FLOAT_EQ(0.375f, v1.lakeFraction.result);
    EXPECT_NEAR(0.248f, v1.tintStrength.result, 1e-6f);
    EXPECT_EQ(7u, v1.horizonBand.value);
    EXPECT_EQ(1, v1.reflectionSizeExponent.value);
    EXPECT_EQ(0x408000ul, v1.tintColor.value);
    EXPECT_EQ(0x00008040u, v1.TintColour());
    EXPECT_TRUE(IsEqualGUID(BumpGuid, v1.bumpKey.id));
}

// The lake covers the picture's lower fraction and shows the band above the
// horizon upside down; the tint fades from the near edge to the horizon and
// on through the band above it. From value 100 on there is no lake, and a
// picture without a size gives no lake either, never NaN.
TEST_F(LakeTest, GeometryFollowsTheLakeFraction)
{
    ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF808080);
    struct Case {
        const char* what;
        UINT width, height;
        unsigned fraction;
        float horizon, topV, bottomV, bandTop;
    };
    const Case cases[] = {
        {"defaults", 800, 600, 25, 375.0f, 0.625f, 0.25f, 368.0f},
        {"half", 800, 600, 0, 300.0f, 0.5f, 0.0f, 293.0f},
        {"value 100", 800, 600, 100, 600.0f, 1.0f, 1.0f, 600.0f},
        {"value 150", 800, 600, 150, 600.0f, 1.0f, 1.0f, 600.0f},
        {"no picture", 0, 0, 25, 0.0f, 0.625f, 0.25f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AddPicture(manager, PictureKey, c.width ? picture.Get() : nullptr, c.width, c.height);
        FakeLake2D layer;
        layer.lakeFraction.SetValue(c.fraction, nullptr);
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);

        const std::vector<DX_V::PT2> plane = ReadVertices(layer.plane);
        ASSERT_EQ(6u, plane.size());
        const float w = static_cast<float>(c.width);
        const float h = static_cast<float>(c.height);
        // Top left, bottom left, bottom right; top left, bottom right, top right.
        const float xs[6] = {0, 0, w, 0, w, w};
        const float ys[6] = {c.horizon, h, h, c.horizon, h, c.horizon};
        const float v2s[6] = {c.topV, c.bottomV, c.bottomV, c.topV, c.bottomV, c.topV};
        const float u2s[6] = {0, 0, 1, 0, 1, 1};
        const float us[6] = {0.01f, 0.01f, 1.0f, 0.01f, 1.0f, 1.0f};
        const float vs[6] = {0.01f, 1.0f, 1.0f, 0.01f, 1.0f, 0.01f};
        for (int i = 0; i < 6; ++i) {
            EXPECT_FLOAT_EQ(xs[i], plane[i].x) << i;
            EXPECT_FLOAT_EQ(ys[i], plane[i].y) << i;
            EXPECT_NEAR(v2s[i], plane[i].v2, 1e-6f) << i;
            EXPECT_FLOAT_EQ(u2s[i], plane[i].u2) << i;
            EXPECT_FLOAT_EQ(us[i], plane[i].u) << i;
            EXPECT_FLOAT_EQ(vs[i], plane[i].v) << i;
        }

        // Strip order: bottom left, top left, bottom right, top right.
        const std::vector<DX_V::PC> tint = ReadVertices(layer.tintQuad);
        ASSERT_EQ(4u, tint.size());
        EXPECT_FLOAT_EQ(h, tint[0].y);
        EXPECT_FLOAT_EQ(c.horizon, tint[1].y);
        EXPECT_EQ(0x3F008040u, tint[0].color); // 0.248 at the near edge
        EXPECT_EQ(0x1A008040u, tint[1].color); // 0.104 at the horizon

        const std::vector<DX_V::PC> band = ReadVertices(layer.horizonQuad);
        ASSERT_EQ(4u, band.size());
        EXPECT_FLOAT_EQ(c.bandTop, band[0].y);
        EXPECT_FLOAT_EQ(c.horizon, band[1].y);
        EXPECT_FLOAT_EQ(w, band[2].x);
        EXPECT_EQ(0x00008040u, band[0].color);
        EXPECT_EQ(0x1A008040u, band[1].color);
    }
}

// The ripple turns by 4.5 radians per second of its clock (steps capped at
// 0.2 s): 0.04 × the identity at the start, a quarter turn at pi/9 s.
TEST(FakeLake2D, RippleMatrixTurnsWithItsClock)
{
    FakeLake2D layer;
    layer.FrameMove(0.0f);
    EXPECT_FLOAT_EQ(0.04f, layer.bumpMatrix._11);
    EXPECT_FLOAT_EQ(0.0f, layer.bumpMatrix._12);
    EXPECT_FLOAT_EQ(0.0f, layer.bumpMatrix._21);
    EXPECT_FLOAT_EQ(0.04f, layer.bumpMatrix._22);

    const float quarterTurn = 3.14159265f / 9.0f;
    layer.FrameMove(0.2f);
    layer.FrameMove(quarterTurn);
    EXPECT_NEAR(0.0f, layer.bumpMatrix._11, 1e-6f);
    EXPECT_NEAR(-0.04f, layer.bumpMatrix._12, 1e-6f);
    EXPECT_NEAR(0.04f, layer.bumpMatrix._21, 1e-6f);
    EXPECT_NEAR(0.0f, layer.bumpMatrix._22, 1e-6f);
}

// The reflection is a square copy of 128 × 2^n; an exponent below 0 or
// beyond what the device's textures allow is held within range, and every
// size the device allows is taken as asked (only the small ones are made
// here: the largest cost hundreds of megabytes).
TEST_F(LakeTest, ReflectionSizeIsHeldWithinTextureLimits)
{
    ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF808080);
    AddPicture(manager, PictureKey, picture.Get(), 800, 600);
    const std::pair<int, UINT> cases[] = {{1, 256}, {0, 128}, {-3, 128}, {2, 512}};
    for (const auto& [exponent, side] : cases) {
        SCOPED_TRACE(exponent);
        FakeLake2D layer;
        layer.reflectionSizeExponent.value = exponent;
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
        ASSERT_TRUE(layer.reflection.image.texture);
        D3DSURFACE_DESC desc{};
        layer.reflection.image.texture->GetLevelDesc(0, &desc);
        EXPECT_EQ(side, desc.Width);
        EXPECT_EQ(side, desc.Height);
    }

    D3DCAPS9 caps{};
    ASSERT_TRUE(SUCCEEDED(Device()->GetDeviceCaps(&caps)));
    const DWORD deviceSide = std::min<DWORD>(caps.MaxTextureWidth, caps.MaxTextureHeight);
    uint32_t deviceExponent = 0;
    while ((128u << (deviceExponent + 1)) <= deviceSide)
        ++deviceExponent;
    ASSERT_GE(deviceExponent, 6u) << "a device of 8192-pixel textures shows sizes beyond 4096";
    FakeLake2D layer;
    for (int exponent : {5, 6, static_cast<int>(deviceExponent), static_cast<int>(deviceExponent) + 1, 40}) {
        layer.reflectionSizeExponent.value = exponent;
        EXPECT_EQ(std::min<uint32_t>(static_cast<uint32_t>(exponent), deviceExponent), layer.ReflectionExponent())
            << exponent;
    }
}

// The document's texture under the key is the bump texture; without one the
// layer builds its own from the program's noise picture. Another device
// creation takes the texture afresh and lets go of the one before.
TEST_F(LakeTest, BumpTextureComesFromTheDocumentOrTheNoisePicture)
{
    ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF808080);
    AddPicture(manager, PictureKey, picture.Get(), 800, 600);

    ComHolder<IDirect3DTexture9> stored = BumpTexture(Device(), 10, -10);
    FakeLake2D withStored;
    manager.GuidTexture(withStored.bumpKey) = stored;
    ActivateLayer(withStored, PictureKey, 256, 256, SceneView::Fit);
    EXPECT_EQ(stored.Get(), withStored.bumpTexture.Get());
    withStored.OnDeviceCreated();
    EXPECT_EQ(stored.Get(), withStored.bumpTexture.Get());
    stored->AddRef();
    EXPECT_EQ(3u, stored->Release()); // ours, the slot's, the layer's

    FakeLake2D built;
    ActivateLayer(built, PictureKey, 256, 256, SceneView::Fit);
    IDirect3DTexture9* first = built.bumpTexture.Get();
    ASSERT_TRUE(first);
    D3DSURFACE_DESC desc{};
    first->GetLevelDesc(0, &desc);
    EXPECT_EQ(D3DFMT_V8U8, desc.Format);
    D3DSURFACE_DESC noise{};
    CurrentResourceCache->GetResourceTexture(2)->GetLevelDesc(0, &noise);
    EXPECT_EQ(noise.Width, desc.Width);
    EXPECT_EQ(noise.Height, desc.Height);
    EXPECT_EQ(static_cast<DWORD>(std::log2(noise.Width)) + 1, first->GetLevelCount());
    EXPECT_FALSE(manager.GuidTexture(built.bumpKey));

    first->AddRef();
    built.OnDeviceCreated();
    EXPECT_NE(first, built.bumpTexture.Get());
    EXPECT_EQ(0u, first->Release());
}

// Slopes of the red channel become (du, dv); the fade calms the top rows.
TEST_F(LakeTest, BumpTextureHoldsTheSlopesOfTheHeights)
{
    // Red rises by 2 per column: a slope of -2/255 × amplitude sideways.
    ComHolder<IDirect3DTexture9> ramp =
        ColourTexture(Device(), 64, 64, [](UINT x, UINT) { return D3DCOLOR_ARGB(255, 2 * x, 0, 0); });

    const float slope = -25.0f * 2.0f / 255.0f;
    const int full = static_cast<int>(std::round(127.0f * slope / std::sqrt(slope * slope + 1.0f)));

    ComHolder<IDirect3DTexture9> steady = BuildLakeBumpTexture(ramp.Get(), 0.0f, 25.0f);
    ASSERT_TRUE(steady);
    EXPECT_EQ(7u, steady->GetLevelCount());
    for (UINT y : {0u, 31u, 63u}) {
        EXPECT_NEAR(full, BumpAt(steady.Get(), 0, 20, y).first, 1) << y;
        EXPECT_EQ(0, BumpAt(steady.Get(), 0, 20, y).second) << y;
    }
    // The lower levels carry the same slope.
    EXPECT_NEAR(full, BumpAt(steady.Get(), 1, 10, 16).first, 1);

    // Faded, the top row is nearly flat and the bottom row nearly whole.
    ComHolder<IDirect3DTexture9> faded = BuildLakeBumpTexture(ramp.Get(), 1.0f, 25.0f);
    ASSERT_TRUE(faded);
    EXPECT_NEAR(0, BumpAt(faded.Get(), 0, 20, 0).first, 1);
    EXPECT_NEAR(full, BumpAt(faded.Get(), 0, 20, 63).first, 1);

    EXPECT_FALSE(BuildLakeBumpTexture(nullptr, 1.0f, 25.0f));
}

// Every stage whose colour is on has its alpha on too, so the device accepts
// the set-up the restore leaves.
TEST_F(LakeTest, RestoredStagesPairColourAndAlpha)
{
    ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF808080);
    AddPicture(manager, PictureKey, picture.Get(), 800, 600);
    FakeLake2D layer;
    ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
    for (DWORD stage = 0; stage < 2; ++stage) {
        DWORD colour = 0;
        DWORD alpha = 0;
        Device()->GetTextureStageState(stage, D3DTSS_COLOROP, &colour);
        Device()->GetTextureStageState(stage, D3DTSS_ALPHAOP, &alpha);
        EXPECT_EQ(colour == D3DTOP_DISABLE, alpha == D3DTOP_DISABLE) << stage;
    }
}

// On the screen: the picture above the horizon, the band above it mirrored
// below, under the tint; with a flat bump texture an exact mirror, with the
// noise-built one a mirror that ripples as the clock turns, the picture
// above the horizon staying still. After a device reset it draws again, and
// the document's device objects (a brush's render-target pair here) are
// made again too.
TEST_F(LakeTest, LakeMirrorsThePictureAndRipples)
{
    ComHolder<IDirect3DTexture9> rows = PictureTexture(Device());
    AddPicture(manager, PictureKey, rows.Get(), 256, 256);
    const Rgba tint{0x00, 0x80, 0x40, 0};
    // The horizon lies at 160; the tint runs from alpha 26 there to 63 at
    // the bottom.
    auto expectMirror = [&](const Pixels& pixels) {
        for (int d : {8, 40, 80}) {
            const int y = 160 + d;
            Rgba over = tint;
            over.a = static_cast<uint8_t>(26 + (63 - 26) * d / 96);
            EXPECT_TRUE(ColourNear(pixels.At(40, y), BlendOver(PictureColour(40, 160 - d), over), 8)) << "lake row " << y;
        }
        EXPECT_TRUE(ColourNear(pixels.At(40, 100), PictureColour(40, 100), 3));
    };

    {
        FakeLake2D layer;
        manager.GuidTexture(layer.bumpKey) = BumpTexture(Device(), 0, 0);
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
        layer.FrameMove(0.0f);
        expectMirror(DrawFrame(device, layer));

        RenderTargetPair brushPair;
        brushPair.Create(64, 64);
        manager.Table().renderTargets[GuidKey::Fresh()] = &brushPair;
        layer.OnDeviceInvalidated();
        ASSERT_EQ(D3D_OK, device.Reset());
        layer.OnDeviceRestored();
        EXPECT_TRUE(brushPair.current);
        manager.Table().renderTargets.clear();
        expectMirror(DrawFrame(device, layer));
    }

    FakeLake2D rippling;
    ActivateLayer(rippling, PictureKey, 256, 256, SceneView::Fit);
    rippling.FrameMove(0.0f);
    const Pixels before = DrawFrame(device, rippling);
    for (int i = 1; i <= 3; ++i)
        rippling.FrameMove(0.2f * i);
    const Pixels after = DrawFrame(device, rippling);
    int changed = 0;
    for (int y = 170; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            changed += before.At(x, y).ColourDistance(after.At(x, y)) > 6 ? 1 : 0;
    EXPECT_GT(changed, 4000);
    for (int y = 0; y < 150; y += 10)
        EXPECT_TRUE(ColourNear(after.At(64, y), before.At(64, y), 0)) << y;
}
