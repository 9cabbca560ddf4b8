// The animation a frame may carry: each update it writes the frame's world
// matrix. The frame that holds an animation owns it and deletes it.
#pragma once

class DS_Frame;

class DS_AnimationBase {
public:
    DS_AnimationBase() = default;
    virtual ~DS_AnimationBase();

    // Writes frame.world for the current time.
    virtual void Animate(DS_Frame& frame) = 0;
    virtual void SetTime(float t);

    float time = 0.0f;
};
