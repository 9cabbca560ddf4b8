#include "foundation/geometry/MeshBuffers.h"
#include "foundation/geometry/TexturedMesh.h"
#include "tests/foundation/geometry/GeometryFixture.h"

namespace {

using MeshClasses = GeometryFixture;

// An indexed PCT mesh with real buffers and recognisable plain fields.
void Build(DS_IndexedMesh<DX_V::PCT>& mesh, UINT vertexCount)
{
    ASSERT_EQ(D3D_OK, CreateMeshVertexBuffer(vertexCount, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    ASSERT_EQ(D3D_OK, CreateIndexBuffer16(6, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    mesh.primitiveType = D3DPT_TRIANGLELIST;
    mesh.primitiveCount = 7;
    mesh.indexedPrimitiveCount = 2;
}

void BuildPart(MeshPart& part, IDirect3DDevice9* device)
{
    ASSERT_EQ(D3D_OK, CreateMeshVertexBuffer(4, part, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    ASSERT_EQ(D3D_OK, CreateIndexBuffer16(6, part, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    ASSERT_EQ(D3D_OK, device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, part.texture.Out(), nullptr));
}

} // namespace

TEST_F(MeshClasses, CopyTakesItsOwnReferences)
{
    DS_IndexedMesh<DX_V::PCT> original;
    Build(original, 4);
    original.local._41 = 9.0f;
    IDirect3DVertexBuffer9* vb = original.vertices.Get();
    IDirect3DIndexBuffer9* ib = original.indices.Get();
    ASSERT_EQ(1u, RefCount(vb));
    ASSERT_EQ(1u, RefCount(ib));

    {
        DS_IndexedMesh<DX_V::PCT> copy(original);
        EXPECT_EQ(vb, copy.vertices.Get());
        EXPECT_EQ(ib, copy.indices.Get());
        EXPECT_EQ(2u, RefCount(vb));
        EXPECT_EQ(2u, RefCount(ib));
        EXPECT_EQ(4u, copy.vertexCount);
        EXPECT_EQ(D3DPT_TRIANGLELIST, copy.primitiveType);
        EXPECT_EQ(7u, copy.primitiveCount);
        EXPECT_EQ(2u, copy.indexedPrimitiveCount);
        EXPECT_EQ(9.0f, copy.local._41);
    }

    // The copy's end leaves the original's buffers alive and usable.
    EXPECT_EQ(1u, RefCount(vb));
    EXPECT_EQ(1u, RefCount(ib));
    EXPECT_TRUE(FillVertices(vb, std::vector<DX_V::PCT>(4, DX_V::PCT{0, 0, 0, 0, 0, 0})));
}

TEST_F(MeshClasses, AssignmentSwapsReferencesExactly)
{
    DS_IndexedMesh<DX_V::PCT> source, target;
    Build(source, 4);
    Build(target, 8);
    IDirect3DVertexBuffer9* oldVb = target.vertices.Get();
    IDirect3DIndexBuffer9* oldIb = target.indices.Get();
    oldVb->AddRef(); // keep the old buffers alive to watch them
    oldIb->AddRef();

    target = source;

    EXPECT_EQ(1u, RefCount(oldVb));
    EXPECT_EQ(1u, RefCount(oldIb));
    EXPECT_EQ(2u, RefCount(source.vertices.Get()));
    EXPECT_EQ(2u, RefCount(source.indices.Get()));
    EXPECT_EQ(source.vertices.Get(), target.vertices.Get());
    EXPECT_EQ(4u, target.vertexCount);
    oldVb->Release();
    oldIb->Release();

    // Assigning an empty mesh releases what was held.
    target = DS_IndexedMesh<DX_V::PCT>();
    EXPECT_EQ(1u, RefCount(source.vertices.Get()));
    EXPECT_EQ(nullptr, target.vertices.Get());
}

TEST_F(MeshClasses, SelfAssignmentKeepsCounts)
{
    MeshPart part;
    BuildPart(part, dev.Device());
    MeshPart& same = part;

    part = same;

    EXPECT_EQ(1u, RefCount(part.vertices.Get()));
    EXPECT_EQ(1u, RefCount(part.indices.Get()));
    EXPECT_EQ(1u, RefCount(part.texture.Get()));
}

TEST_F(MeshClasses, MeshPartCopiesShareTextureAndInstanceFrames)
{
    DS_Frame a, b;
    MeshPart part;
    BuildPart(part, dev.Device());
    part.twoSided = true;
    part.instances = {&a, &b};
    IDirect3DTexture9* texture = part.texture.Get();

    {
        std::vector<MeshPart> parts(2, part); // copies into a container, as 3D objects keep them
        EXPECT_EQ(3u, RefCount(texture));
        EXPECT_EQ(3u, RefCount(part.vertices.Get()));
        for (const MeshPart& copy : parts) {
            EXPECT_EQ(texture, copy.texture.Get());
            EXPECT_TRUE(copy.twoSided);
            EXPECT_EQ((DS_Frame::FrameList{&a, &b}), copy.instances);
        }
        parts.resize(8); // growing moves through copies and destructions
        EXPECT_EQ(3u, RefCount(texture));
        EXPECT_EQ(nullptr, parts.back().texture.Get());
    }

    EXPECT_EQ(1u, RefCount(texture));
    EXPECT_EQ(1u, RefCount(part.indices.Get()));
    EXPECT_EQ(2u, part.instances.size()); // the frames themselves are untouched
}
