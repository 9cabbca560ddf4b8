#include "tools/testmodule/TestModuleContent.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

// The module's generated files in tools/testmodule/ are exactly what the
// generator makes; after changing it, run testmodulegen on that folder and
// commit the result.
TEST(TestModuleContent, CommittedFilesMatchTheGenerator)
{
    for (const TestModuleFile& file : TestModuleFiles()) {
        std::ifstream in(std::string(NIGHTGLASS_SOURCE_DIR) + "/tools/testmodule/" + file.name, std::ios::binary);
        const Bytes committed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(file.content, committed) << file.name;
    }
}
