// The records of the butterfly, the clock and the 3D sprites: what each
// version holds, the constructors' defaults, copies, and writing a record
// back exactly as it was read.
#include "objects/models/DS_3D_in_2D_array_Constructor.h"
#include "objects/models/DS_ButterflyConstructor.h"
#include "objects/models/DS_ClockConstructor.h"
#include "tests/support/ParticleTestSupport.h"
#include "tools/document/ModelRecords.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

const FileKey Module(int64_t number) { return FileKey{L"common_res.dll", number}; }

ButterflyContent Butterfly(int32_t version)
{
    ButterflyContent c;
    c.version = version;
    c.bodyTextureStamp = 16;
    c.firstScaled = 30;
    c.secondScaled = 70;
    c.wingScale = 1.25f;
    c.object.count = 4;
    c.object.size = 120;
    c.object.texturePath = L"C:\\Art\\wing.png";
    c.object.textureStamp = 9;
    c.object.view.left = 0.1f;
    c.object.view.right = 0.6f;
    c.object.view.pixels[1] = 640;
    c.object.view.speed = 70;
    c.object.view.name = L"Swallowtails";
    return c;
}

template <class T>
DocumentBuilder::Bytes Written(T& constructor)
{
    WritingHandle out;
    constructor.Write(out.handle);
    return out.archive->Bytes();
}

} // namespace

// Version 2 carries the wing scale, version 1 keeps 1.0; both read the body
// links, the scaled values (their results following), and the base record
// with its view. Either is written back as version 2.
TEST(ModelRecords, ButterflyRecordsOfBothVersions)
{
    for (int32_t version : {1, 2}) {
        SCOPED_TRACE(version);
        const DocumentBuilder::Bytes bytes = ButterflyRecordBytes(Butterfly(version));
        const auto read = ReadRecord<DS_ButterflyConstructor>(bytes);
        ASSERT_TRUE(read);
        EXPECT_EQ(Module(16), read->bodyTexture.value);
        EXPECT_EQ(Module(68), read->bodyMesh.value);
        EXPECT_EQ(30u, read->reservedFirst.value);
        EXPECT_EQ(30.0f, read->reservedFirst.result);
        EXPECT_EQ(70.0f, read->reservedSecond.result);
        EXPECT_EQ(version == 2 ? 1.25f : 1.0f, read->wingScale);
        EXPECT_EQ(4u, read->count.value);
        EXPECT_EQ(120u, read->size.value);
        EXPECT_EQ((FileKey{L"C:\\Art\\wing.png", 9}), read->texture.value);
        EXPECT_EQ(Module(69), read->mesh.value);
        EXPECT_EQ(0.6f, read->right);
        EXPECT_EQ(640, read->pixelRect.right.value);
        EXPECT_EQ(70u, read->speed.value);
        EXPECT_TRUE(read->viewFlag);
        EXPECT_EQ(L"Swallowtails", read->name);
        ButterflyContent asWritten = Butterfly(2);
        if (version == 1)
            asWritten.wingScale = 1.0f;
        EXPECT_EQ(ButterflyRecordBytes(asWritten), Written(*read));
    }
}

// The clock reads its rectangle and hands link the same in every version.
TEST(ModelRecords, ClockRecordsReadAlikeInEveryVersion)
{
    for (int32_t version : {1, 3}) {
        SCOPED_TRACE(version);
        ClockContent c;
        c.version = version;
        const int32_t rectangle[6] = {100, 300, 50, 250, 200, 150};
        std::memcpy(c.rectangle, rectangle, sizeof rectangle);
        c.handsPath = L"C:\\Art\\hands.png";
        c.handsStamp = 3;
        c.object.size = 200;
        c.object.count = 2;
        const auto read = ReadRecord<DS_ClockConstructor>(ClockRecordBytes(c));
        ASSERT_TRUE(read);
        EXPECT_EQ(100, read->rectangle.left.value);
        EXPECT_EQ(300, read->rectangle.right.value);
        EXPECT_EQ(50, read->rectangle.top.value);
        EXPECT_EQ(250, read->rectangle.bottom.value);
        EXPECT_EQ(200, read->rectangle.pointX.value);
        EXPECT_EQ(150, read->rectangle.pointY.value);
        EXPECT_EQ((FileKey{L"C:\\Art\\hands.png", 3}), read->handsTexture.value);
        EXPECT_EQ(200u, read->size.value);
        EXPECT_EQ(2u, read->count.value);
        EXPECT_EQ(Module(71), read->texture.value);
        EXPECT_EQ(Module(70), read->mesh.value);
        c.version = 1;
        EXPECT_EQ(ClockRecordBytes(c), Written(*read));

        ScreenQuad quad;
        read->GetScreenQuad(quad);
        EXPECT_EQ(100.0f, quad.corners[ScreenQuad::BottomLeft].x);
        EXPECT_EQ(250.0f, quad.corners[ScreenQuad::BottomLeft].y);
        EXPECT_EQ(300.0f, quad.corners[ScreenQuad::TopRight].x);
        EXPECT_EQ(50.0f, quad.corners[ScreenQuad::TopRight].y);
    }
}

// A new butterfly and a new clock: their module links, sizes and markers;
// the clock starts centred on the current picture.
TEST(ModelRecords, Defaults)
{
    PictureSize picture(1023, 767);
    const DS_ButterflyConstructor butterfly;
    EXPECT_EQ(Module(6), butterfly.bodyTexture.value);
    EXPECT_EQ(Module(68), butterfly.bodyMesh.value);
    EXPECT_EQ(Module(69), butterfly.mesh.value);
    EXPECT_TRUE(butterfly.texture.value.path.empty());
    EXPECT_EQ(100u, butterfly.size.value);
    EXPECT_EQ(1u, butterfly.count.value);
    EXPECT_EQ(50.0f, butterfly.reservedFirst.result);
    EXPECT_EQ(1.0f, butterfly.wingScale);
    EXPECT_TRUE(butterfly.viewFlag);

    DS_ClockConstructor clock;
    EXPECT_EQ(511, clock.rectangle.pointX.value);
    EXPECT_EQ(383, clock.rectangle.pointY.value);
    EXPECT_EQ(Module(70), clock.mesh.value);
    EXPECT_EQ(Module(71), clock.texture.value);
    EXPECT_EQ(Module(72), clock.handsTexture.value);
    EXPECT_EQ(400u, clock.size.value);
    EXPECT_EQ(1, clock.GetMarkerStyle());
    EXPECT_EQ(0, const_cast<DS_ButterflyConstructor&>(butterfly).GetMarkerStyle());
}

// The 3D sprites' record: the count, both embedded files with their bytes,
// the motion settings with the direction worked out from the angle; the base
// record's name wins over the leading copy. A copy keeps the files' bytes.
TEST(ModelRecords, SpritesRecordAndCopy)
{
    Sprites3DContent c;
    c.leadingName = L"Leading";
    c.name = L"Petals";
    c.count = 5;
    c.mesh.path = L"C:\\Art\\petal.x";
    c.mesh.content = {1, 2, 3};
    c.texture.id = 40;
    c.texture.module = L"common_res.dll";
    c.texture.content = {4, 5};
    c.size = 30;
    c.speed = 80;
    c.driftAmount = 12;
    c.driftChangeRate = 3;
    c.tumble = 60;
    c.angle = 90;
    const auto read = ReadRecord<DS_3D_in_2D_array_Constructor>(Sprites3DRecordBytes(c));
    ASSERT_TRUE(read);
    EXPECT_EQ(L"Petals", read->name);
    EXPECT_EQ(5u, read->count.value);
    EXPECT_EQ(L"C:\\Art\\petal.x", read->meshRecord.path);
    ASSERT_EQ(3, read->meshRecord.Size());
    EXPECT_EQ(3, read->meshRecord.Bytes()[2]);
    EXPECT_EQ(40, read->textureRecord.resourceId);
    EXPECT_EQ(30u, read->motion.size.value);
    EXPECT_EQ(80u, read->motion.speed.value);
    EXPECT_EQ(12u, read->motion.driftAmount.value);
    EXPECT_EQ(3u, read->motion.driftChangeRate.value);
    EXPECT_EQ(60u, read->motion.tumble.value);
    EXPECT_EQ(90, read->motion.angle);
    EXPECT_NEAR(-1.0f, read->motion.direction.y, 1e-6f);

    const DS_3D_in_2D_array_Constructor copy(*read);
    ASSERT_EQ(2, copy.textureRecord.Size());
    EXPECT_NE(read->textureRecord.Bytes(), copy.textureRecord.Bytes());
    EXPECT_EQ(5, copy.textureRecord.Bytes()[1]);
    EXPECT_NEAR(-1.0f, copy.motion.perpendicular.x, 1e-6f);

    c.leadingName = c.name;
    EXPECT_EQ(Sprites3DRecordBytes(c), Written(*read));
}
