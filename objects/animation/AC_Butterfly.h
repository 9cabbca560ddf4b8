// A butterfly's flight: it flaps or glides, banks into its turns, climbs and
// sinks, bobs against its wing beat, steers back toward its constructor's
// view whenever it strays out, and now and then picks a manoeuvre of its own.
// It drives the two wing animations it made.
//
// The butterfly's world is scale × bob × bank × tilt × [slow pitch] ×
// heading × local × translation(position); each wing's is its local × wing
// matrix × the butterfly's world. Heading 0 flies toward larger x; the body
// mesh's head points along +z, which the frame's local turns onto x.
#pragma once

#include "foundation/geometry/DS_AnimationBase.h"
#include "foundation/params/MediaControlList.h"
#include "foundation/params/MediaParam.h"
#include "objects/animation/SmoothedValue.h"

#include <windows.h>
#include <d3dx9math.h>

#include <cstdint>
#include <memory>

class AC_ButterflyWing;
class DS_ViewObjCtrl;

class AC_Butterfly : public DS_AnimationBase {
public:
    enum Mode : int32_t { Flapping = 0, Gliding = 1 };

    // Two random draws place the butterfly in the view (x first), a third
    // gives its heading. The size binder sets the scale at once.
    AC_Butterfly(const DS_ViewObjCtrl* view, MediaParamT<unsigned int>& size);
    // Wings not yet handed to frames go with the butterfly.
    ~AC_Butterfly() override;
    AC_Butterfly(const AC_Butterfly&) = delete;
    AC_Butterfly& operator=(const AC_Butterfly&) = delete;

    // Hands the wing animations to the two wing frames, which own them from
    // then on; the butterfly keeps driving them.
    void AttachWings(DS_Frame& first, DS_Frame& second);

    // One step of the flight by the constructor's view step.
    void Animate(DS_Frame& frame) override;

    // The scale matrix := size / 100 on all three axes.
    void OnScaleChanged(unsigned int size);

    // The view whose region, step and clock the flight follows.
    const DS_ViewObjCtrl* view;
    AC_ButterflyWing* wing1;
    AC_ButterflyWing* wing2;
    // Degrees: negative raises the wings (up the screen), positive lowers them.
    float flapAngle = 0.0f;
    float flapSpeed = 100.0f;
    float flapMaximum = 55.0f;
    float flapMinimum = -55.0f;
    // Picture pixels; z stays 0.
    D3DXVECTOR3 position;
    // Pixels per second down the screen (negative climbs).
    SmoothedValue climb{50.0f, 50.0f, 250.0f};
    // Degrees about the vertical axis.
    SmoothedValue heading;
    // Degrees about the body's axis.
    SmoothedValue bank{0.0f, 0.0f, 50.0f};
    // Pixels per second along the heading.
    SmoothedValue speed{50.0f, 50.0f, 350.0f};
    D3DXMATRIX tilt;
    D3DXMATRIX mirror;
    D3DXMATRIX scale;
    int32_t currentMode = Flapping;
    int32_t requestedMode = Flapping;
    // View clock of the last manoeuvre considered.
    float lastManoeuvre = 0.0f;
    MediaControlList binders;

private:
    void Steer();
    void Manoeuvre();

    // The wings until AttachWings hands them over.
    std::unique_ptr<AC_ButterflyWing> ownedWings[2];
};
