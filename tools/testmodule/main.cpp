// Writes the generated files of the test module into a folder (normally
// tools/testmodule/):
//   testmodulegen <folder>
#include "tools/testmodule/TestModuleContent.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: testmodulegen <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const TestModuleFile& file : TestModuleFiles()) {
        const std::string path = folder + "/" + file.name;
        FILE* out = std::fopen(path.c_str(), "wb");
        const bool written = out && std::fwrite(file.content.data(), 1, file.content.size(), out) == file.content.size();
        if (!out || std::fclose(out) != 0 || !written) {
            std::fprintf(stderr, "testmodulegen: could not write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
