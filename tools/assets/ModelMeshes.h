// The meshes the project makes itself: the butterfly's body and wing and
// the clock's plate, which the program carries under the numbers documents
// name them by, and the leaf and petal of the demo's 3D sprites.
//
// Picture space has x to the right, y down the screen and z away from the
// viewer, and nothing mirrors it on the way there, so a face is drawn as a
// front face when its winding, seen by the viewer, is clockwise: for every
// triangle (a, b, c) the cross product (b - a) × (c - a) points into a
// closed mesh, away from the side meant to be seen.
#pragma once

#include "tools/encoders/XFileWriter.h"

#include <cstdint>
#include <vector>

// The butterfly's body, a closed surface of revolution about the z axis:
// head toward +z (up to z = 40), tail at z = -48, antennae rising toward -y,
// the back. Texture u runs around the body (0.75 along the back), v from
// the head (0) to the tail (1).
MeshData ButterflyBodyMesh();
// One wing: a flat quad in the x-z plane, hinged along the z axis, x from 0
// to 60 and z from -40 (tail) to 40 (head). u runs from the hinge (0) to the
// tip (1), v from the head's edge (0) to the tail's (1): the picture shows
// the right wings from above, head up and body along its left edge.
MeshData ButterflyWingMesh();
// The clock's plate: a square in the x-z plane, 100 units across and centred,
// u = (x + 50) / 100 and v = (50 - z) / 100, so the picture stands upright
// once +z is turned to the top of the screen.
MeshData ClockPlateMesh();
// A leaf 100 units long along x (stem at -50), folded along its midrib and
// arched; u along the leaf, v across it.
MeshData LeafMesh();
// A cupped petal 60 units long along x (base at -30); u along, v across.
MeshData PetalMesh();

// A mesh the program embeds as its own "DDS" resource, under the number
// documents link it by, and the file name the build writes it to.
struct ProgramMesh {
    int32_t number;
    const char* fileName;
    MeshData (*make)();
};

const std::vector<ProgramMesh>& ProgramMeshes();

// The mesh's X file.
Bytes EncodeProgramMesh(const ProgramMesh& mesh);
