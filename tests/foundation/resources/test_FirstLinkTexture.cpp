#include "tests/foundation/resources/DocResManagerTestSupport.h"

#include "foundation/resources/FirstLinkTexture.h"
#include "foundation/resources/TextureSet.h"

using FirstLinkTextureTest = DocResManagerTest;

// The first slot of the link's set in the current document, with the set's
// size: an absent module's slot has no texture but the canvas size; a disk
// link the document does not hold, or no document at all, gives nothing.
TEST_F(FirstLinkTextureTest, TheFirstSlotOfTheCurrentDocumentsSet)
{
    Fresh();
    const DS_FileLink3 present = TestModuleLink(TESTMODULE_PICTURE);
    const TextureSet& set = manager->GetLinkTextures(present);
    ASSERT_EQ(1u, set.textures.size());
    IDirect3DTexture9* const first = set.textures[0].Get();
    ASSERT_TRUE(first);
    const ULONG references = RefCount(first);
    const SizedTexture picture = GetFirstLinkTexture(present);
    EXPECT_EQ(first, picture.texture.Get());
    EXPECT_EQ(references + 1, RefCount(first));
    EXPECT_EQ(40u, picture.width);
    EXPECT_EQ(20u, picture.height);
    EXPECT_FLOAT_EQ(0.5f, picture.aspect);

    const SizedTexture absent = GetFirstLinkTexture(DS_FileLink3(TESTMODULE_PICTURE, AbsentModule));
    EXPECT_FALSE(absent.texture);
    EXPECT_EQ(800u, absent.width);
    EXPECT_EQ(600u, absent.height);

    const SizedTexture disk = GetFirstLinkTexture(DS_FileLink3(FileKey{L"C:\\pictures\\gone.png", 12}));
    EXPECT_FALSE(disk.texture);
    EXPECT_EQ(0u, disk.width);
    EXPECT_EQ(1.0f, disk.aspect);

    CurrentResManager = nullptr;
    const SizedTexture none = GetFirstLinkTexture(present);
    EXPECT_FALSE(none.texture);
    EXPECT_EQ(0u, none.width);
    EXPECT_EQ(0u, none.height);
}
