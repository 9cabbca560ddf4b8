// Writes the meshes the program embeds as X files into a folder:
//   meshgen <folder>
#include "tools/assets/ModelMeshes.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: meshgen <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const ProgramMesh& mesh : ProgramMeshes()) {
        const std::string path = folder + "/" + mesh.fileName;
        const Bytes bytes = EncodeProgramMesh(mesh);
        FILE* f = std::fopen(path.c_str(), "wb");
        const bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        if (f && std::fclose(f) != 0)
            return 1;
        if (!ok) {
            std::fprintf(stderr, "meshgen: could not write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
