#include "objects/models/DS_3D_in_2D_array.h"

#include "foundation/resources/MeshLoaders.h"
#include "foundation/resources/ResourceCache.h"
#include "objects/animation/DS_LeafFallAnim.h"
#include "objects/models/DS_3D_in_2D_array_Constructor.h"
#include "objects/models/MeshDrawStates.h"
#include "scene/layerbase/DS_2D_Light.h"

#include <algorithm>
#include <memory>

DS_3D_in_2D_array::DS_3D_in_2D_array(DS_3D_in_2D_array_Constructor* ownedCopy)
    : DS_ABObj(ownedCopy), settings(ownedCopy)
{
    settings->runtimeObject = this;
    LoadMesh();
    SyncCount();
}

// The sprites' animations read the copy's settings: they go before it.
DS_3D_in_2D_array::~DS_3D_in_2D_array()
{
    DeleteChildFrames(mesh.children.begin(), mesh.children.end());
    mesh.children.clear();
}

void DS_3D_in_2D_array::LoadMesh()
{
    ResourceCache* const cache = CurrentResourceCache;
    if (!cache)
        return;
    mesh.texture = cache->GetRecordTexture(settings->textureRecord).texture;
    const LoadedMesh loaded = cache->GetRecordMesh(settings->meshRecord, LoadedMeshStride);
    mesh.vertices = loaded.vertices;
    mesh.vertexCount = loaded.vertexCount;
    mesh.indices = loaded.indices;
    mesh.indexedPrimitiveCount = loaded.faceCount;
    mesh.boundingRadius = loaded.radius;
    mesh.boundingCentre = loaded.centre;
    mesh.primitiveType = D3DPT_TRIANGLELIST;
}

void DS_3D_in_2D_array::SyncCount()
{
    const std::size_t wanted = std::min(settings->count.value, MaxSprites);
    while (mesh.children.size() < wanted) {
        auto sprite = std::make_unique<DS_Frame>();
        sprite->boundingRadius = mesh.boundingRadius;
        sprite->boundingCentre = mesh.boundingCentre;
        sprite->animation = new DS_LeafFallAnim(&settings->motion);
        const D3DXVECTOR3& centre = mesh.boundingCentre;
        D3DXMatrixTranslation(&sprite->local, -centre.x, -centre.y, -centre.z);
        mesh.children.push_back(sprite.get());
        sprite.release();
    }
    while (mesh.children.size() > wanted) {
        delete mesh.children.front();
        mesh.children.pop_front();
    }
}

void DS_3D_in_2D_array::Update(float time)
{
    StreamAnimationTime = time;
    mesh.world = mesh.local;
    for (DS_Frame* sprite : mesh.children)
        sprite->UpdateFrameTree(&mesh.world);
}

void DS_3D_in_2D_array::Render(DS_2D_Light& layer)
{
    if (mesh.children.empty() || !mesh.vertices || !mesh.indices || mesh.indexedPrimitiveCount == 0 || !mesh.texture)
        return;
    SetMeshDrawStates();
    layer.DrawFrameChildren(mesh);
}
