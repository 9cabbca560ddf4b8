// Writes the program's own pictures into a folder (normally res/):
//   assetgen <folder>
#include "tools/assets/ProgramArt.h"

#include <cstdio>
#include <string>

namespace {

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = WriteFile(folder + "/nightglass.ico", MakeIconFile()) &&
                    WriteFile(folder + "/splash.png", MakeSplashFile()) &&
                    WriteFile(folder + "/noise.png", MakeNoiseFile());
    if (!ok)
        std::fprintf(stderr, "assetgen: could not write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
