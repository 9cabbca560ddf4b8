// The base of the brushes that work around a centre point of the picture.
#pragma once

#include "scene/brushes/DS_FX_Constructor.h"

#include <d3dx9math.h>

class DS_CentralBased : public DS_FX_Constructor {
public:
    DS_CentralBased& operator=(const DS_CentralBased&) = delete;
    ~DS_CentralBased() override;

    void Write(ArchiveHandle& archive) override;

    // The "DS_CentralBased" record (header, centre) and the brush base. The
    // stored centre is the brush's from then on.
    void ReadCentralBase(ArchiveHandle& archive);

    // A brush made before any picture was placed had no picture to take its
    // default centre from: it takes the middle of the picture of width ×
    // height once there is one, unless its centre was set meanwhile.
    void SettleDefaultCentre(int width, int height);

    // In picture pixels.
    MediaParamT<D3DXVECTOR3> centre;
    // True while the centre is the stand-in of a brush made without a
    // picture.
    bool centreAwaitsPicture = false;

protected:
    // The middle of the current picture (the picture mapping).
    DS_CentralBased();
    DS_CentralBased(const DS_CentralBased& other);
};
