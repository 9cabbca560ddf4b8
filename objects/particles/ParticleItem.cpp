#include "objects/particles/ParticleItem.h"

#include "foundation/core/Numeric.h"
#include "foundation/core/Random.h"
#include "objects/particles/DS_BaseSpriteProp.h"

#include <cmath>
#include <cstring>

namespace {

// The first particle of a system appears here until its controller places it.
constexpr float StartX = 100.0f;
constexpr float StartY = 100.0f;

} // namespace

ParticleItem::ParticleItem()
{
    // A plain record: every field, the vectors and matrix included, is zero.
    std::memset(static_cast<void*>(this), 0, sizeof *this);
    D3DXMatrixIdentity(&spin);
    edgeState = NoEdge;
}

void InitParticleItem(ParticleItem& item, DS_BaseSpriteProp& controller)
{
    InitParticleItem(item, controller, controller.MainImageAspect());
}

void InitParticleItem(ParticleItem& item, DS_BaseSpriteProp& controller, float imageAspect)
{
    item.sign = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    item.velocity = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    item.sizeFactor = 0.0f;
    item.vRange[0] = item.vRange[1] = 0.0f;
    item.uRange[0] = item.uRange[1] = 0.0f;

    item.aspect = imageAspect;
    // The frames of a grid lie side by side, each a slice of the width.
    if (controller.frameGrid)
        item.aspect *= static_cast<float>(controller.GridFrameCount());

    item.rightAxis = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
    item.upAxis = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    item.position = D3DXVECTOR3(StartX, StartY, 0.0f);

    item.sizeFactor = RandomRange(controller.sizeFactorMin, controller.sizeFactorMax);
    ApplyAspectRule(item, controller);

    item.vRange[0] = 0.0f;
    item.vRange[1] = 1.0f;
    item.uRange[0] = 0.0f;
    item.uRange[1] = 1.0f;
}

void ResetParticleItem(ParticleItem& item, DS_BaseSpriteProp& controller)
{
    item.resumeTime = 0.0f;
    item.timer = 0.0f;
    item.lastChange = 0.0f;
    item.reentry = 0;
    item.hidden = 0;
    item.phase = 1.0f;
    item.edgeState = NoEdge;
    item.phaseVelocity = (Rand() & 1) ? -controller.phaseSpeed : controller.phaseSpeed;
    UpdateParticleColor(controller, item);
}

void UpdateParticleColor(const DS_BaseSpriteProp& controller, ParticleItem& item)
{
    const float maximal = static_cast<float>(controller.MaximalAlpha());
    const uint32_t alpha = static_cast<uint32_t>(TruncateToInt32(maximal * item.phase)) & 0xFFu;
    const uint32_t colorref = static_cast<uint32_t>(controller.colour.value);
    const uint32_t red = colorref & 0xFFu;
    const uint32_t green = (colorref >> 8) & 0xFFu;
    const uint32_t blue = (colorref >> 16) & 0xFFu;
    item.colour = alpha << 24 | red << 16 | green << 8 | blue;
}

void ApplyAspectRule(ParticleItem& item, const DS_BaseSpriteProp& controller)
{
    const float half = item.sizeFactor * static_cast<float>(controller.baseSize.value) * 0.5f;
    // An aspect of 0 (a picture without height, a grid of no frames) takes
    // the first branch: a flat quad, never a division by zero.
    if (item.aspect < 1.0f) {
        item.halfWidth = half;
        item.halfHeight = half * item.aspect;
    } else {
        item.halfHeight = half;
        item.halfWidth = half / item.aspect;
    }
}

bool IsLeftOfView(const ParticleItem& item, const DS_ViewObjCtrl& controller)
{
    return controller.GetPixelLeft() > item.position.x + std::fabs(item.halfWidth);
}

bool IsRightOfView(const ParticleItem& item, const DS_ViewObjCtrl& controller)
{
    return controller.GetPixelRight() < item.position.x - std::fabs(item.halfWidth);
}

bool IsBelowView(const ParticleItem& item, const DS_ViewObjCtrl& controller)
{
    return controller.GetPixelBottom() < item.position.y - std::fabs(item.halfHeight);
}

bool IsAboveView(const ParticleItem& item, const DS_ViewObjCtrl& controller)
{
    return controller.GetPixelTop() > item.position.y + std::fabs(item.halfHeight);
}

bool CrossesTopEdge(const ParticleItem& item, const DS_ViewObjCtrl& controller)
{
    return controller.GetPixelTop() > item.position.y - item.halfHeight;
}

bool CrossesBottomEdge(const ParticleItem& item, const DS_ViewObjCtrl& controller)
{
    return controller.GetPixelBottom() < item.position.y + item.halfHeight;
}

bool CrossesLeftEdge(const ParticleItem& item, const DS_ViewObjCtrl& controller)
{
    return controller.GetPixelLeft() > item.position.x - item.halfWidth;
}

bool CrossesRightEdge(const ParticleItem& item, const DS_ViewObjCtrl& controller)
{
    return controller.GetPixelRight() < item.position.x + item.halfWidth;
}
