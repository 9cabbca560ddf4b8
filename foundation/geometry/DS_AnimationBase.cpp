#include "foundation/geometry/DS_AnimationBase.h"

DS_AnimationBase::~DS_AnimationBase() = default;

void DS_AnimationBase::SetTime(float t)
{
    time = t;
}
