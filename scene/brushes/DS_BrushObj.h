// The runtime object of an effect brush in a slide: it owns a clone of the
// brush, gives it its mask from the document's GUID textures, and updates and
// draws it.
#pragma once

#include "foundation/model/DS_ABObj.h"

class DS_FX_Constructor;

class DS_BrushObj : public DS_ABObj {
public:
    // Takes ownership of the clone and binds its effect and its mask (the
    // current document's GUID texture of the brush's mask identity; an empty
    // slot is made for a GUID the document has no texture for).
    explicit DS_BrushObj(DS_FX_Constructor* clone);

    void Render(DS_2D_Light& layer) override;
    void DrawHighlight(DS_2D_Light& layer, int style) override;
    void Update(float time) override;
    void OnViewChanged() override {}
    // True when the brush reads the scene drawn before it; a brush that has
    // no effect, or one (the fire) whose drawing never reads it, leaves the
    // layer's scene where it is.
    bool NeedsBackground() override;
    // After a reset the device is asked again for the brush's technique.
    void OnDeviceRestored() override;
    // False when the brush has nothing to draw on the layer (no effect, no
    // picture, a pattern without frames).
    bool WillDraw(DS_2D_Light& layer) override;

    DS_FX_Constructor* Brush() const { return brush; }

private:
    DS_FX_Constructor* brush;
};
