// A flow of particles drifting along one angle across the picture (snow,
// leaves, bubbles), each wandering sideways now and then, with a rule at
// each edge of the view for the particles that reach it.
#pragma once

#include "foundation/params/MediaControlList.h"
#include "foundation/params/MediaFloat.h"
#include "foundation/params/MediaParam.h"
#include "objects/particles/DS_BoundControl.h"
#include "objects/particles/DS_ParticleSystemCtrl.h"

#include <windows.h>
#include <d3dx9math.h>

#include <cstdint>

class DS_FlowConstructor : public DS_ParticleSystemCtrl {
public:
    enum Orientation : int {
        Upright = 0,
        AlongFlow = 1,
        // Mirrored left to right while moving left.
        MirroredLeft = 2,
        // Upside down while moving up.
        UpsideDownUp = 3,
    };

    // Angle 0, no drift, strength 0, upright; the flow vectors follow the
    // angle and the four edges are bound to this flow.
    DS_FlowConstructor();
    // Every value; the drift results, the flow vectors and the edges' tests
    // are made anew for the copy.
    DS_FlowConstructor(const DS_FlowConstructor& other);
    ~DS_FlowConstructor() override;

    // "DS_FlowConstructor", version 4, then the sprite record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The record after its header, as its version holds it.
    void Read(ArchiveHandle& archive, int32_t version);

    void InitParticle(ParticleItem& particle) override;
    void UpdateParticle(ParticleItem& particle) override;

    // The angle's binder target: the rotation, flow vector and cross vector.
    void OnAngleChanged(unsigned int newAngle);
    // Half extents, colour and the axes that the orientation mode gives.
    void SetupFlowSprite(ParticleItem& particle);

    // Degrees counter-clockwise on the screen from +x (90 up, 270 down).
    MediaParamT<unsigned int> angle{0u};
    // Sideways speed at drift factor 1: 3 × value pixels per step unit.
    MediaFloat<unsigned int> driftSpeed;
    // How often a particle considers a new drift: 0.25 × value per clock unit.
    MediaFloat<unsigned int> driftChangeRate;
    // Pixels per step unit along the flow.
    float strength = 0.0f;
    MediaParamT<int> orientationMode{Upright};
    // Top, bottom, left, right.
    DS_BoundControl edges[4];
    MediaControlList flowBinders;
    D3DXVECTOR4 flowVector;
    D3DXVECTOR4 crossVector;
    // About z by (360 - angle) degrees.
    D3DXMATRIX rotation;

private:
    void BindFlow();
};
