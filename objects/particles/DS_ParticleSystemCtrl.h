// The common base of every particle controller: a sprite appearance placed on
// the picture, with a copy operation through which its runtime object takes
// its own clone. Each particle system says how its particles start and move.
#pragma once

#include "objects/particles/DS_BaseSpriteProp.h"

class DS_ParticleSystemCtrl : public DS_BaseSpriteProp {
public:
    ~DS_ParticleSystemCtrl() override = default;

    // A sprite-array object over a clone of this controller, after the
    // pictures of an old record have become links; none when it cannot be
    // made. The static-object and glowing systems make their own objects.
    DS_ABObj* CreateObject() override;

    // A new copy made by the class's copy constructor.
    virtual DS_ParticleSystemCtrl* Clone() const = 0;

protected:
    DS_ParticleSystemCtrl() = default;
    DS_ParticleSystemCtrl(const DS_ParticleSystemCtrl&) = default;

    // The sprite-array runtime object over a clone; none when either cannot
    // be made.
    DS_ABObj* CreateSpriteArrayObject();
};
