// The object constructor of everything that occupies a region of the
// picture: particle systems and 3D objects. It keeps the region as fractions
// of the picture mirrored as whole pixels of the current picture, runs its own
// clock from the application time, and draws random points inside the region.
#pragma once

#include "foundation/model/DS_ABObj_Constructor.h"
#include "foundation/params/MediaControlList.h"
#include "foundation/params/MediaParam.h"
#include "foundation/render/MediaRectangle.h"
#include "foundation/render/ScreenQuad.h"

#include <windows.h>
#include <d3dx9math.h>

#include <cstdint>

class DS_ViewObjCtrl : public DS_ABObj_Constructor {
public:
    // The whole picture, speed 50; the region is snapped to the picture that
    // is current now.
    DS_ViewObjCtrl();
    // Takes the name, speed, flag and fractions; the pixel edges, the clock
    // and the binders start afresh, and the region is snapped to the picture
    // that is current now.
    DS_ViewObjCtrl(const DS_ViewObjCtrl& other);
    DS_ViewObjCtrl& operator=(const DS_ViewObjCtrl&) = delete;
    ~DS_ViewObjCtrl() override;

    // The "DS_ViewObjCtrl" record (version 2).
    void Write(ArchiveHandle& archive) override;

    // The region's corners in picture pixels, in strip order.
    virtual ScreenQuad* GetScreenQuad(ScreenQuad& out);
    // An editing aid: nothing here is hit.
    virtual bool HitTest(float x, float y);

    // The nested record as a whole: header (its name not compared), the
    // pixel rectangle, fractions, flag, from version 2 the speed, and the
    // constructor base record. Values are stored without telling anyone.
    void ReadBody(ArchiveHandle& archive);
    // Writes the nested record as version 2.
    void WriteBody(ArchiveHandle& archive);

    // Pixel edges := fractions × the picture's size, truncated; each edge
    // that changes snaps its fraction to the whole pixel.
    void SyncPixelRect();
    // The pixel edges follow the fractions and the fractions follow the pixel
    // edges from here on.
    void BindPixelRect();

    // Binder targets: a fraction := px / picture size. While no picture size
    // is known the fraction stays as it is.
    void SetLeftPixels(int px);
    void SetRightPixels(int px);
    void SetTopPixels(int px);
    void SetBottomPixels(int px);

    // The region's edges in picture pixels.
    float GetPixelLeft() const;
    float GetPixelRight() const;
    float GetPixelTop() const;
    float GetPixelBottom() const;

    // One clock step from the application time t: the time since the last
    // step (either way round), at most 0.2 s, times speed × 0.02.
    void StepViewTime(float t);

    // A random point of the region, x drawn before y; z is 0.
    D3DXVECTOR3 RandomPointInView() const;
    // The same inside the region shrunk by half extents (a particle's).
    D3DXVECTOR3 RandomPointInViewInset(float halfWidth, float halfHeight) const;

    MediaRectangle pixelRect;
    MediaParamT<unsigned int> speed{50u};
    // Kept with the record and copied; nothing in the player reads it.
    bool viewFlag = false;
    float left = 0.0f;
    float right = 1.0f;
    float top = 0.0f;
    float bottom = 1.0f;
    // The last clock step and the clock (both scaled by the speed).
    float step = 0.0f;
    float clock = 0.0f;
    MediaControlList binders;
    // The application time of the last clock step.
    float last = 0.0f;
};
