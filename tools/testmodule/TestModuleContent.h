// The generated files of the test module: its pictures, image lists and
// compiled effect, made by code so that the committed copies can be checked
// against it. The mesh is a hand-written text file beside them.
#pragma once

#include "tools/encoders/ImageWriters.h"
#include "tools/testmodule/TestModuleIds.h"

#include <cstdint>
#include <string>
#include <vector>

// Picture TESTMODULE_PICTURE: 40 × 20, left half magenta, right half cyan.
constexpr int TestPictureWidth = 40;
constexpr int TestPictureHeight = 20;
constexpr uint32_t TestPictureLeftColour = 0xFFFF00FF;
constexpr uint32_t TestPictureRightColour = 0xFF00FFFF;
// Picture TESTMODULE_SECOND_PICTURE: 16 × 48, all orange.
constexpr int TestSecondPictureWidth = 16;
constexpr int TestSecondPictureHeight = 48;
constexpr uint32_t TestSecondPictureColour = 0xFFFF8000;
// The picture that TESTMODULE_IMAGE_LIST embeds in its second record: 8 × 8,
// all green-teal, under the path below.
constexpr int TestFramePictureSize = 8;
constexpr uint32_t TestFramePictureColour = 0xFF20A060;
extern const wchar_t* const TestFramePicturePath;
// The frame delays of TESTMODULE_IMAGE_LIST: three delays for two records.
extern const std::vector<float> TestImageListDelays;
// The colour that the compiled effect TESTMODULE_EFFECT draws.
constexpr uint32_t TestEffectColour = 0xFF3090E0;

// A picture of one colour (ARGB) as PNG.
Bytes SolidPng(int width, int height, uint32_t argb);

Bytes TestPictureFile();
Bytes TestSecondPictureFile();
// Delays, then a record of the module's own picture (no bytes) and a disk
// record carrying the frame picture.
Bytes TestImageListFile();
// No delays, records of both module pictures.
Bytes TestPlainImageListFile();
// Lists whose delay count, or whose second record's size, runs past the end.
Bytes TestOverrunDelaysFile();
Bytes TestOverrunRecordsFile();
Bytes TestEffectFile();

// Every generated file of the module with its name in tools/testmodule/.
struct TestModuleFile {
    std::string name;
    Bytes content;
};
std::vector<TestModuleFile> TestModuleFiles();
