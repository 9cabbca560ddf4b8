// Particle geometry over a vertex format V: an indexed mesh that knows the
// particle system driving it.
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"

class DS_ParticleSystemCtrl;

template <class V>
class DS_SpriteArrayT : public DS_IndexedMesh<V> {
public:
    // The particle system that drives this geometry; not owned.
    DS_ParticleSystemCtrl* controller = nullptr;
};
