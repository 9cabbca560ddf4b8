#include "objects/models/DS_3DObjArray.h"

#include "foundation/render/ColouredQuads.h"
#include "foundation/core/CurrentDevice.h"
#include "objects/models/DS_3D_Obj_Ctrl.h"
#include "objects/models/MeshDrawStates.h"
#include "scene/layerbase/DS_2D_Light.h"

#include <algorithm>

namespace {

constexpr D3DCOLOR HighlightColour = 0x88000000;

} // namespace

DS_3DObjArray::DS_3DObjArray(DS_3D_Obj_Ctrl* ownedClone) : DS_ABObj(ownedClone), objectCtrl(ownedClone)
{
    objectCtrl->BuildMeshParts(parts);
    binders.SetOwner(this, false);
    BindParamCallback(binders, objectCtrl->count, &DS_3DObjArray::OnCountChanged, this);
}

// The trees go first: their animations hold binders on the clone. The count
// binder, the parts and the clone follow as members and base unwind.
DS_3DObjArray::~DS_3DObjArray()
{
    for (DS_Frame* root : instances)
        DestroyFrameTree(root);
    instances.clear();
}

void DS_3DObjArray::OnCountChanged(unsigned int n)
{
    const std::size_t wanted = std::min(n, MaxInstances);
    while (instances.size() < wanted)
        instances.push_back(objectCtrl->CreateInstance());
    while (instances.size() > wanted) {
        DS_Frame* oldest = instances.front();
        instances.pop_front();
        DestroyFrameTree(oldest);
    }
    objectCtrl->LinkInstances(instances, parts);
}

void DS_3DObjArray::Update(float time)
{
    objectCtrl->StepViewTime(time);
    for (DS_Frame* root : instances)
        root->UpdateFrameTree(nullptr);
}

void DS_3DObjArray::Render(DS_2D_Light& layer)
{
    // The body is drawn before the wings, and hides the parts of them that
    // lie behind it by depth; the blended (two-sided) parts do not write
    // depth, so the clear texels around a wing never hide another.
    const bool depth = ClearDepthForObject();
    for (const MeshPart& part : parts) {
        if (part.instances.empty() || !IsDrawable(part))
            continue;
        SetMeshDrawStates();
        if (depth)
            SetMeshDepthStates(!part.twoSided);
        layer.DrawMeshPart(part);
    }
    if (depth && CurrentDevice) {
        CurrentDevice->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        CurrentDevice->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    }
}

void DS_3DObjArray::DrawHighlight(DS_2D_Light& layer, int style)
{
    ScreenQuad quad;
    objectCtrl->GetScreenQuad(quad);
    DS_SimpleMesh<DX_V::SPC> mesh;
    SetQuadSPC(mesh, HighlightColour, quad);
    layer.DrawHighlight(mesh, objectCtrl->GetMarkerStyle(), style != 0);
}

bool DS_3DObjArray::HitTest(float x, float y) { return objectCtrl->HitTest(x, y); }
