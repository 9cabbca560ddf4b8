// The 3D sprites' runtime object: one frame per sprite centred on the mesh's
// sphere, the mesh loaded from the bytes its record embeds, an empty mesh,
// what reaches the back buffer, and frames that allocate nothing.
#include "objects/models/DS_3D_in_2D_array.h"

#include "objects/animation/DS_LeafFallAnim.h"
#include "objects/models/DS_3D_in_2D_array_Constructor.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/ParticleTestSupport.h"
#include "tools/assets/ArtKit.h"
#include "tools/assets/ModelMeshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

const FileKey PictureKey{L"C:\\Art\\grey.png", 1};
const D3DCOLOR Grey = 0xFF404040;
const D3DCOLOR Red = 0xFFE00000;

void Embed(ResourceRecord& record, const wchar_t* path, const Bytes& bytes)
{
    record.path = path;
    record.SetBytes(static_cast<int32_t>(bytes.size()), bytes.data());
}

Bytes RedPicture()
{
    Image image(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = 0xE0;
            p[3] = 0xFF;
        }
    return EncodePng(image, true);
}

} // namespace

class SpriteArrayTest : public LayerTest<256, 256> {
protected:
    void SetUp() override
    {
        LayerTest<256, 256>::SetUp();
        picture = SolidTexture(Device(), Grey);
        AddPicture(manager, PictureKey, picture.Get(), 256, 256);
        ActivateLayer(layer, PictureKey, 256, 256, SceneView::Fit);
        Embed(sprites.meshRecord, L"C:\\Art\\plate.x", EncodeXFile(ClockPlateMesh(), "plate"));
        Embed(sprites.textureRecord, L"C:\\Art\\red.png", RedPicture());
        sprites.motion.size.value = 40;
    }

    std::unique_ptr<DS_3D_in_2D_array> Make() { return MakeObjectAs<DS_3D_in_2D_array>(sprites); }

    Pixels Frame(DS_3D_in_2D_array& object, float time)
    {
        DrawObjectFrame(Device(), layer, object, time);
        return device.ReadBackBuffer();
    }

    ComHolder<IDirect3DTexture9> picture;
    DS_2D_Light layer;
    DS_3D_in_2D_array_Constructor sprites;
};

// Five sprites: five frames, each with its own drift and tumble, centred on
// the mesh's bounding sphere, which the mesh made from the record's bytes
// carries. A count beyond reason is capped.
TEST_F(SpriteArrayTest, OneFramePerSpriteCentredOnTheMesh)
{
    sprites.count.value = 5;
    auto object = Make();
    EXPECT_EQ(object.get(), object->settings->runtimeObject);
    EXPECT_NE(&sprites, object->settings);
    ASSERT_TRUE(object->mesh.vertices);
    EXPECT_EQ(4u, object->mesh.vertexCount);
    EXPECT_EQ(2u, object->mesh.indexedPrimitiveCount);
    EXPECT_NEAR(50.0f * std::sqrt(2.0f), object->mesh.boundingRadius, 0.5f);
    ASSERT_EQ(5u, object->mesh.children.size());
    const D3DXVECTOR3 centre = object->mesh.boundingCentre;
    for (const DS_Frame* sprite : object->mesh.children) {
        EXPECT_NE(nullptr, dynamic_cast<DS_LeafFallAnim*>(sprite->animation));
        EXPECT_EQ(object->mesh.boundingRadius, sprite->boundingRadius);
        EXPECT_EQ(-centre.x, sprite->local._41);
        EXPECT_EQ(-centre.y, sprite->local._42);
        EXPECT_EQ(-centre.z, sprite->local._43);
        EXPECT_EQ(1.0f, sprite->local._11);
    }

    sprites.count.value = 4000000000u;
    auto many = Make();
    EXPECT_EQ(DS_3D_in_2D_array::MaxSprites, many->mesh.children.size());
}

// Each sprite lands where its animation puts it: a square of 40 / √2 pixels
// (the plate's sphere is 40 pixels across) facing the viewer, in the
// record's picture.
TEST_F(SpriteArrayTest, SpritesReachTheBackBuffer)
{
    sprites.count.value = 3;
    sprites.motion.speed.value = 0;
    auto object = Make();
    float x = 60.0f;
    for (DS_Frame* sprite : object->mesh.children) {
        auto* leaf = static_cast<DS_LeafFallAnim*>(sprite->animation);
        leaf->tumbleX = {0.0f, 90.0f};
        leaf->tumbleY = leaf->tumbleZ = leaf->orbitY = leaf->orbitX = {0.0f, 0.0f};
        leaf->position._41 = x;
        leaf->position._42 = 128.0f;
        x += 70.0f;
    }
    const Pixels pixels = Frame(*object, 0.0f);
    for (float at : {60.0f, 130.0f, 200.0f}) {
        // The orbit keeps each one 50 pixels away in depth, which the
        // picture does not show.
        const int cx = static_cast<int>(at);
        EXPECT_TRUE(pixels.AllNear(cx - 12, 116, cx + 12, 140, Rgba::FromArgb(Red), 8)) << at;
        EXPECT_TRUE(ColourNear(pixels.At(cx - 17, 128), Rgba::FromArgb(Grey), 8)) << at;
        EXPECT_TRUE(ColourNear(pixels.At(cx, 111), Rgba::FromArgb(Grey), 8)) << at;
    }
}

// A mesh that cannot be loaded leaves the object without buffers: it draws
// nothing, and its sprites' worlds stay finite.
TEST_F(SpriteArrayTest, AnEmptyMeshDrawsNothing)
{
    sprites.meshRecord = ResourceRecord(std::wstring(L"C:\\Art\\absent.x"));
    sprites.count.value = 4;
    auto object = Make();
    EXPECT_FALSE(object->mesh.vertices);
    EXPECT_EQ(0.0f, object->mesh.boundingRadius);
    const Pixels pixels = Frame(*object, 0.5f);
    EXPECT_TRUE(pixels.AllNear(0, 0, 256, 256, Rgba::FromArgb(Grey), 2));
    for (const DS_Frame* sprite : object->mesh.children)
        for (int i = 0; i < 16; ++i)
            EXPECT_TRUE(std::isfinite(sprite->world.m[i / 4][i % 4]));
}

// After the first frame, the sprites allocate nothing.
TEST_F(SpriteArrayTest, FramesAllocateNothing)
{
    sprites.count.value = 40;
    sprites.motion.driftAmount.value = 20;
    sprites.motion.driftChangeRate.value = 30;
    auto object = Make();
    Frame(*object, 0.0f);
    const long long before = AllocationsMade();
    for (float t = 0.05f; t < 10.0f; t += 0.05f) {
        IDirect3DDevice9* d = Device();
        d->BeginScene();
        object->Update(t);
        object->Render(layer);
        d->EndScene();
    }
    EXPECT_EQ(before, AllocationsMade());
}
