#include "tests/foundation/resources/LoaderTestSupport.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/D3DUtilities.h"
#include "foundation/resources/TextureLoaders.h"
#include "foundation/resources/TextureSet.h"
#include "tests/support/ScopedCurrentDevice.h"

#include <d3dx9tex.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using D3DUtilitiesTest = LoaderTest;

std::vector<WORD> ReadIndices(IDirect3DIndexBuffer9* buffer, UINT count)
{
    std::vector<WORD> indices(count);
    void* data = nullptr;
    if (SUCCEEDED(buffer->Lock(0, 0, &data, D3DLOCK_READONLY))) {
        std::memcpy(indices.data(), data, count * sizeof(WORD));
        buffer->Unlock();
    }
    return indices;
}

} // namespace

TEST_F(D3DUtilitiesTest, GridIndicesRunRowByRow)
{
    const IndexBufferPart grid = BuildGridIndexBuffer();
    ASSERT_TRUE(grid.indices);
    EXPECT_EQ(128u, grid.indexedPrimitiveCount);
    EXPECT_EQ(nullptr, grid.lockedIndices);
    D3DINDEXBUFFER_DESC desc{};
    grid.indices->GetDesc(&desc);
    EXPECT_EQ(2048u, desc.Size);
    EXPECT_EQ(D3DFMT_INDEX16, desc.Format);
    EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);

    const std::vector<WORD> indices = ReadIndices(grid.indices.Get(), 384);
    EXPECT_EQ((std::vector<WORD>{0, 1, 9, 9, 1, 10}), std::vector<WORD>(indices.begin(), indices.begin() + 6));
    // Row 0, column 1.
    EXPECT_EQ((std::vector<WORD>{1, 2, 10, 10, 2, 11}), std::vector<WORD>(indices.begin() + 6, indices.begin() + 12));
    // Row 1, column 0.
    EXPECT_EQ((std::vector<WORD>{9, 10, 18, 18, 10, 19}),
              std::vector<WORD>(indices.begin() + 48, indices.begin() + 54));
    EXPECT_EQ((std::vector<WORD>{70, 71, 79, 79, 71, 80}), std::vector<WORD>(indices.end() - 6, indices.end()));
}

TEST_F(D3DUtilitiesTest, LockingAPartWithoutBufferFails)
{
    IndexBufferPart part;
    EXPECT_TRUE(FAILED(LockIndexBufferPart(part)));
    EXPECT_EQ(nullptr, part.lockedIndices);

    part = BuildGridIndexBuffer();
    ASSERT_EQ(D3D_OK, LockIndexBufferPart(part));
    EXPECT_NE(nullptr, part.lockedIndices);
    EXPECT_EQ(9u, static_cast<const WORD*>(part.lockedIndices)[2]);
    part.indices->Unlock();
}

// The filter samples by point under some D3DX builds: compare the middle of
// each quadrant, with a tolerance.
TEST_F(D3DUtilitiesTest, ResampleCopiesTheTopLevelIntoAFullChain)
{
    const ComHolder<IDirect3DTexture9> source = TextureOf(device.Device(), QuadrantImage(64, 32));
    ASSERT_TRUE(source);
    const ComHolder<IDirect3DTexture9> copy = ResampleTexture(128, 128, source.Get());
    ASSERT_TRUE(copy);
    EXPECT_EQ(8u, copy->GetLevelCount());
    D3DSURFACE_DESC desc{};
    copy->GetLevelDesc(0, &desc);
    EXPECT_EQ(128u, desc.Width);
    EXPECT_EQ(128u, desc.Height);
    EXPECT_EQ(D3DFMT_A8R8G8B8, desc.Format);
    EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
    EXPECT_TRUE(HasQuadrants(device.ReadTexture(copy.Get()), 8));
    EXPECT_EQ(1u, RefCount(source.Get()));

    const ComHolder<IDirect3DTexture9> opaque = ResampleTexture(32, 64, source.Get(), D3DFMT_X8R8G8B8);
    ASSERT_TRUE(opaque);
    opaque->GetLevelDesc(0, &desc);
    EXPECT_EQ(D3DFMT_X8R8G8B8, desc.Format);
    EXPECT_EQ(64u, desc.Height);
    EXPECT_TRUE(HasQuadrants(device.ReadTexture(opaque.Get()), 8));

    EXPECT_FALSE(ResampleTexture(128, 128, nullptr));
}

TEST_F(D3DUtilitiesTest, BackBufferDescriptionWithoutKeepingTheSurface)
{
    TestDevice wide(320, 200);
    ASSERT_TRUE(wide.Ok());
    const ScopedCurrentDevice onWide(wide.Device());
    const ULONG before = RefCount(wide.Device());
    const D3DSURFACE_DESC desc = GetBackBufferDesc();
    EXPECT_EQ(320u, desc.Width);
    EXPECT_EQ(200u, desc.Height);
    EXPECT_EQ(D3DFMT_X8R8G8B8, desc.Format);
    EXPECT_EQ(before, RefCount(wide.Device()));

    const ScopedCurrentDevice noDevice(nullptr);
    EXPECT_EQ(0u, GetBackBufferDesc().Width);
}

TEST_F(D3DUtilitiesTest, TextureSavedAsDdsLoadsBack)
{
    EXPECT_FALSE(SaveTextureToDdsMemory(nullptr));
    const ComHolder<IDirect3DTexture9> texture = TextureOf(device.Device(), QuadrantImage(64, 32));
    const ComHolder<ID3DXBuffer> file = SaveTextureToDdsMemory(texture.Get());
    if (!file)
        GTEST_SKIP() << "this D3DX cannot write DDS files from textures";
    ASSERT_GT(file->GetBufferSize(), 4u);
    EXPECT_EQ(0, std::memcmp(file->GetBufferPointer(), "DDS ", 4));
    const SizedTexture back = CreateSizedTextureFromMemory(static_cast<const uint8_t*>(file->GetBufferPointer()),
                                                           static_cast<int32_t>(file->GetBufferSize()));
    EXPECT_EQ(64u, back.width);
    EXPECT_EQ(32u, back.height);
}

TEST_F(D3DUtilitiesTest, AssignSizedTextureHoldsOneReferenceAndThePictureSize)
{
    const ComHolder<IDirect3DTexture9> a = TextureOf(device.Device(), QuadrantImage(4, 4));
    const ComHolder<IDirect3DTexture9> b = TextureOf(device.Device(), QuadrantImage(4, 4));
    D3DXIMAGE_INFO info{};
    info.Width = 200;
    info.Height = 50;
    SizedTexture sized;
    AssignSizedTexture(sized, a.Get(), info);
    AssignSizedTexture(sized, a.Get(), info);
    EXPECT_EQ(2u, RefCount(a.Get()));
    EXPECT_EQ(200u, sized.width);
    EXPECT_EQ(50u, sized.height);
    EXPECT_FLOAT_EQ(0.25f, sized.aspect);

    AssignSizedTexture(sized, b.Get(), info);
    EXPECT_EQ(1u, RefCount(a.Get()));
    EXPECT_EQ(2u, RefCount(b.Get()));

    // No picture, no width: the neutral aspect rather than a division by 0.
    AssignSizedTexture(sized, nullptr, D3DXIMAGE_INFO{});
    EXPECT_FALSE(sized.texture);
    EXPECT_EQ(1u, RefCount(b.Get()));
    EXPECT_EQ(1.0f, sized.aspect);
}

TEST_F(D3DUtilitiesTest, SizedTextureCopiesHoldTheirOwnReference)
{
    const ComHolder<IDirect3DTexture9> a = TextureOf(device.Device(), QuadrantImage(4, 4));
    const ComHolder<IDirect3DTexture9> b = TextureOf(device.Device(), QuadrantImage(4, 4));
    SizedTexture first;
    first.texture = a.Get();
    first.width = 7;
    {
        SizedTexture copy = first;
        EXPECT_EQ(3u, RefCount(a.Get()));
        EXPECT_EQ(7u, copy.width);
        copy = copy;
        EXPECT_EQ(3u, RefCount(a.Get()));
        SizedTexture other;
        other.texture = b.Get();
        copy = other;
        EXPECT_EQ(2u, RefCount(a.Get()));
        EXPECT_EQ(3u, RefCount(b.Get()));
    }
    EXPECT_EQ(2u, RefCount(a.Get()));
    EXPECT_EQ(1u, RefCount(b.Get()));
}

TEST_F(D3DUtilitiesTest, FirstTextureOfASet)
{
    const SizedTexture none = GetFirstTexture(TextureSet());
    EXPECT_FALSE(none.texture);
    EXPECT_EQ(0u, none.width);
    EXPECT_EQ(0u, none.height);
    EXPECT_EQ(1.0f, none.aspect);

    const ComHolder<IDirect3DTexture9> a = TextureOf(device.Device(), QuadrantImage(4, 4));
    const ComHolder<IDirect3DTexture9> b = TextureOf(device.Device(), QuadrantImage(4, 4));
    TextureSet set;
    set.Append({a, 100, 50, 0.5f});
    set.Append({b, 300, 30, 0.1f});
    const SizedTexture first = GetFirstTexture(set);
    EXPECT_EQ(a.Get(), first.texture.Get());
    EXPECT_EQ(3u, RefCount(a.Get()));
    // The set's size is that of the texture made last.
    EXPECT_EQ(300u, first.width);
    EXPECT_EQ(30u, first.height);
    EXPECT_FLOAT_EQ(0.1f, first.aspect);
}

TEST_F(D3DUtilitiesTest, FramesBeyondTheTexturesShowTheLastOne)
{
    EXPECT_EQ(nullptr, TextureSet().Frame(0));
    EXPECT_FALSE(TextureSet().IsLoaded());

    const ComHolder<IDirect3DTexture9> a = TextureOf(device.Device(), QuadrantImage(4, 4));
    const ComHolder<IDirect3DTexture9> b = TextureOf(device.Device(), QuadrantImage(4, 4));
    TextureSet set;
    set.Append({a, 4, 4, 1.0f});
    set.Append({b, 4, 4, 1.0f});
    set.delays = {0.1f, 0.2f, 0.3f, 0.4f};
    EXPECT_EQ(a.Get(), set.Frame(0));
    EXPECT_EQ(b.Get(), set.Frame(1));
    EXPECT_EQ(b.Get(), set.Frame(3));

    // A slot without texture still makes the set loaded.
    TextureSet empty;
    empty.Append(SizedTexture());
    EXPECT_TRUE(empty.IsLoaded());
    EXPECT_EQ(nullptr, empty.Frame(2));
}

TEST_F(D3DUtilitiesTest, TextureSetCopiesReferenceEveryTexture)
{
    const ComHolder<IDirect3DTexture9> a = TextureOf(device.Device(), QuadrantImage(4, 4));
    const ComHolder<IDirect3DTexture9> b = TextureOf(device.Device(), QuadrantImage(4, 4));
    auto set = std::make_unique<TextureSet>();
    set->Append({a, 4, 4, 1.0f});
    set->Append({b, 4, 4, 1.0f});
    set->delays = {0.5f, 0.25f};
    {
        const TextureSet copy = *set;
        EXPECT_EQ(3u, RefCount(a.Get()));
        EXPECT_EQ(3u, RefCount(b.Get()));
        EXPECT_EQ(set->delays, copy.delays);
    }
    EXPECT_EQ(2u, RefCount(a.Get()));
    set.reset();
    EXPECT_EQ(1u, RefCount(a.Get()));
    EXPECT_EQ(1u, RefCount(b.Get()));
}
