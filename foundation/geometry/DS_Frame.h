// A transform node: the base of every mesh class. A frame owns its
// animation but not its children; whoever builds a tree of frames deletes it
// with DestroyFrameTree.
#pragma once

#include <windows.h>
#include <d3dx9math.h>

#include <list>

class DS_AnimationBase;

class DS_Frame {
public:
    using FrameList = std::list<DS_Frame*>;

    DS_Frame();
    // An animation has exactly one owner, so copies never take it over: a copy
    // starts without one and an assigned frame keeps its own. Everything else
    // (sphere, matrices, winding, the child pointers) is copied.
    DS_Frame(const DS_Frame& other);
    DS_Frame& operator=(const DS_Frame& other);
    // Deletes the animation; the child frames stay.
    ~DS_Frame();

    // world := the animation's result (or local), then × *parent when given;
    // the children follow with this frame's world as their parent.
    void UpdateFrameTree(const D3DXMATRIX* parent);

    float boundingRadius = 0.0f;
    D3DXVECTOR3 boundingCentre;
    D3DXMATRIX world;
    D3DXMATRIX local;
    DS_AnimationBase* animation = nullptr;
    // Front faces wind clockwise: drawing then culls counter-clockwise faces.
    bool clockwiseFront = true;
    FrameList children;
};

// Deletes every child frame in [first, last) that is set (with its
// animation; its own children are not touched) and clears its entry.
void DeleteChildFrames(DS_Frame::FrameList::iterator first, DS_Frame::FrameList::iterator last);

// Deletes a frame that owns its children: the children, then the frame.
// Grandchildren belong to someone else and stay.
void DestroyFrameTree(DS_Frame* frame);
