#include "objects/particles/ParticleGeomArray.h"

#include "foundation/geometry/IndexPatterns.h"
#include "foundation/geometry/MeshBuffers.h"
#include "foundation/render/VertexLock.h"
#include "objects/particles/DS_ParticleSystemCtrl.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr uint32_t VerticesPerQuad = 4;
constexpr uint32_t TrianglesPerQuad = 2;

// Advances the grid frame when a frame's time on the view clock has passed;
// a clock that went back (a new copy) starts the count again.
void StepGridFrame(ParticleGeomArray& geometry, DS_ParticleSystemCtrl& controller)
{
    const float clock = controller.clock;
    // A frame rate of 0 (or less) keeps the frame: no period ever passes.
    const bool due = controller.frameRate > 0.0f &&
                     1.0f / controller.frameRate < clock - geometry.gridSwitchTime;
    if (due) {
        geometry.gridFrameIndex = controller.NextFrameIndex(geometry.gridFrameIndex);
        geometry.gridSwitchTime = clock;
    } else if (geometry.gridSwitchTime > clock) {
        geometry.gridSwitchTime = 0.0f;
    }
}

void WriteQuad(DX_V::PCT* v, const ParticleItem& item, float leftU, float rightU, float topV, float bottomV)
{
    const D3DXVECTOR3 width = item.rightAxis * (2.0f * item.halfWidth);
    const D3DXVECTOR3 height = item.upAxis * (2.0f * item.halfHeight);
    const D3DXVECTOR3 corner = item.position - item.rightAxis * item.halfWidth - item.upAxis * item.halfHeight;
    const D3DXVECTOR3 p[VerticesPerQuad] = {corner + height, corner, corner + width + height, corner + width};
    const float u[VerticesPerQuad] = {leftU, leftU, rightU, rightU};
    const float t[VerticesPerQuad] = {bottomV, topV, bottomV, topV};
    for (uint32_t i = 0; i < VerticesPerQuad; ++i) {
        v[i].x = p[i].x;
        v[i].y = p[i].y;
        v[i].z = p[i].z;
        v[i].color = item.colour;
        v[i].u = u[i];
        v[i].v = t[i];
    }
}

} // namespace

ParticleGeomArray::ParticleGeomArray() { binders.SetOwner(this, false); }

ParticleGeomArray::~ParticleGeomArray()
{
    for (ParticleItem* item : items)
        delete item;
    items.clear();
}

void ParticleGeomArray::SetParticleCount(unsigned int count)
{
    if (count == 0 || !controller)
        return;
    const uint32_t n = std::min<uint32_t>(count, MaxParticles);
    CreateQuadBuffers(n);
    // One look-up of the image for all the new particles.
    const float imageAspect = items.size() < n ? controller->MainImageAspect() : 1.0f;
    while (items.size() < n) {
        ParticleItem* item = new ParticleItem();
        InitParticleItem(*item, *controller, imageAspect);
        ResetParticleItem(*item, *controller);
        items.push_back(item);
        controller->InitParticle(*item);
    }
}

void ParticleGeomArray::CreateQuadBuffers(unsigned int n)
{
    n = std::min<uint32_t>(n, MaxParticles);
    vertices.Release();
    CreateMeshVertexBuffer(n * VerticesPerQuad, *this, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
    {
        // Degenerate quads until the first rebuild, never whatever the
        // driver left in the memory.
        VertexLock<DX_V::PCT> lock(*this, vertexCount);
        if (lock)
            std::memset(static_cast<void*>(lock.Vertices()), 0, sizeof(DX_V::PCT) * vertexCount);
    }
    primitiveType = D3DPT_TRIANGLELIST;
    primitiveCount = 0;
    FillQuadIndices();
    quadsPending = true;
}

bool ParticleGeomArray::FillQuadIndices()
{
    const uint32_t quads = vertexCount / VerticesPerQuad;
    indexedPrimitiveCount = 0;
    // Indices that could not be written would draw whatever the buffer
    // happens to hold: the array keeps none and draws nothing instead.
    if (FAILED(CreateQuadListIndexBuffer(indices, quads)))
        return false;
    indexedPrimitiveCount = quads * TrianglesPerQuad;
    return true;
}

void ParticleGeomArray::UpdateParticles(float time)
{
    if (!controller)
        return;
    controller->StepViewTime(time);
    for (ParticleItem* item : items)
        controller->UpdateParticle(*item);
}

void ParticleGeomArray::RebuildParticleQuads()
{
    if (!controller)
        return;
    const uint32_t n = DrawnCount();
    if (n == 0 || vertexCount / VerticesPerQuad != n)
        return;
    // Indices that could not be written before are tried again; until they
    // are, the quads stay pending.
    if (!indices && !FillQuadIndices())
        return;
    VertexLock<DX_V::PCT> lock(*this, vertexCount);
    if (!lock)
        return;

    DS_ParticleSystemCtrl& c = *controller;
    const bool flipV = c.verticalFlip.value != 0;
    const bool flipH = c.horizontalFlip.value != 0;
    // All quads of one rebuild show the same grid frame.
    float gridLeft = 0.0f, gridRight = 1.0f;
    if (c.frameGrid) {
        StepGridFrame(*this, c);
        const float w = 1.0f / static_cast<float>(c.GridFrameCount());
        gridLeft = static_cast<float>(gridFrameIndex) * w;
        gridRight = static_cast<float>(gridFrameIndex + 1) * w;
        if (flipH)
            std::swap(gridLeft, gridRight);
    }

    DX_V::PCT* v = lock.Vertices();
    uint32_t i = 0;
    for (auto it = items.begin(); it != items.end() && i < n; ++it, ++i, v += VerticesPerQuad) {
        const ParticleItem& item = **it;
        float topV = item.vRange[0], bottomV = item.vRange[1];
        if (flipV)
            std::swap(topV, bottomV);
        float leftU = item.uRange[0], rightU = item.uRange[1];
        if (flipH)
            std::swap(leftU, rightU);
        if (c.frameGrid) {
            leftU = gridLeft;
            rightU = gridRight;
        }
        WriteQuad(v, item, leftU, rightU, topV, bottomV);
    }
    quadsPending = false;
}

void ParticleGeomArray::BindControllerCount()
{
    if (controller)
        BindParamCallback(binders, controller->count, &ParticleGeomArray::SetParticleCount, this);
}

uint32_t ParticleGeomArray::DrawnCount() const
{
    return controller ? std::min<uint32_t>(controller->count.value, MaxParticles) : 0u;
}
