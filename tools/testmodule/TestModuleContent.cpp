#include "tools/testmodule/TestModuleContent.h"

#include "tools/document/DocumentBuilder.h"
#include "tools/effects/FlatColourEffect.h"

const wchar_t* const TestFramePicturePath = L"C:\\frames\\dot.png";
const std::vector<float> TestImageListDelays = {0.5f, 0.25f, 1.0f};

namespace {

void Fill(Image& image, int x0, int x1, uint32_t argb)
{
    for (int y = 0; y < image.height; ++y) {
        for (int x = x0; x < x1; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = static_cast<uint8_t>(argb >> 16);
            p[1] = static_cast<uint8_t>(argb >> 8);
            p[2] = static_cast<uint8_t>(argb);
            p[3] = static_cast<uint8_t>(argb >> 24);
        }
    }
}

DocumentBuilder& Delays(DocumentBuilder& list, const std::vector<float>& delays)
{
    list.Int(static_cast<int32_t>(delays.size()));
    for (float delay : delays)
        list.Float(delay);
    return list;
}

DocumentBuilder& ModulePicture(DocumentBuilder& list, int32_t id)
{
    return list.ResourceRecord(id, TESTMODULE_FILE_NAME, {}, L"");
}

} // namespace

Bytes SolidPng(int width, int height, uint32_t argb)
{
    Image image(width, height);
    Fill(image, 0, width, argb);
    return EncodePng(image, true);
}

Bytes TestPictureFile()
{
    Image image(TestPictureWidth, TestPictureHeight);
    Fill(image, 0, TestPictureWidth / 2, TestPictureLeftColour);
    Fill(image, TestPictureWidth / 2, TestPictureWidth, TestPictureRightColour);
    return EncodePng(image, true);
}

Bytes TestSecondPictureFile()
{
    return SolidPng(TestSecondPictureWidth, TestSecondPictureHeight, TestSecondPictureColour);
}

Bytes TestImageListFile()
{
    DocumentBuilder list;
    Delays(list, TestImageListDelays).Int(2);
    ModulePicture(list, TESTMODULE_PICTURE)
        .ResourceRecord(0, L"", SolidPng(TestFramePictureSize, TestFramePictureSize, TestFramePictureColour),
                        TestFramePicturePath);
    return list.Take();
}

Bytes TestPlainImageListFile()
{
    DocumentBuilder list;
    Delays(list, {}).Int(2);
    ModulePicture(list, TESTMODULE_PICTURE);
    ModulePicture(list, TESTMODULE_SECOND_PICTURE);
    return list.Take();
}

Bytes TestOverrunDelaysFile()
{
    DocumentBuilder list;
    // A thousand delays announced, two present.
    list.Int(1000).Float(0.5f).Float(0.5f);
    return list.Take();
}

Bytes TestOverrunRecordsFile()
{
    DocumentBuilder list;
    Delays(list, {0.5f}).Int(2);
    ModulePicture(list, TESTMODULE_PICTURE);
    // The second record announces 4096 bytes and ends after four.
    list.Int(0).String(L"").Int(4096).Raw({1, 2, 3, 4});
    return list.Take();
}

Bytes TestEffectFile() { return FlatColourEffect(TestEffectColour); }

std::vector<TestModuleFile> TestModuleFiles()
{
    return {
        {"picture.png", TestPictureFile()},
        {"second.png", TestSecondPictureFile()},
        {"frames.bin", TestImageListFile()},
        {"frames_plain.bin", TestPlainImageListFile()},
        {"frames_overrun_delays.bin", TestOverrunDelaysFile()},
        {"frames_overrun_records.bin", TestOverrunRecordsFile()},
        {"effect.fxo", TestEffectFile()},
    };
}
