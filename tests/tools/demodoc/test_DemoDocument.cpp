#include "tools/demodoc/DemoDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

DocumentBuilder::Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return DocumentBuilder::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Contains(const DocumentBuilder::Bytes& haystack, const DocumentBuilder::Bytes& needle)
{
    return !needle.empty() && std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
                                  haystack.end();
}

} // namespace

// Nothing random leaks into the document: two runs give the same bytes. It
// carries byte-for-byte copies of the program's compiled effects it uses, as
// documents from the authoring tool carry theirs.
TEST(DemoDocument, IsTheSameOnEveryRunAndCarriesTheCompiledEffects)
{
    const DocumentBuilder::Bytes first = BuildDemoDocument(NIGHTGLASS_EFFECTS_DIR);
    EXPECT_TRUE(first == BuildDemoDocument(NIGHTGLASS_EFFECTS_DIR));
    for (const char* effect : {"fire", "heathaze"}) {
        SCOPED_TRACE(effect);
        EXPECT_TRUE(Contains(first, ReadFile(std::string(NIGHTGLASS_EFFECTS_DIR) + "/" + effect + ".fxo")));
    }
}

TEST(DemoDocument, WithoutTheCompiledEffectsThereIsNoDocument)
{
    EXPECT_THROW(BuildDemoDocument("Z:/nonexistent/effects"), std::runtime_error);
}
