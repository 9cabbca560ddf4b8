#include "foundation/geometry/MeshBuffers.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/RenderTargetPair.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

namespace {

const Rgba Black{0, 0, 0, 255};

ULONG RefCount(IUnknown* p)
{
    p->AddRef();
    return p->Release();
}

class RenderTargetPairTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dev.Ok());
        current.emplace(dev.Device());
        ASSERT_EQ(D3D_OK, CreateQuadBufferSPC(quad));
    }
    void TearDown() override { current.reset(); }

    // Fills the rectangle [x0, x1) × [y0, y1) of the current target with an
    // opaque colour, drawn as a pre-transformed quad.
    void DrawRect(float x0, float y0, float x1, float y1, D3DCOLOR colour)
    {
        const DX_V::SPC corners[4] = {
            {x0, y1, 0, 1, colour}, {x0, y0, 0, 1, colour}, {x1, y1, 0, 1, colour}, {x1, y0, 0, 1, colour}};
        void* data = nullptr;
        ASSERT_EQ(D3D_OK, quad.vertices->Lock(0, 0, &data, 0));
        std::memcpy(data, corners, sizeof(corners));
        quad.vertices->Unlock();

        IDirect3DDevice9* d = dev.Device();
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        d->SetTexture(0, nullptr);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        ASSERT_EQ(D3D_OK, d->BeginScene());
        BindQuadSPCForDraw(quad);
        EXPECT_EQ(D3D_OK, d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount));
        d->EndScene();
    }

    // The surface that is render target 0 now, compared with level 0 of t.
    bool TargetIs(IDirect3DTexture9* t)
    {
        ComHolder<IDirect3DSurface9> target, level;
        dev.Device()->GetRenderTarget(0, target.Out());
        t->GetSurfaceLevel(0, level.Out());
        return target && target.Get() == level.Get();
    }

    ComHolder<IDirect3DSurface9> BackBuffer()
    {
        ComHolder<IDirect3DSurface9> back;
        dev.Device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.Out());
        return back;
    }

    TestDevice dev{64, 64};
    std::optional<ScopedCurrentDevice> current;
    DS_SimpleMesh<DX_V::SPC> quad;
};

} // namespace

TEST_F(RenderTargetPairTest, CreateMakesTwoRenderTargetsAndShowsTheFirst)
{
    RenderTargetPair pair;
    pair.Create(128, 32);

    EXPECT_EQ(128u, pair.width);
    EXPECT_EQ(32u, pair.height);
    EXPECT_EQ(0u, pair.counter);
    ASSERT_TRUE(pair.textures[0] && pair.textures[1]);
    EXPECT_NE(pair.textures[0].Get(), pair.textures[1].Get());
    EXPECT_EQ(pair.textures[0].Get(), pair.current.Get());
    for (const auto& texture : pair.textures) {
        EXPECT_EQ(1u, texture->GetLevelCount());
        D3DSURFACE_DESC desc{};
        ASSERT_EQ(D3D_OK, texture->GetLevelDesc(0, &desc));
        EXPECT_EQ(128u, desc.Width);
        EXPECT_EQ(32u, desc.Height);
        EXPECT_EQ(static_cast<DWORD>(D3DUSAGE_RENDERTARGET), desc.Usage);
        EXPECT_EQ(D3DFMT_A8R8G8B8, desc.Format);
        EXPECT_EQ(D3DPOOL_DEFAULT, desc.Pool);
    }
    EXPECT_EQ(2u, RefCount(pair.textures[0].Get())); // its holder and current
    EXPECT_EQ(1u, RefCount(pair.textures[1].Get()));
}

TEST_F(RenderTargetPairTest, FlipsTakeTurnsAndKeepWhatWasDrawnBefore)
{
    RenderTargetPair pair;
    pair.Create(64, 64);
    IDirect3DTexture9* first = pair.textures[0].Get();
    IDirect3DTexture9* second = pair.textures[1].Get();

    pair.BeginTarget(pair.current);
    ASSERT_TRUE(TargetIs(first));
    DrawRect(0, 0, 32, 64, 0xFFD02020); // left half red into the first texture

    const RenderTargetPair::TextureHolder& before = pair.Flip();

    EXPECT_EQ(first, before.Get());
    EXPECT_EQ(second, pair.current.Get());
    EXPECT_EQ(1u, pair.counter);
    EXPECT_TRUE(TargetIs(second));
    EXPECT_TRUE(dev.ReadTexture(second).AllNear(0, 0, 64, 64, Black, 0)) << "the new target starts black";
    const Pixels drawn = dev.ReadTexture(first);
    EXPECT_TRUE(drawn.AllNear(0, 0, 32, 64, Rgba{0xD0, 0x20, 0x20, 255}, 0));

    DrawRect(32, 0, 64, 64, 0xFF20D020); // right half green into the second texture
    EXPECT_EQ(second, pair.Flip().Get());

    EXPECT_EQ(first, pair.current.Get());
    EXPECT_TRUE(TargetIs(first));
    EXPECT_TRUE(dev.ReadTexture(first).AllNear(0, 0, 64, 64, Black, 0)) << "cleared on its turn";
    const Pixels kept = dev.ReadTexture(second);
    EXPECT_TRUE(kept.AllNear(0, 0, 32, 64, Black, 0));
    EXPECT_TRUE(kept.AllNear(32, 0, 64, 64, Rgba{0x20, 0xD0, 0x20, 255}, 0));
    pair.EndTarget();
}

TEST_F(RenderTargetPairTest, EndTargetDrawsOnTheBackBufferAgain)
{
    IDirect3DDevice9* d = dev.Device();
    ComHolder<IDirect3DSurface9> back = BackBuffer();
    ComHolder<IDirect3DSurface9> depth;
    ASSERT_EQ(D3D_OK, d->GetDepthStencilSurface(depth.Out()));
    RenderTargetPair pair;
    pair.Create(64, 64);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);

    pair.BeginTarget(pair.current);
    ComHolder<IDirect3DSurface9> inside;
    ASSERT_EQ(D3D_OK, d->GetDepthStencilSurface(inside.Out()));
    EXPECT_EQ(pair.depthStencil.Get(), inside.Get()) << "drawing into the pair uses the pair's depth";
    DrawRect(0, 0, 64, 64, 0xFF0000FF);
    pair.EndTarget();

    ComHolder<IDirect3DSurface9> target, restoredDepth;
    d->GetRenderTarget(0, target.Out());
    d->GetDepthStencilSurface(restoredDepth.Out());
    EXPECT_EQ(back.Get(), target.Get());
    EXPECT_EQ(depth.Get(), restoredDepth.Get());
    EXPECT_FALSE(pair.savedTarget);
    EXPECT_FALSE(pair.savedDepthStencil);

    // A second EndTarget has nothing saved and takes nothing away.
    pair.EndTarget();
    ComHolder<IDirect3DSurface9> depthAfterSecondEnd;
    d->GetDepthStencilSurface(depthAfterSecondEnd.Out());
    EXPECT_EQ(depth.Get(), depthAfterSecondEnd.Get());

    DrawRect(16, 16, 48, 48, 0xFFFFFF00);
    const Pixels screen = dev.ReadBackBuffer();
    EXPECT_TRUE(screen.AllNear(16, 16, 48, 48, Rgba{255, 255, 0, 255}, 0));
    EXPECT_TRUE(screen.AllNear(0, 0, 64, 15, Black, 0)) << "the pair's drawing stayed in the pair";
    const Pixels texture = dev.ReadTexture(pair.current.Get());
    EXPECT_TRUE(texture.AllNear(0, 0, 64, 64, Rgba{0, 0, 255, 255}, 0));
}

// The pair's depth surface is of its own size and the device's depth format;
// it goes with the textures before a reset and comes back with Create.
TEST_F(RenderTargetPairTest, ThePairHasADepthSurfaceOfItsSize)
{
    IDirect3DDevice9* d = dev.Device();
    ComHolder<IDirect3DSurface9> own;
    ASSERT_EQ(D3D_OK, d->GetDepthStencilSurface(own.Out()));
    D3DSURFACE_DESC ownDesc{};
    own->GetDesc(&ownDesc);

    RenderTargetPair pair;
    pair.Create(96, 48);
    ASSERT_TRUE(pair.depthStencil);
    D3DSURFACE_DESC desc{};
    pair.depthStencil->GetDesc(&desc);
    EXPECT_EQ(96u, desc.Width);
    EXPECT_EQ(48u, desc.Height);
    EXPECT_EQ(ownDesc.Format, desc.Format);

    pair.ReleaseTextures();
    EXPECT_FALSE(pair.depthStencil);
    pair.Create(96, 48);
    EXPECT_TRUE(pair.depthStencil);
    IDirect3DSurface9* first = pair.depthStencil.Get();
    first->AddRef();
    pair.Create(96, 48);
    EXPECT_EQ(0u, first->Release()) << "a new Create lets go of the old surface";
}

TEST_F(RenderTargetPairTest, CreateFromTextureCopiesTheSource)
{
    // A 32 × 32 source with four coloured quadrants, scaled to 64 × 64.
    ComHolder<IDirect3DTexture9> source;
    ASSERT_EQ(D3D_OK, dev.Device()->CreateTexture(32, 32, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, source.Out(),
                                                  nullptr));
    const D3DCOLOR quadrants[2][2] = {{0xFFFF0000, 0xFF00FF00}, {0xFF0000FF, 0xFFFFFFFF}};
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(D3D_OK, source->LockRect(0, &locked, nullptr, 0));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            reinterpret_cast<D3DCOLOR*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] =
                quadrants[y / 16][x / 16];
    source->UnlockRect(0);

    RenderTargetPair pair;
    pair.CreateFromTexture(source.Get(), 64, 64);

    ASSERT_TRUE(pair.current);
    EXPECT_EQ(pair.textures[0].Get(), pair.current.Get());
    const Pixels copy = dev.ReadTexture(pair.current.Get());
    // The filter may blend (or, here, point-sample) along the seams: compare
    // the quadrants away from them.
    for (int qy = 0; qy < 2; ++qy)
        for (int qx = 0; qx < 2; ++qx)
            EXPECT_TRUE(copy.AllNear(qx * 32 + 4, qy * 32 + 4, qx * 32 + 28, qy * 32 + 28,
                                     Rgba::FromArgb(quadrants[qy][qx]), 8))
                << "quadrant " << qx << ", " << qy;
    EXPECT_EQ(1u, RefCount(source.Get())) << "the source keeps only its own reference";
}

TEST_F(RenderTargetPairTest, CreateFromNoTextureIsCreate)
{
    RenderTargetPair pair;
    pair.CreateFromTexture(nullptr, 48, 40);

    ASSERT_TRUE(pair.textures[0] && pair.textures[1]);
    EXPECT_EQ(pair.textures[0].Get(), pair.current.Get());
    EXPECT_EQ(48u, pair.width);
    EXPECT_EQ(40u, pair.height);
    D3DSURFACE_DESC desc{};
    pair.textures[1]->GetLevelDesc(0, &desc);
    EXPECT_EQ(48u, desc.Width);
}

TEST_F(RenderTargetPairTest, CreatingAgainReleasesTheOldTextures)
{
    RenderTargetPair pair;
    pair.Create(64, 64);
    ComHolder<IDirect3DTexture9> old0 = pair.textures[0];
    ComHolder<IDirect3DTexture9> old1 = pair.textures[1];

    pair.Create(64, 64);

    EXPECT_EQ(1u, RefCount(old0.Get()));
    EXPECT_EQ(1u, RefCount(old1.Get()));
    EXPECT_EQ(2u, RefCount(pair.current.Get()));
    EXPECT_EQ(1u, RefCount(pair.textures[1].Get()));

    // The counter survives: after a flip the second texture is shown.
    pair.Flip();
    dev.Device()->SetRenderTarget(0, BackBuffer().Get());
    pair.Create(64, 64);
    EXPECT_EQ(pair.textures[1].Get(), pair.current.Get());
}

TEST_F(RenderTargetPairTest, ReleasedPairLetsTheDeviceReset)
{
    {
        RenderTargetPair pair;
        pair.Create(64, 64);
        pair.BeginTarget(pair.current);
        pair.Flip();
        pair.EndTarget();
        ComHolder<IDirect3DTexture9> probe = pair.textures[0];
        // What an owner does before a reset.
        pair.ReleaseTextures();
        EXPECT_EQ(1u, RefCount(probe.Get()));
    }
    dev.Device()->SetTexture(0, nullptr);
    EXPECT_EQ(D3D_OK, dev.Reset());
}

TEST_F(RenderTargetPairTest, PairWithoutTexturesLeavesTheBackBufferAlone)
{
    IDirect3DDevice9* d = dev.Device();
    RenderTargetPair pair;
    pair.Create(0, 0); // no such texture can be made
    ASSERT_FALSE(pair.textures[0]);
    ASSERT_FALSE(pair.current);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF405060, 1.0f, 0);

    pair.BeginTarget(pair.current);
    EXPECT_FALSE(pair.Flip());
    pair.EndTarget();

    ComHolder<IDirect3DSurface9> target;
    d->GetRenderTarget(0, target.Out());
    EXPECT_EQ(BackBuffer().Get(), target.Get());
    EXPECT_TRUE(dev.ReadBackBuffer().AllNear(0, 0, 64, 64, Rgba{0x40, 0x50, 0x60, 255}, 0)) << "not cleared";
}

TEST_F(RenderTargetPairTest, DestructorReleasesEverything)
{
    ComHolder<IDirect3DTexture9> probe0, probe1;
    ComHolder<IDirect3DSurface9> back = BackBuffer();
    const ULONG backCount = RefCount(back.Get());
    {
        RenderTargetPair pair;
        pair.Create(64, 64);
        probe0 = pair.textures[0];
        probe1 = pair.textures[1];
        pair.BeginTarget(pair.current); // holds the saved back buffer
        EXPECT_GT(RefCount(back.Get()), backCount);
        // Back to the back buffer by hand, so the pair still holds its saved
        // surfaces when it goes.
        dev.Device()->SetRenderTarget(0, back.Get());
    }
    EXPECT_EQ(1u, RefCount(probe0.Get()));
    EXPECT_EQ(1u, RefCount(probe1.Get()));
    EXPECT_EQ(backCount, RefCount(back.Get()));
}
