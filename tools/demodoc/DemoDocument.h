// The scene document the program embeds (res/scene.dds): a slideshow of the
// project's own pictures, each a plain picture layer whose picture the
// document carries in its resource table under a disk-path key.
#pragma once

#include "tools/document/DocumentBuilder.h"

#include <cstdint>
#include <string>

// Where the authoring side kept the pictures: the keys the layers link to.
extern const wchar_t* const DemoPictureFolder;
// The stamp of every picture key (a file time: 2024-01-01 00:00 UTC).
extern const int64_t DemoPictureStamp;

// The picture path of a demo picture's file name.
std::wstring DemoPicturePath(const wchar_t* fileName);

// The whole document, the same bytes on every run, with copies of the
// compiled effects it uses read from the folder (<name>.fxo). Throws
// std::runtime_error when one of them cannot be read.
DocumentBuilder::Bytes BuildDemoDocument(const std::string& effectsFolder);
