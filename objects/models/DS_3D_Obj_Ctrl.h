// The object constructor of textured 3D meshes over the picture (butterflies,
// a clock): a view with an instance count, a size, a texture link and a mesh
// link. Its runtime object, DS_3DObjArray, holds two mesh parts and one frame
// tree per instance; the concrete class decides what fills the parts, how an
// instance's tree and animations are built, and at which frames each part
// is drawn.
#pragma once

#include "foundation/geometry/DS_Frame.h"
#include "foundation/geometry/TexturedMesh.h"
#include "foundation/params/MediaParam.h"
#include "foundation/resources/DS_FileLink3.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "objects/base/DS_ViewObjCtrl.h"

#include <list>
#include <vector>

class DS_3D_Obj_Ctrl : public DS_ViewObjCtrl {
public:
    DS_3D_Obj_Ctrl(const DS_3D_Obj_Ctrl& other);
    DS_3D_Obj_Ctrl& operator=(const DS_3D_Obj_Ctrl&) = delete;
    ~DS_3D_Obj_Ctrl() override;

    // The "DS_3D_Obj_Ctrl" record (version 1) that ends each 3D object's
    // record.
    void Write(ArchiveHandle& archive) override;

    // A DS_3DObjArray on a clone of this constructor; the object owns the
    // clone.
    DS_ABObj* CreateObject() override;

    // Fills parts with exactly two mesh parts.
    virtual void BuildMeshParts(std::vector<MeshPart>& parts) = 0;
    // Sets the frames of the instances at which each part is drawn: each
    // instance's root in part 0 (a butterfly's body, a clock's face), the
    // root's children in part 1 (the wings, the hands).
    virtual void LinkInstances(std::list<DS_Frame*>& instances, std::vector<MeshPart>& parts);
    // A new instance tree with its animations; the caller owns it.
    virtual DS_Frame* CreateInstance() = 0;
    // How the editing highlight marks the object.
    virtual int GetMarkerStyle();
    virtual DS_3D_Obj_Ctrl* Clone() = 0;

    // The base record: header (name and version not looked at), count and
    // size stored quietly, both links, then the view record.
    void ReadBase(ArchiveHandle& archive);

    MediaParamT<unsigned int> count{1u};
    // Read by the animations: a butterfly's scale in percent, a clock's
    // diameter in pixels.
    MediaParamT<unsigned int> size{50u};
    DS_ImageFileLink texture;
    DS_MeshFile mesh;

protected:
    DS_3D_Obj_Ctrl();
};

// A mesh part from the current document's resources: the first texture of
// the picture link and the mesh of the mesh link, drawn as a triangle list.
// A missing texture or mesh leaves that slot empty.
void LoadMeshPart(const DS_ImageFileLink& texture, MeshPart& part, const DS_MeshFile& mesh);

// Whether the part has everything a draw needs: buffers, triangles and a
// texture.
bool IsDrawable(const MeshPart& part);
