#include "objects/animation/AC_Static.h"

#include "foundation/geometry/DS_Frame.h"
#include "foundation/render/MediaRectangle.h"

namespace {

// The edge's value without telling anyone but its own undo copy.
void StoreQuietly(MediaParamT<int>& edge, int value)
{
    edge.value = value;
    edge.undo.Snapshot();
}

} // namespace

AC_Static::AC_Static(MediaParamT<unsigned int>& size, MediaRectangle& rectangle)
    : clockSize(&size), clockRectangle(&rectangle)
{
    D3DXMatrixIdentity(&scale);
    binders.SetOwner(this, false);
    BindParamCallback(binders, size, &AC_Static::OnSizeChanged, this);
    BindParamCallback2(binders, rectangle, &AC_Static::OnRectChanged, this);
    const MediaRectangle& rect = rectangle;
    D3DXMatrixTranslation(&translation, static_cast<float>(rect.pointX.value), static_cast<float>(rect.pointY.value),
                          0.0f);
    const float s = static_cast<float>(size.value);
    D3DXMatrixScaling(&scale, s, s, s);
}

void AC_Static::Animate(DS_Frame& frame) { frame.world = scale * frame.local * translation; }

void AC_Static::FrameCentre(unsigned int size)
{
    MediaRectangle& rect = *clockRectangle;
    const int half = static_cast<int>(size / 2);
    StoreQuietly(rect.left, rect.pointX.value - half);
    StoreQuietly(rect.right, rect.pointX.value + half);
    StoreQuietly(rect.top, rect.pointY.value - half);
    StoreQuietly(rect.bottom, rect.pointY.value + half);
}

void AC_Static::OnSizeChanged(unsigned int size)
{
    FrameCentre(size);
    const float s = static_cast<float>(size);
    D3DXMatrixScaling(&scale, s, s, s);
}

void AC_Static::OnRectChanged()
{
    FrameCentre(clockSize->value);
    const MediaRectangle& rect = *clockRectangle;
    D3DXMatrixTranslation(&translation, static_cast<float>(rect.pointX.value), static_cast<float>(rect.pointY.value),
                          0.0f);
}
