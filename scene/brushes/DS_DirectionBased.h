// The base of the brushes that move the masked area along a direction: an
// amplitude and an angle, and the direction the angle gives, kept up to date
// by a binder on the angle.
#pragma once

#include "foundation/params/MediaControlList.h"
#include "scene/brushes/DS_FX_Constructor.h"

#include <cstdint>

class DS_DirectionBased : public DS_FX_Constructor {
public:
    DS_DirectionBased& operator=(const DS_DirectionBased&) = delete;
    // The binders go first, leaving the angle's listeners.
    ~DS_DirectionBased() override;

    void Write(ArchiveHandle& archive) override;

    // (cos a, sin a, 0, 0) with a = 360° - angle: the angle turns the
    // direction anticlockwise on the screen, whose y runs down.
    void UpdateDirection();

    // The "DS_DirectionBased" record (header, fields) and the brush base.
    void ReadDirectionBase(ArchiveHandle& archive);

    // Each brush sets its own scale and value.
    UINTSclaleTo<float> amplitude;
    // Degrees, read as a signed number.
    MediaParamT<unsigned int> angle;
    float direction[4] = {};
    // Destroyed first (declared last): its binder calls UpdateDirection when
    // the angle changes.
    MediaControlList binders;

protected:
    // Amplitude 0, angle 0; the binder on the angle, then the direction.
    DS_DirectionBased();
    // Values; a binder of its own on its own angle, then the direction.
    DS_DirectionBased(const DS_DirectionBased& other);

private:
    void BindAngle();
};
