// The runtime object of a sound of a slide: it owns the clone of its
// controller, which it loads when made, starts when the slide becomes
// current, ticks every frame of that slide and stops when the slide is left.
// It is never drawn.
#pragma once

#include "foundation/model/DS_ABObj.h"
#include "objects/sound/DS_Sound_Ctrl.h"

class DS_Sound : public DS_ABObj {
public:
    // Takes ownership of the clone and loads it.
    explicit DS_Sound(DS_Sound_Ctrl* ownedClone);

    void Render(DS_2D_Light&) override {}
    void DrawHighlight(DS_2D_Light&, int) override {}
    // The controller's tick, while enabled.
    void Update(float time) override;
    void OnViewChanged() override {}
    // Entering the slide starts the sound: a looping one from the start, one
    // that plays at random intervals at the slide's first tick. Leaving it
    // stops the sound.
    void SetActive(bool active) override;
    // Plays the sound once from the start.
    void Trigger(int) override;

    // The clone the base owns, seen as the sound's controller.
    DS_Sound_Ctrl* controller;
    bool enabled = true;
};
