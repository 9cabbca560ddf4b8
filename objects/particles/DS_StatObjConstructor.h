// Static objects: a picture placed by hand at a point of the picture, turned
// by an angle, with the pixel rectangle around it kept for placing and
// picking. Every sprite of the system (normally one) lands on the same spot.
//
// The flower sways its sprite about the bottom centre like a flower in the
// wind; the discharge shows a strip of frames and jumps to a random other
// frame at every switch, a flickering discharge.
#pragma once

#include "foundation/params/MediaParam.h"
#include "foundation/render/MediaRectangle.h"
#include "objects/particles/DS_ParticleSystemCtrl.h"

#include <windows.h>
#include <d3dx9math.h>

class DS_StatObjConstructor : public DS_ParticleSystemCtrl {
public:
    // The sprite defaults, a rectangle of zeros, no turn.
    DS_StatObjConstructor();
    DS_StatObjConstructor(const DS_StatObjConstructor& other) = default;
    ~DS_StatObjConstructor() override = default;

    // "DS_StatObjConstructor", version 2: the rectangle and the rotation,
    // then the sprite record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The record after its header: the rectangle and the rotation stored
    // quietly, before version 2 the two flip flags, then the sprite record.
    void Read(ArchiveHandle& archive, int32_t version);

    // A sprite-array object marked as a static object. A constructor whose
    // flag is clear is first put at the picture's centre.
    DS_ABObj* CreateObject() override;

    // The pixel rectangle's corners in strip order.
    ScreenQuad* GetScreenQuad(ScreenQuad& out) override;
    // Whether the point lies on the pixel rectangle.
    bool HitTest(float x, float y) override;

    void InitParticle(ParticleItem& particle) override;

    // Puts the sprite at the point, turned by the rotation, and the
    // rectangle around the turned sprite.
    void PlaceSprite(ParticleItem& particle);

    // Left, right, top, bottom of the turned sprite and its centre, picture
    // pixels.
    MediaRectangle rectangle;
    // Degrees; the picture turns counter-clockwise as seen on screen.
    MediaParamT<unsigned int> rotation{0u};
    // About z by -rotation, from the last placement.
    D3DXMATRIX rotationMatrix;
};
