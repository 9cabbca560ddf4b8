// Writes the demo scene document that the program embeds; the build runs it
// with the folder of the compiled effects, of which the document carries
// copies:
//   demodoc <file> <effects folder>
#include "tools/demodoc/DemoDocument.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: demodoc <file> <effects folder>\n");
        return 2;
    }
    DocumentBuilder::Bytes document;
    try {
        document = BuildDemoDocument(argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demodoc: %s\n", error.what());
        return 1;
    }
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
