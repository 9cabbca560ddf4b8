// Indexed meshes with a texture: TexturedMesh<V> (a 3D sprite's mesh over
// DX_V::PNT, a quad-batch chunk over DX_V::SPCT) and MeshPart, a textured
// mesh with the frames it is drawn at.
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"

#include <d3d9.h>

template <class V>
class TexturedMesh : public DS_IndexedMesh<V> {
public:
    ComHolder<IDirect3DTexture9> texture;
    // Drawn alpha-blended with both windings.
    bool twoSided = false;
};

class MeshPart : public TexturedMesh<DX_V::PNT> {
public:
    // Where the part is drawn; the frames belong to their trees.
    DS_Frame::FrameList instances;
};
