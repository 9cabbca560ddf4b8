// One particle of a particle system, and the operations on it that every
// particle system shares: starting it from the controller's settings, its
// colour, and the tests of where it lies against the controller's view.
//
// Positions are picture pixels with y pointing down the screen. No particle
// ever dies: controllers fade, hide and place their particles anew.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9math.h>

#include <cstdint>

class DS_BaseSpriteProp;
class DS_ViewObjCtrl;

// The edge whose rule is running for a particle.
enum ParticleEdge : int32_t {
    NoEdge = -1,
    TopEdge = 0,
    BottomEdge = 1,
    LeftEdge = 2,
    RightEdge = 3,
};

struct ParticleItem {
    // Everything zero, the spin the identity.
    ParticleItem();

    // Direction signs of a flow; edge rules negate them.
    D3DXVECTOR3 sign;
    // Pixels per unit of the controller's step; flows keep their sideways
    // drift factor (-1 to 1) in z.
    D3DXVECTOR3 velocity;
    // The quad's centre.
    D3DXVECTOR3 position;
    float sizeFactor;
    // Turns both axes on every update (fog).
    D3DXMATRIX spin;
    // Texture v at the image's top and bottom edge, u at its left and right.
    float vRange[2];
    float uRange[2];
    // Half extents along the right and up axes; a negative half width
    // mirrors the image left to right.
    float halfWidth;
    float halfHeight;
    // Height / width of one frame of the main image.
    float aspect;
    // Unit direction of the quad's width, and of its height (+y is down).
    D3DXVECTOR3 rightAxis;
    D3DXVECTOR3 upAxis;
    // 0 to 1: the particle's opacity factor.
    float phase;
    // Time of the last random change or re-flash.
    float lastChange;
    // The edge whose rule is running, or NoEdge.
    int32_t edgeState;
    // 1 while a particle moved to the opposite edge waits and fades in.
    int32_t reentry;
    // Controller clock time at which a waiting particle goes on, and the
    // clock counted while it waits.
    float resumeTime;
    float timer;
    // 1 while the particle waits: flows do not move it.
    uint8_t hidden;
    // The vertex colour of all four corners (ARGB).
    D3DCOLOR colour;
    // Phase change per unit of step.
    float phaseVelocity;
};

// Clears the particle and starts it from the controller: the main image's
// aspect, the axes, a random size factor and the half extents from it.
void InitParticleItem(ParticleItem& item, DS_BaseSpriteProp& controller);
// The same with the main image's aspect already looked up, for a caller that
// starts many particles at once.
void InitParticleItem(ParticleItem& item, DS_BaseSpriteProp& controller, float imageAspect);
// Timers, flags, full phase, a random sign for the phase velocity, colour.
void ResetParticleItem(ParticleItem& item, DS_BaseSpriteProp& controller);
// The controller's colour with its maximal alpha scaled by the phase.
void UpdateParticleColor(const DS_BaseSpriteProp& controller, ParticleItem& item);
// Half extents from the size factor, the base size and the aspect: the
// longer side of the image gets half the scaled size.
void ApplyAspectRule(ParticleItem& item, const DS_BaseSpriteProp& controller);

// Wholly beyond an edge of the view (the absolute half extents).
bool IsLeftOfView(const ParticleItem& item, const DS_ViewObjCtrl& controller);
bool IsRightOfView(const ParticleItem& item, const DS_ViewObjCtrl& controller);
bool IsBelowView(const ParticleItem& item, const DS_ViewObjCtrl& controller);
bool IsAboveView(const ParticleItem& item, const DS_ViewObjCtrl& controller);
// Reaching over an edge of the view (the signed half extents).
bool CrossesTopEdge(const ParticleItem& item, const DS_ViewObjCtrl& controller);
bool CrossesBottomEdge(const ParticleItem& item, const DS_ViewObjCtrl& controller);
bool CrossesLeftEdge(const ParticleItem& item, const DS_ViewObjCtrl& controller);
bool CrossesRightEdge(const ParticleItem& item, const DS_ViewObjCtrl& controller);
