// Writes the demo scene document that the program embeds (normally
// res/scene.dds):
//   demodoc <file>
#include "tools/demodoc/DemoDocument.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: demodoc <file>\n");
        return 2;
    }
    const DocumentBuilder::Bytes document = BuildDemoDocument();
    FILE* f = std::fopen(argv[1], "wb");
    bool ok = f != nullptr;
    if (f) {
        ok = std::fwrite(document.data(), 1, document.size(), f) == document.size();
        ok = std::fclose(f) == 0 && ok;
    }
    if (!ok)
        std::fprintf(stderr, "demodoc: could not write %s\n", argv[1]);
    return ok ? 0 : 1;
}
