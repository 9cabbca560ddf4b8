// A clock's placement: its face scaled to the constructor's size and moved to
// the centre of its rectangle. A size change also resizes the rectangle
// around the centre, so the rectangle always frames the face.
#pragma once

#include "foundation/geometry/DS_AnimationBase.h"
#include "foundation/params/MediaControlList.h"
#include "foundation/params/MediaParam.h"

#include <windows.h>
#include <d3dx9math.h>

class MediaRectangle;

class AC_Static : public DS_AnimationBase {
public:
    // Binds to the constructor's size (applied at once) and rectangle
    // (applied at its next change).
    AC_Static(MediaParamT<unsigned int>& size, MediaRectangle& rectangle);
    AC_Static(const AC_Static&) = delete;
    AC_Static& operator=(const AC_Static&) = delete;

    // world := scale × local × translation.
    void Animate(DS_Frame& frame) override;

    // The rectangle's edges := the centre ± size / 2, kept quietly; the scale
    // := size.
    void OnSizeChanged(unsigned int size);
    // The edges from the current size, and the translation to the centre.
    void OnRectChanged();

    // The clock's size and rectangle, which the placement follows.
    MediaParamT<unsigned int>* clockSize;
    MediaRectangle* clockRectangle;
    MediaControlList binders;
    D3DXMATRIX scale;
    D3DXMATRIX translation;

private:
    void FrameCentre(unsigned int size);
};
