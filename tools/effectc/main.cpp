// Compiles one effect source into the compiled effect that the program
// carries as a resource:
//   effectc <source> <output>
// An error names the source file and line, as compilers do, and leaves no
// output behind.
#include "tools/effects/EffectCompiler.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: effectc <source> <output>\n");
        return 2;
    }
    const std::string source = argv[1];
    const std::string output = argv[2];
    std::string text;
    if (!ReadText(source, text)) {
        std::fprintf(stderr, "%s: error: cannot read the file\n", source.c_str());
        return 1;
    }
    try {
        const std::vector<uint8_t> effect = CompileEffectSource(text);
        if (!WriteBytes(output, effect)) {
            std::remove(output.c_str());
            std::fprintf(stderr, "%s: error: cannot write the file\n", output.c_str());
            return 1;
        }
    } catch (const EffectSourceError& error) {
        std::remove(output.c_str());
        std::fprintf(stderr, "%s(%d): error: %s\n", source.c_str(), error.Line(), error.Message().c_str());
        return 1;
    } catch (const std::exception& error) {
        std::remove(output.c_str());
        std::fprintf(stderr, "%s: error: %s\n", source.c_str(), error.what());
        return 1;
    }
    return 0;
}
