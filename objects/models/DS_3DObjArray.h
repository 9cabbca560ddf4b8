// The runtime object of a 3D object constructor: its instances, each a tree
// of frames whose animations move it, and the two mesh parts drawn at those
// frames.
#pragma once

#include "foundation/geometry/DS_Frame.h"
#include "foundation/geometry/TexturedMesh.h"
#include "foundation/model/DS_ABObj.h"
#include "foundation/params/MediaControlList.h"

#include <list>
#include <vector>

class DS_3D_Obj_Ctrl;

class DS_3DObjArray : public DS_ABObj {
public:
    // A document may ask for any number of instances; no more than this are
    // made (each is a tree of frames drawn every frame).
    static constexpr unsigned int MaxInstances = 1000;

    // Takes ownership of the clone, builds the parts and as many instances as
    // its count asks for.
    explicit DS_3DObjArray(DS_3D_Obj_Ctrl* ownedClone);
    ~DS_3DObjArray() override;

    // Each part in order at all its frames; a part without its mesh or its
    // texture is skipped.
    void Render(DS_2D_Light& layer) override;
    // An editing aid: a dark quad over the object's region.
    void DrawHighlight(DS_2D_Light& layer, int style) override;
    // The clone's view clock, then every instance's tree.
    void Update(float time) override;
    void OnViewChanged() override {}
    bool HitTest(float x, float y) override;

    // Adds instances at the back or removes the oldest until there are n
    // (at most MaxInstances), then links them all to the parts again.
    void OnCountChanged(unsigned int n);

    DS_3D_Obj_Ctrl* objectCtrl;
    std::list<DS_Frame*> instances;
    std::vector<MeshPart> parts;
    MediaControlList binders;
};
