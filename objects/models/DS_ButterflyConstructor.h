// Butterflies: a body mesh with its skin and two wings sharing the wing
// mesh and picture, each butterfly flying its own course through the view.
#pragma once

#include "foundation/params/UINTSclaleTo.h"
#include "objects/models/DS_3D_Obj_Ctrl.h"

class DS_ButterflyConstructor : public DS_3D_Obj_Ctrl {
public:
    // The body picture and mesh of "common_res.dll" (6 and 68), the wing mesh
    // (69) as the inherited mesh, size 100. The wing picture stays empty:
    // documents supply it.
    DS_ButterflyConstructor();
    DS_ButterflyConstructor(const DS_ButterflyConstructor& other);
    ~DS_ButterflyConstructor() override;

    // "DS_ButterflyConstructor", version 2, then the base record.
    void Write(ArchiveHandle& archive) override;
    // Version 1 has no wing scale and keeps 1.0.
    void Read(ArchiveHandle& archive, int32_t version);

    // Mesh part 0 the body, mesh part 1 the wings (two-sided).
    void BuildMeshParts(std::vector<MeshPart>& parts) override;
    // A root with the flight and two wing frames with its wing animations.
    DS_Frame* CreateInstance() override;
    DS_3D_Obj_Ctrl* Clone() override;

    DS_ImageFileLink bodyTexture;
    DS_MeshFile bodyMesh;
    // Kept with the record and copied; nothing in the player reads them.
    UINTSclaleTo<float> reservedFirst;
    UINTSclaleTo<float> reservedSecond;
    float wingScale = 1.0f;
};
