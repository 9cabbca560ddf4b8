#include "tests/foundation/resources/LoaderTestSupport.h"

#include "foundation/resources/TextureSet.h"

#include <memory>

using TextureSetTest = LoaderTest;

TEST_F(TextureSetTest, FirstTextureOfASet)
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

TEST_F(TextureSetTest, FramesBeyondTheTexturesShowTheLastOne)
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

TEST_F(TextureSetTest, TextureSetCopiesReferenceEveryTexture)
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
