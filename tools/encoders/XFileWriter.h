// Text X files of the meshes the project makes itself: positions, texture
// coordinates and triangles, the form in which the program loads meshes.
#pragma once

#include "tools/encoders/ImageWriters.h"

#include <array>
#include <string>
#include <vector>

struct MeshVertex {
    double x, y, z;
    double u, v;
};

// Triangles index the vertices; their winding is kept as given.
struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<std::array<int, 3>> triangles;
};

// "xof 0303txt 0032" with one named Mesh and its MeshTextureCoords; numbers
// with six decimals, so the same mesh always gives the same bytes.
Bytes EncodeXFile(const MeshData& mesh, const std::string& name);
