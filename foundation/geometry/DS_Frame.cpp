#include "foundation/geometry/DS_Frame.h"

#include "foundation/geometry/DS_AnimationBase.h"

DS_Frame::DS_Frame() : boundingCentre(0.0f, 0.0f, 0.0f)
{
    D3DXMatrixIdentity(&world);
    D3DXMatrixIdentity(&local);
}

DS_Frame::DS_Frame(const DS_Frame& other)
    : boundingRadius(other.boundingRadius),
      boundingCentre(other.boundingCentre),
      world(other.world),
      local(other.local),
      animation(nullptr),
      clockwiseFront(other.clockwiseFront),
      children(other.children)
{
}

DS_Frame& DS_Frame::operator=(const DS_Frame& other)
{
    if (this == &other)
        return *this;
    boundingRadius = other.boundingRadius;
    boundingCentre = other.boundingCentre;
    world = other.world;
    local = other.local;
    clockwiseFront = other.clockwiseFront;
    children = other.children;
    return *this;
}

DS_Frame::~DS_Frame()
{
    delete animation;
}

void DS_Frame::UpdateFrameTree(const D3DXMATRIX* parent)
{
    if (animation)
        animation->Animate(*this);
    else
        world = local;
    if (parent)
        D3DXMatrixMultiply(&world, &world, parent);
    for (DS_Frame* child : children)
        if (child)
            child->UpdateFrameTree(&world);
}

void DeleteChildFrames(DS_Frame::FrameList::iterator first, DS_Frame::FrameList::iterator last)
{
    for (auto it = first; it != last; ++it) {
        delete *it;
        *it = nullptr;
    }
}

void DestroyFrameTree(DS_Frame* frame)
{
    if (!frame)
        return;
    DeleteChildFrames(frame->children.begin(), frame->children.end());
    delete frame;
}
