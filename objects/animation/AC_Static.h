// A clock's placement: its face scaled to the constructor's size and moved to
// the centre of its rectangle. A size change also resizes the rectangle
// around the centre, so the rectangle always frames the face.
#pragma once

#include "foundation/geometry/DS_AnimationBase.h"
#include "foundation/params/MediaControlList.h"

#include <windows.h>
#include <d3dx9math.h>

class DS_ClockConstructor;

class AC_Static : public DS_AnimationBase {
public:
    // Binds to the constructor's size (applied at once) and rectangle
    // (applied at its next change).
    explicit AC_Static(DS_ClockConstructor* constructor);
    AC_Static(const AC_Static&) = delete;
    AC_Static& operator=(const AC_Static&) = delete;

    // world := scale × local × translation.
    void Animate(DS_Frame& frame) override;

    // The rectangle's edges := the centre ± size / 2, kept quietly; the scale
    // := size.
    void OnSizeChanged(unsigned int size);
    // The edges from the current size, and the translation to the centre.
    void OnRectChanged();

    DS_ClockConstructor* constructor;
    MediaControlList binders;
    D3DXMATRIX scale;
    D3DXMATRIX translation;

private:
    void FrameCentre(unsigned int size);
};
