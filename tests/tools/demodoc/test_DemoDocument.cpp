#include "tools/demodoc/DemoDocument.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

DocumentBuilder::Bytes ReadSourceFile(const std::string& relative)
{
    std::ifstream in(std::string(NIGHTGLASS_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return DocumentBuilder::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The program carries the whole document in its file, once per run on each
// screen in memory: with its pictures, sounds and two minutes of music it
// stays within a few megabytes.
const std::size_t LargestDocument = 12u << 20;

} // namespace

// res/scene.dds is exactly what the generator makes; after changing the
// generator or the pictures, run demodoc on res/scene.dds and commit it.
TEST(DemoDocument, CommittedDocumentMatchesTheGenerator)
{
    const DocumentBuilder::Bytes generated = BuildDemoDocument();

    EXPECT_TRUE(generated == ReadSourceFile("res/scene.dds")) << "regenerate res/scene.dds with demodoc";
    EXPECT_LT(generated.size(), LargestDocument);
}
