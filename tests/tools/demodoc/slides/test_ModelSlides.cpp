// The demo document's 3D object and 3D sprite slides as the program plays
// them: every object is made with its meshes and pictures (the document's own
// copies), the butterflies fly head first with beating wings, the clock sits
// on the tower's dial and the sprites drift over their pictures.
#include "foundation/core/RandomForTesting.h"
#include "objects/animation/AC_Butterfly.h"
#include "objects/animation/DS_LeafFallAnim.h"
#include "objects/models/DS_3DObjArray.h"
#include "objects/models/DS_3D_in_2D_array.h"
#include "objects/models/DS_ClockConstructor.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/RenderTestSupport.h"
#include "tests/support/SlidesDocumentTest.h"
#include "foundation/render/PictureMapping.h"
#include "tools/assets/DemoArt.h"
#include "tools/assets/ModelArt.h"
#include "tools/assets/ModelMeshes.h"
#include "tools/demodoc/ModelSlides.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// The slides alone, in a document of their own with the demo's pictures
// they show, made once.
const DocumentBuilder::Bytes& ModelSlidesDocument()
{
    static const DocumentBuilder::Bytes bytes = [] {
        DemoContent demo("");
        for (const DemoPicture& picture : DemoPictures())
            if (std::wstring(picture.fileName) == L"moonlit-hills.jpg" ||
                std::wstring(picture.fileName) == L"misty-forest.png")
                demo.AddPicture(picture.fileName, EncodeDemoPicture(picture));
        AddModelSlides(demo);
        return demo.Document();
    }();
    return bytes;
}

template <class T>
T& Object(DS_SlideContainer& slide, std::size_t index)
{
    T* object = dynamic_cast<T*>(slide.visualObjects.at(index).Get());
    EXPECT_NE(nullptr, object);
    return *object;
}

} // namespace

class ModelSlidesTest : public SlidesDocumentTest {
protected:
    const DocumentBuilder::Bytes& SlidesDocument() override { return ModelSlidesDocument(); }

    // The slide's picture becomes the current one, as when it is shown.
    void Show(std::size_t index) { Slide(index).SetSize(320, 180); }
};

// Four slides: two swarms of butterflies, the clock, two depths of petals
// and the leaves, each with everything it draws. The meshes the objects link
// by module number are the document's copies of the program's.
TEST_F(ModelSlidesTest, EveryObjectIsMadeWithItsMeshesAndPictures)
{
    ASSERT_EQ(4u, document.root->slides.size());
    for (const ProgramMesh& mesh : ProgramMeshes()) {
        SCOPED_TRACE(mesh.number);
        const auto found = document.resources->Table().otherFiles.find(FileKey{L"common_res.dll", mesh.number});
        ASSERT_NE(document.resources->Table().otherFiles.end(), found);
        const Bytes expected = EncodeProgramMesh(mesh);
        ASSERT_EQ(static_cast<int32_t>(expected.size()), found->second.front().Size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), found->second.front().Bytes()));
    }

    ASSERT_EQ(2u, Slide(0).visualObjects.size());
    for (std::size_t i : {0u, 1u}) {
        const DS_3DObjArray& swarm = Object<DS_3DObjArray>(Slide(0), i);
        EXPECT_EQ(i == 0 ? 2u : 4u, swarm.instances.size());
        for (const MeshPart& part : swarm.parts)
            EXPECT_TRUE(IsDrawable(part));
    }

    ASSERT_EQ(1u, Slide(1).visualObjects.size());
    const DS_3DObjArray& clock = Object<DS_3DObjArray>(Slide(1), 0);
    for (const MeshPart& part : clock.parts)
        EXPECT_TRUE(IsDrawable(part));
    const TowerDial dial = ClockTowerDial();
    const auto& constructor = static_cast<const DS_ClockConstructor&>(*clock.objectCtrl);
    EXPECT_NEAR(dial.u * 576.0, constructor.rectangle.pointX.value, 1.0);
    EXPECT_NEAR(dial.v * 576.0, constructor.rectangle.pointY.value, 1.0);
    EXPECT_NEAR(dial.radius * 576.0 * 2.0, constructor.size.value, 1.0);

    const std::size_t sprites[][2] = {{2, 28}, {2, 70}, {3, 36}};
    for (const auto& [slide, count] : sprites) {
        const std::size_t index = count == 70 ? 1 : 0;
        const DS_3D_in_2D_array& drift = Object<DS_3D_in_2D_array>(Slide(slide), index);
        EXPECT_EQ(count, drift.mesh.children.size());
        EXPECT_TRUE(drift.mesh.vertices);
        EXPECT_TRUE(drift.mesh.texture);
        EXPECT_GT(drift.mesh.boundingRadius, 20.0f);
    }
}

// Over twenty seconds every butterfly flies head first (its head turned
// the way it moves across the picture), beats its wings through most of
// their range and stays near its garden.
TEST_F(ModelSlidesTest, ButterfliesFlyHeadFirstWithBeatingWings)
{
    Show(0);
    for (std::size_t i : {0u, 1u}) {
        DS_3DObjArray& swarm = Object<DS_3DObjArray>(Slide(0), i);
        int agreeing = 0, moving = 0;
        float lowest = 0.0f, highest = 0.0f;
        std::vector<float> lastX;
        for (const DS_Frame* root : swarm.instances)
            lastX.push_back(root->world._41);
        for (int frame = 1; frame <= 400; ++frame) {
            swarm.Update(frame / 20.0f);
            std::size_t k = 0;
            for (const DS_Frame* root : swarm.instances) {
                const float dx = root->world._41 - lastX[k];
                lastX[k++] = root->world._41;
                D3DXVECTOR3 head(0.0f, 0.0f, 1.0f);
                D3DXVec3TransformNormal(&head, &head, &root->world);
                if (std::fabs(dx) > 0.5f && std::fabs(head.x) > 0.2f * D3DXVec3Length(&head)) {
                    ++moving;
                    agreeing += (dx > 0.0f) == (head.x > 0.0f);
                }
                const auto* flight = static_cast<const AC_Butterfly*>(root->animation);
                lowest = std::min(lowest, flight->flapAngle);
                highest = std::max(highest, flight->flapAngle);
                EXPECT_GT(root->world._41, -200.0f);
                EXPECT_LT(root->world._41, 1224.0f);
            }
        }
        EXPECT_GT(moving, 200);
        EXPECT_GT(agreeing, moving * 9 / 10);
        EXPECT_LT(lowest, -40.0f);
        EXPECT_GT(highest, 40.0f);
    }
}

// The sprites drift: over ten seconds each one moves, and all stay within
// their picture and its margins.
TEST_F(ModelSlidesTest, SpritesDriftAcrossThePicture)
{
    for (std::size_t slide : {2u, 3u}) {
        Show(slide);
        DS_3D_in_2D_array& drift = Object<DS_3D_in_2D_array>(Slide(slide), 0);
        drift.Update(0.0f);
        std::vector<D3DXVECTOR2> start;
        for (const DS_Frame* sprite : drift.mesh.children)
            start.emplace_back(sprite->world._41, sprite->world._42);
        for (int frame = 1; frame <= 200; ++frame)
            drift.Update(frame / 20.0f);
        std::size_t i = 0;
        for (const DS_Frame* sprite : drift.mesh.children) {
            const auto* leaf = static_cast<const DS_LeafFallAnim*>(sprite->animation);
            const D3DXVECTOR2 now(sprite->world._41, sprite->world._42);
            const D3DXVECTOR2 moved = now - start[i++];
            EXPECT_GT(D3DXVec2Length(&moved), 5.0f);
            EXPECT_GE(leaf->position._41, -40.0f);
            EXPECT_LE(leaf->position._41, CurrentPictureMapping.pictureWidth + 40.0f);
            EXPECT_GE(leaf->position._42, -40.0f);
            EXPECT_LE(leaf->position._42, CurrentPictureMapping.pictureHeight + 40.0f);
        }
    }
}
