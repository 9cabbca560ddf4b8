// The 3D objects' runtime object: its instances as the count changes, the
// frames its parts are drawn at, parts without a mesh or a picture, what a
// butterfly and a clock put on the back buffer with the program's own
// meshes, and frames that allocate nothing.
#include "objects/models/DS_3DObjArray.h"

#include "objects/animation/AC_Butterfly.h"
#include "objects/animation/LocalClock.h"
#include "objects/models/DS_ButterflyConstructor.h"
#include "objects/models/DS_ClockConstructor.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/ParticleTestSupport.h"
#include "tests/support/TestTextures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const FileKey PictureKey{L"C:\\Art\\grey.png", 1};
const FileKey BodyKey{L"common_res.dll", 6};
const FileKey FaceKey{L"common_res.dll", 71};
const FileKey HandsKey{L"common_res.dll", 72};
const FileKey WingKey{L"C:\\Art\\wing.png", 2};
const FileKey NoPicture{L"C:\\Art\\absent.png", 3};

const D3DCOLOR Grey = 0xFF404040;
const D3DCOLOR Magenta = 0xFFFF00FF;
const D3DCOLOR Cream = 0xFFF0E0C0;
const D3DCOLOR Ink = 0xFF202020;
// The body's picture in four bands around it: u from 0 (its right side, at
// the level of its axis) through its belly, its left side and its back.
const D3DCOLOR RightBelly = 0xFFFF0000;
const D3DCOLOR LeftBelly = 0xFF00FF00;
const D3DCOLOR LeftBack = 0xFF0000FF;
const D3DCOLOR RightBack = 0xFFFFFFFF;

ComHolder<IDirect3DTexture9> BandTexture(IDirect3DDevice9* device)
{
    const D3DCOLOR band[4] = {RightBelly, LeftBelly, LeftBack, RightBack};
    return ColourTexture(device, 4, 1, [&band](UINT x, UINT) { return band[x]; });
}

std::tm shownTime{};
bool ShownTime(std::tm& out)
{
    out = shownTime;
    return true;
}

std::unique_ptr<DS_3DObjArray> Make(DS_3D_Obj_Ctrl& constructor) { return MakeObjectAs<DS_3DObjArray>(constructor); }

} // namespace

// A layer over a grey picture as large as the back buffer, so picture
// pixels are back-buffer pixels, with the pictures the objects link to.
template <UINT Side>
class ObjectsOnTheDevice : public LayerTest<Side, Side> {
protected:
    void SetUp() override
    {
        LayerTest<Side, Side>::SetUp();
        IDirect3DDevice9* d = this->Device();
        picture = SolidTexture(d, Grey);
        AddPicture(this->manager, PictureKey, picture.Get(), Side, Side);
        body = BandTexture(d);
        AddPicture(this->manager, BodyKey, body.Get(), 4, 1);
        wing = SolidTexture(d, Magenta);
        AddPicture(this->manager, WingKey, wing.Get(), 16, 16);
        face = SolidTexture(d, Cream);
        AddPicture(this->manager, FaceKey, face.Get(), 16, 16);
        hands = SolidTexture(d, Ink);
        AddPicture(this->manager, HandsKey, hands.Get(), 16, 16);
        ActivateLayer(layer, PictureKey, Side, Side, SceneView::Fit);
    }

    void Draw(DS_3DObjArray& object, float time) { DrawObjectFrame(this->Device(), layer, object, time); }

    Pixels Frame(DS_3DObjArray& object, float time)
    {
        Draw(object, time);
        return this->device.ReadBackBuffer();
    }

    ComHolder<IDirect3DTexture9> picture, body, wing, face, hands;
    DS_2D_Light layer;
};

using ObjectArrayTest = ObjectsOnTheDevice<256>;
using ClockPixelsTest = ObjectsOnTheDevice<512>;

namespace {

// A butterfly held still in the middle of the picture at the given heading
// and wing beat, 200 % of its size: one body unit is one pixel.
std::unique_ptr<DS_3DObjArray> StillButterfly(DS_ButterflyConstructor& constructor, float heading, float flap)
{
    constructor.left = constructor.right = 0.5f;
    constructor.top = constructor.bottom = 0.5f;
    constructor.size.value = 200;
    auto object = Make(constructor);
    auto* flight = dynamic_cast<AC_Butterfly*>(object->instances.front()->animation);
    flight->heading.value = flight->heading.target = heading;
    flight->flapAngle = flap;
    return object;
}

bool Near(const Rgba& colour, D3DCOLOR expected) { return colour.ColourDistance(Rgba::FromArgb(expected)) <= 40; }

} // namespace

// Shrinking the count deletes animations that listen to the clone's size;
// their binders go with them, so a later size change reaches only the
// survivors (a binder left behind would call into a deleted animation).
TEST_F(ObjectArrayTest, ASizeChangeAfterShrinkingReachesOnlyTheSurvivors)
{
    DS_ButterflyConstructor butterfly;
    butterfly.count.value = 4;
    auto flight = Make(butterfly);
    auto& size = flight->objectCtrl->size;
    const std::size_t alone = size.ListenerCount() - 4;
    flight->objectCtrl->count.SetValue(1, nullptr);
    ASSERT_EQ(1u, flight->instances.size());
    EXPECT_EQ(alone + 1, size.ListenerCount());

    size.SetValue(size.value + 50, nullptr);
    auto* survivor = dynamic_cast<AC_Butterfly*>(flight->instances.front()->animation);
    ASSERT_NE(nullptr, survivor);
    const float k = static_cast<float>(size.value) / 100.0f;
    EXPECT_FLOAT_EQ(k, survivor->scale._11);
    EXPECT_FLOAT_EQ(k, survivor->scale._33);

    // Growing again binds the new ones.
    flight->objectCtrl->count.SetValue(3, nullptr);
    EXPECT_EQ(alone + 3, size.ListenerCount());
}

// A new object holds as many instances as the count; growing adds new ones
// after the old, shrinking deletes the oldest; after every change the first
// part is drawn at each root and the second at each root's two children, in
// instance order. The count a document may ask for is capped.
TEST_F(ObjectArrayTest, InstancesFollowTheCount)
{
    const auto check = [](const DS_3DObjArray& object, std::size_t n) {
        ASSERT_EQ(n, object.instances.size());
        ASSERT_EQ(2u, object.parts.size());
        ASSERT_EQ(n, object.parts[0].instances.size());
        ASSERT_EQ(2 * n, object.parts[1].instances.size());
        auto root = object.parts[0].instances.begin();
        auto child = object.parts[1].instances.begin();
        for (const DS_Frame* instance : object.instances) {
            EXPECT_EQ(instance, *root++);
            for (const DS_Frame* own : instance->children)
                EXPECT_EQ(own, *child++);
        }
    };

    DS_ButterflyConstructor butterfly;
    auto flight = Make(butterfly);
    check(*flight, 1);
    EXPECT_TRUE(flight->parts[1].twoSided);
    EXPECT_FALSE(flight->parts[0].twoSided);
    const DS_Frame* first = flight->instances.front();
    flight->objectCtrl->count.SetValue(3, nullptr);
    check(*flight, 3);
    EXPECT_EQ(first, flight->instances.front());
    const DS_Frame* newest = flight->instances.back();
    flight->objectCtrl->count.SetValue(1, nullptr);
    check(*flight, 1);
    EXPECT_EQ(newest, flight->instances.front());
    flight->objectCtrl->count.SetValue(0, nullptr);
    check(*flight, 0);
    EXPECT_EQ(2u, flight->parts.size());
    flight->objectCtrl->count.SetValue(4000000000u, nullptr);
    check(*flight, DS_3DObjArray::MaxInstances);

    DS_ClockConstructor clock;
    clock.count.value = 2;
    auto clocks = Make(clock);
    check(*clocks, 2);
    EXPECT_TRUE(clocks->parts[0].twoSided);
    EXPECT_TRUE(clocks->parts[1].twoSided);
    EXPECT_EQ(&clocks->parts, static_cast<DS_ClockConstructor*>(clocks->objectCtrl)->parts);
    // The original was never touched: the object works on its own clone.
    EXPECT_EQ(nullptr, clock.parts);
}

// Seen from its right side (flying right, heading 0) the butterfly shows its
// right flank: its back above its belly, its head to the right, raised by
// the tilt. From its left (heading 180) the other flank, head to the left.
// Only the outer faces are drawn, so the far flank never shows through. A
// wing without its picture is skipped.
TEST_F(ObjectArrayTest, TheBodyShowsItsNearFlankHeadFirst)
{
    struct Case {
        float heading;
        D3DCOLOR back, belly, farBelly;
        bool headRight;
    };
    for (const Case& c : {Case{0.0f, RightBack, RightBelly, LeftBelly, true},
                          Case{180.0f, LeftBack, LeftBelly, RightBelly, false}}) {
        SCOPED_TRACE(c.heading);
        DS_ButterflyConstructor butterfly;
        butterfly.texture.value = NoPicture;
        auto object = StillButterfly(butterfly, c.heading, -40.0f);
        const Pixels pixels = Frame(*object, 0.0f);

        int backs = 0, bellies = 0, farBellies = 0, left = 256, right = -1, leftY = 0, rightY = 0;
        double backY = 0.0, bellyY = 0.0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const Rgba p = pixels.At(x, y);
                if (Near(p, Grey))
                    continue;
                if (x < left) {
                    left = x;
                    leftY = y;
                }
                if (x > right) {
                    right = x;
                    rightY = y;
                }
                if (Near(p, c.back)) {
                    ++backs;
                    backY += y - 0.35 * (c.headRight ? 128 - x : x - 128);
                } else if (Near(p, c.belly)) {
                    ++bellies;
                    bellyY += y - 0.35 * (c.headRight ? 128 - x : x - 128);
                } else if (Near(p, c.farBelly)) {
                    ++farBellies;
                }
            }
        EXPECT_GT(backs, 60);
        EXPECT_GT(bellies, 60);
        EXPECT_LT(farBellies, (backs + bellies) / 10);
        // Measured across the raised body's axis, the back lies above.
        EXPECT_LT(backY / std::max(backs, 1) + 2.0, bellyY / std::max(bellies, 1));
        // About 90 pixels from tail to head, the antennae beyond the head.
        EXPECT_GT(right - left, 95);
        EXPECT_LT(right - left, 150);
        const int headX = c.headRight ? right : left;
        const int tailX = c.headRight ? left : right;
        const int headY = c.headRight ? rightY : leftY;
        const int tailY = c.headRight ? leftY : rightY;
        EXPECT_GT(std::abs(headX - 128), std::abs(tailX - 128));
        EXPECT_LT(headY, tailY);
        EXPECT_TRUE(pixels.AllNear(0, 0, 256, 60, Rgba::FromArgb(Grey), 0));
    }
}

// Coming straight at the viewer (heading 90) with its wings raised, the
// butterfly shows both wings, one to each side of its body, and the sky
// between them.
TEST_F(ObjectArrayTest, BothWingsRiseBesideTheBody)
{
    DS_ButterflyConstructor butterfly;
    butterfly.texture.value = WingKey;
    auto object = StillButterfly(butterfly, 90.0f, -40.0f);
    const Pixels pixels = Frame(*object, 0.0f);
    EXPECT_TRUE(Near(pixels.At(105, 108), Magenta));
    EXPECT_TRUE(Near(pixels.At(151, 108), Magenta));
    EXPECT_TRUE(Near(pixels.At(128, 85), Grey));
    EXPECT_TRUE(Near(pixels.At(128, 200), Grey));
    EXPECT_TRUE(Near(pixels.At(60, 108), Grey));
    int body = 0;
    for (int y = 100; y < 160; ++y)
        for (int x = 118; x < 138; ++x) {
            const Rgba p = pixels.At(x, y);
            if (!Near(p, Grey) && !Near(p, Magenta))
                ++body;
        }
    EXPECT_GT(body, 20);
}

// Coming straight at the viewer with its wings raised, the wings' roots lie
// behind the body: where the body and a wing fall on the same pixels, the
// body shows, as it does with no wings at all, though the wings are drawn
// after it.
TEST_F(ObjectArrayTest, TheBodyHidesTheWingsBehindIt)
{
    const FileKey body{L"common_res.dll", 68};
    const FileKey noMesh{L"common_res.dll", 999};
    const auto frame = [&](const FileKey& bodyMesh, const FileKey& wingPicture) {
        DS_ButterflyConstructor butterfly;
        butterfly.bodyMesh.value = bodyMesh;
        butterfly.texture.value = wingPicture;
        auto object = StillButterfly(butterfly, 90.0f, -40.0f);
        return Frame(*object, 0.0f);
    };
    const Pixels bodyAlone = frame(body, NoPicture);
    const Pixels wingsAlone = frame(noMesh, WingKey);
    const Pixels whole = frame(body, WingKey);

    int overlap = 0, bodyShown = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            if (Near(bodyAlone.At(x, y), Grey) || !Near(wingsAlone.At(x, y), Magenta))
                continue;
            ++overlap;
            if (whole.At(x, y).ColourDistance(bodyAlone.At(x, y)) <= 40)
                ++bodyShown;
        }
    EXPECT_GT(overlap, 40);
    EXPECT_GE(bodyShown, overlap * 9 / 10) << overlap << " pixels of body and wing";
}

// Drawn into the layer's scene capture, as the capturing layers (underwater,
// glass ball, flame and water rings) draw their objects, the body hides the
// wings behind it as it does on the back buffer: the capture holds the same
// frame, pixel for pixel.
TEST_F(ObjectArrayTest, TheCaptureShowsTheBodyOverTheWingsAsTheBackBufferDoes)
{
    DS_ButterflyConstructor butterfly;
    butterfly.texture.value = WingKey;
    auto object = StillButterfly(butterfly, 90.0f, -40.0f);
    const Pixels direct = Frame(*object, 0.0f);

    IDirect3DDevice9* d = Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    d->BeginScene();
    layer.BeginSceneCapture();
    object->Update(0.0f);
    layer.DrawBackground(false);
    object->Render(layer);
    RenderTargetPair& pair = layer.EndSceneCapture(false);
    d->EndScene();
    ASSERT_TRUE(pair.current);
    const Pixels captured = device.ReadTexture(pair.current.Get());

    int body = 0, differing = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            if (!Near(direct.At(x, y), Grey) && !Near(direct.At(x, y), Magenta))
                ++body;
            if (captured.At(x, y).ColourDistance(direct.At(x, y)) > 8)
                ++differing;
        }
    EXPECT_GT(body, 40);
    EXPECT_LE(differing, 4) << "of " << body << " pixels of body";
}

// A part whose mesh or picture is missing is skipped; the other part is
// drawn. With neither, the picture is left as it is.
TEST_F(ObjectArrayTest, PartsWithoutMeshOrPictureAreSkipped)
{
    struct Case {
        FileKey bodyMesh;
        FileKey wingPicture;
        bool body, wings;
    };
    const FileKey missingMesh{L"common_res.dll", 999};
    const Case cases[] = {
        {FileKey{L"common_res.dll", 68}, WingKey, true, true},
        {missingMesh, WingKey, false, true},
        {FileKey{L"common_res.dll", 68}, NoPicture, true, false},
        {missingMesh, NoPicture, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.body << c.wings);
        DS_ButterflyConstructor butterfly;
        butterfly.bodyMesh.value = c.bodyMesh;
        butterfly.texture.value = c.wingPicture;
        auto object = StillButterfly(butterfly, 90.0f, -40.0f);
        const Pixels pixels = Frame(*object, 0.0f);
        int wingPixels = 0, bodyPixels = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const Rgba p = pixels.At(x, y);
                if (Near(p, Magenta))
                    ++wingPixels;
                else if (!Near(p, Grey))
                    ++bodyPixels;
            }
        EXPECT_EQ(c.wings, wingPixels > 100);
        EXPECT_EQ(c.body, bodyPixels > 20);
    }
}

// Once the runtime object exists, a new face picture on its clone's link
// reaches the face part; the hands keep theirs.
TEST_F(ObjectArrayTest, AFaceLinkChangeReachesTheFace)
{
    DS_ClockConstructor clock;
    auto object = Make(clock);
    EXPECT_EQ(face.Get(), object->parts[0].texture.Get());
    object->objectCtrl->texture.value = WingKey;
    object->objectCtrl->texture.NotifyListeners(nullptr);
    EXPECT_EQ(wing.Get(), object->parts[0].texture.Get());
    EXPECT_EQ(hands.Get(), object->parts[1].texture.Get());
    // The constructor the slide keeps was not bound to the runtime object.
    clock.texture.value = BodyKey;
    clock.texture.NotifyListeners(nullptr);
    EXPECT_EQ(wing.Get(), object->parts[0].texture.Get());
}

// A clock of size 400 in the middle of the picture: its face fills the
// square, and its hands lie along the directions the time gives, 4 pixels
// wide, the hour hand reaching 100 pixels from the centre and the minute
// hand 128.
TEST_F(ClockPixelsTest, TheHandsShowTheTime)
{
    PictureSize size(512, 512);
    const LocalTimeSource previous = SetLocalTimeSource(ShownTime);
    struct Case {
        int hour, minute;
        float hourAngle, minuteAngle;
    };
    for (const Case& c : {Case{3, 0, 90.0f, 0.0f}, Case{9, 30, 285.0f, 180.0f}}) {
        SCOPED_TRACE(c.hour);
        shownTime = std::tm{};
        shownTime.tm_hour = c.hour;
        shownTime.tm_min = c.minute;
        DS_ClockConstructor clock;
        auto object = Make(clock);
        const Pixels pixels = Frame(*object, 0.0f);

        // Along a hand, at distance r from the centre, in the direction of
        // the angle clockwise from 12.
        const auto at = [&](float degrees, float r) {
            const float radians = degrees * 3.14159265f / 180.0f;
            return pixels.At(static_cast<int>(std::lround(256.0f + r * std::sin(radians))),
                             static_cast<int>(std::lround(256.0f - r * std::cos(radians))));
        };
        for (float r : {30.0f, 60.0f, 90.0f}) {
            EXPECT_TRUE(Near(at(c.hourAngle, r), Ink)) << r;
            EXPECT_TRUE(Near(at(c.minuteAngle, r), Ink)) << r;
        }
        EXPECT_TRUE(Near(at(c.minuteAngle, 120.0f), Ink));
        EXPECT_TRUE(Near(at(c.hourAngle, 112.0f), Cream));
        EXPECT_TRUE(Near(at(c.minuteAngle, 140.0f), Cream));
        for (float off : {45.0f, 135.0f, 225.0f})
            EXPECT_TRUE(Near(at(c.minuteAngle + off, 60.0f), Cream)) << off;
        EXPECT_TRUE(Near(pixels.At(60, 256), Cream));
        EXPECT_TRUE(Near(pixels.At(40, 256), Grey));
        EXPECT_TRUE(Near(pixels.At(256, 470), Grey));
    }
    SetLocalTimeSource(previous);
}

// After the first frame, neither butterflies nor a clock allocate anything.
TEST_F(ObjectArrayTest, FramesAllocateNothing)
{
    DS_ButterflyConstructor butterfly;
    butterfly.count.value = 3;
    butterfly.texture.value = WingKey;
    auto flight = Make(butterfly);
    DS_ClockConstructor clock;
    clock.size.value = 100;
    auto clocks = Make(clock);
    Draw(*flight, 0.0f);
    Draw(*clocks, 0.0f);
    const long long before = AllocationsMade();
    for (float t = 0.05f; t < 10.0f; t += 0.05f) {
        Draw(*flight, t);
        Draw(*clocks, t);
    }
    EXPECT_EQ(before, AllocationsMade());
}
