// An analogue clock showing the local time: a face and two hands, all drawn
// on one flat plate mesh, centred in a rectangle of picture pixels that the
// clock's size keeps around its centre.
#pragma once

#include "foundation/params/MediaControlList.h"
#include "foundation/render/MediaRectangle.h"
#include "objects/models/DS_3D_Obj_Ctrl.h"

class DS_ClockConstructor : public DS_3D_Obj_Ctrl {
public:
    // The plate mesh (70), face (71) and hands (72) of "common_res.dll",
    // size 400, centred on the current picture.
    DS_ClockConstructor();
    // Takes the rectangle, the hands link and the links and sizes of the
    // base; the copy binds its own face link and has no parts yet.
    DS_ClockConstructor(const DS_ClockConstructor& other);
    ~DS_ClockConstructor() override;

    // "DS_ClockConstructor", version 1, then the base record.
    void Write(ArchiveHandle& archive) override;
    // Every version reads the same.
    void Read(ArchiveHandle& archive, int32_t version);

    // The rectangle's corners in picture pixels, in strip order.
    ScreenQuad* GetScreenQuad(ScreenQuad& out) override;
    bool HitTest(float x, float y) override;

    // Mesh part 0 the face, mesh part 1 the hands, both on the plate mesh, both
    // two-sided; the parts are remembered for later face changes.
    void BuildMeshParts(std::vector<MeshPart>& parts) override;
    // A root placed by AC_Static with the hour and minute hands.
    DS_Frame* CreateInstance() override;
    int GetMarkerStyle() override;
    DS_3D_Obj_Ctrl* Clone() override;

    // The face link changed: the face part takes the new picture.
    void OnImageChanged();

    // Left, right, top, bottom, and the clock's centre as the point.
    MediaRectangle rectangle;
    DS_ImageFileLink handsTexture;
    // The parts BuildMeshParts last filled; they belong to the runtime object.
    std::vector<MeshPart>* parts = nullptr;
    MediaControlList binders;

private:
    void BindFace();
};
