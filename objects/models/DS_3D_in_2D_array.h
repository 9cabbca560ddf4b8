// The runtime object of the 3D sprites: the mesh held once, with one child
// frame per sprite, each moved by its own drift and tumble.
#pragma once

#include "foundation/geometry/TexturedMesh.h"
#include "foundation/model/DS_ABObj.h"

class DS_3D_in_2D_array_Constructor;

class DS_3D_in_2D_array : public DS_ABObj {
public:
    // A document may ask for any number of sprites; no more than this are
    // made (each is a frame with its animation, drawn twice every frame).
    static constexpr unsigned int MaxSprites = 4000;

    // Takes ownership of the constructor copy, loads the mesh and its
    // picture and makes the sprites its count asks for.
    explicit DS_3D_in_2D_array(DS_3D_in_2D_array_Constructor* ownedCopy);
    ~DS_3D_in_2D_array() override;

    // Every sprite, both faces; nothing without a mesh, a picture or sprites.
    void Render(DS_2D_Light& layer) override;
    void DrawHighlight(DS_2D_Light&, int) override {}
    // Publishes the time for the sprites' animations, then moves them.
    void Update(float time) override;
    void OnViewChanged() override {}
    bool HitTest(float, float) override { return false; }

    // The mesh's picture and geometry from the constructor's records.
    void LoadMesh();
    // Adds sprites at the back or deletes the oldest until there are as many
    // as the count asks for (at most MaxSprites). Each new sprite is centred
    // on the mesh's bounding sphere.
    void SyncCount();

    DS_3D_in_2D_array_Constructor* settings;
    TexturedMesh<DX_V::PNT> mesh;
};
