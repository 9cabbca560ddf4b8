// Locks the whole vertex buffer of a mesh into its lockedVertices for one
// scope, so that every write to a buffer goes through a lock that is sure to
// be undone.
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"

#include <cstdint>

template <class V>
class VertexLock {
public:
    // Locks only when the buffer exists and holds at least `needed`
    // vertices, so that a writer never runs past its end.
    VertexLock(DS_SimpleMesh<V>& lockedMesh, uint32_t needed) : mesh(lockedMesh)
    {
        if (!mesh.vertices || mesh.vertexCount < needed || mesh.lockedVertices)
            return;
        void* data = nullptr;
        if (SUCCEEDED(mesh.vertices->Lock(0, 0, &data, 0)) && data) {
            mesh.lockedVertices = static_cast<V*>(data);
            owns = true;
        }
    }
    ~VertexLock()
    {
        if (!owns)
            return;
        mesh.lockedVertices = nullptr;
        mesh.vertices->Unlock();
    }
    VertexLock(const VertexLock&) = delete;
    VertexLock& operator=(const VertexLock&) = delete;

    explicit operator bool() const { return owns; }
    V* Vertices() const { return mesh.lockedVertices; }

private:
    DS_SimpleMesh<V>& mesh;
    bool owns = false;
};
