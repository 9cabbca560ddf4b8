// The geometry of a particle system: its particles, each drawn as one
// textured quad of four vertices, all quads in one vertex buffer and one
// 16-bit index buffer and drawn with one indexed call.
#pragma once

#include "foundation/geometry/VertexFormats.h"
#include "foundation/params/MediaControlList.h"
#include "objects/particles/DS_SpriteArrayT.h"
#include "objects/particles/ParticleItem.h"

#include <cstdint>
#include <list>

class ParticleGeomArray : public DS_SpriteArrayT<DX_V::PCT> {
public:
    using ItemList = std::list<ParticleItem*>;

    // The most particles one system has: four vertices each must stay
    // addressable by 16-bit indices. A larger count is held at this, which
    // also keeps a document's count from allocating without bound.
    static constexpr uint32_t MaxParticles = 16384;

    // No items, no buffers, no controller.
    ParticleGeomArray();
    ParticleGeomArray(const ParticleGeomArray&) = delete;
    ParticleGeomArray& operator=(const ParticleGeomArray&) = delete;
    // The items, then the binders (the count binder leaves the count unless
    // the count has gone already), then the buffers.
    ~ParticleGeomArray();

    // The count binder's target: buffers for the new count, and new items,
    // each started by the controller, until there are that many. The list
    // never shrinks; a count of 0 changes nothing.
    void SetParticleCount(unsigned int count);
    // Vertex and index buffers for n quads; the quads stay degenerate until
    // the next rebuild. Indices that cannot be written leave no index buffer
    // and nothing to draw (indexedPrimitiveCount 0).
    void CreateQuadBuffers(unsigned int n);
    // The controller's clock step, then every item's update in list order.
    void UpdateParticles(float time);
    // Writes the quads of the first DrawnCount() items, unless the buffers
    // were made for another count; first the indices, when they could not be
    // written before.
    void RebuildParticleQuads();

    // Binds the controller's count to SetParticleCount, which runs at once
    // with the current count: the buffers and the items are made here.
    void BindControllerCount();

    // How many quads are drawn: the controller's count, held at MaxParticles.
    uint32_t DrawnCount() const;
    // True from the making of new buffers until the next rebuild.
    bool QuadsPending() const { return quadsPending; }

    MediaControlList binders;
    ItemList items;
    // The frame-grid animation.
    float gridSwitchTime = 0.0f;
    uint32_t gridFrameIndex = 0;

private:
    // An index buffer for the vertex buffer's quads, filled; false, with no
    // index buffer and nothing to draw, when it cannot be written.
    bool FillQuadIndices();

    bool quadsPending = false;
};
