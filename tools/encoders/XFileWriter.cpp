#include "tools/encoders/XFileWriter.h"

#include <cstdio>

namespace {

void Append(std::string& out, const char* text) { out += text; }

std::string Number(double value)
{
    // Avoids "-0.000000" for values that round to zero from below.
    if (value > -0.0000005 && value < 0.0000005)
        value = 0.0;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    return buffer;
}

// ";," between entries, ";;" after the last.
const char* Separator(std::size_t index, std::size_t count) { return index + 1 < count ? ";,\n" : ";;\n"; }

} // namespace

Bytes EncodeXFile(const MeshData& mesh, const std::string& name)
{
    std::string out = "xof 0303txt 0032\n\nMesh " + name + " {\n";
    const std::size_t vertices = mesh.vertices.size();
    out += " " + std::to_string(vertices) + ";\n";
    for (std::size_t i = 0; i < vertices; ++i) {
        const MeshVertex& v = mesh.vertices[i];
        out += " " + Number(v.x) + ";" + Number(v.y) + ";" + Number(v.z);
        Append(out, Separator(i, vertices));
    }
    const std::size_t faces = mesh.triangles.size();
    out += " " + std::to_string(faces) + ";\n";
    for (std::size_t i = 0; i < faces; ++i) {
        const auto& t = mesh.triangles[i];
        out += " 3;" + std::to_string(t[0]) + "," + std::to_string(t[1]) + "," + std::to_string(t[2]);
        Append(out, Separator(i, faces));
    }
    out += "\n MeshTextureCoords {\n  " + std::to_string(vertices) + ";\n";
    for (std::size_t i = 0; i < vertices; ++i) {
        const MeshVertex& v = mesh.vertices[i];
        out += "  " + Number(v.u) + ";" + Number(v.v);
        Append(out, Separator(i, vertices));
    }
    out += " }\n}\n";
    return Bytes(out.begin(), out.end());
}
