// Fixtures for the layer tests: a device, a scene view and a resource manager
// published as the current ones, pictures placed in the manager's table, test
// effects, and quads and meshes in picture pixels.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/MeshBuffers.h"
#include "foundation/geometry/TexturedMesh.h"
#include "foundation/model/DS_ABObj.h"
#include "foundation/model/DS_ABObj_Constructor.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/VertexLock.h"
#include "foundation/resources/DS_DocResManager.h"
#include "tests/support/RenderTestSupport.h"

#include <d3d9.h>
#include <d3dx9effect.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

// A device of Width × Height, a scene view as GlobalSceneView and an empty
// document's resource manager as CurrentResManager, for each test.
template <UINT Width, UINT Height>
class LayerTest : public DeviceTest<Width, Height> {
protected:
    void SetUp() override
    {
        DeviceTest<Width, Height>::SetUp();
        savedView = GlobalSceneView;
        GlobalSceneView = &view;
        CurrentResManager = &manager;
    }
    void TearDown() override
    {
        CurrentResManager = nullptr;
        GlobalSceneView = savedView;
        DeviceTest<Width, Height>::TearDown();
    }

    SceneView view;
    DS_DocResManager manager;

private:
    SceneView* savedView = nullptr;
};

class DS_2D_Light;

// Makes texture the picture of the link (path, stamp) in the manager, with
// the given picture size.
void AddPicture(DS_DocResManager& manager, const FileKey& key, IDirect3DTexture9* texture, UINT width,
                UINT height);

// Sets a layer showing the picture of key up as its slide does: built
// (device objects, size 1 × 1), given the picture position, then activated
// at the back buffer's size of width × height.
void ActivateLayer(DS_2D_Light& layer, const FileKey& key, int width, int height, int pictureMode);

// One frame of a slide with one object, as the show draws it: the back
// buffer cleared black, the object brought to `time`, the layer's picture,
// then the object.
void DrawObjectFrame(IDirect3DDevice9* device, DS_2D_Light& layer, DS_ABObj& object, float time);

// The object a constructor makes, as the class a test expects; none (and a
// failed expectation) when it makes something else.
template <class Object>
std::unique_ptr<Object> MakeObjectAs(DS_ABObj_Constructor& constructor);

// An effect from compiled bytes; none when they do not load.
ComHolder<ID3DXEffect> LoadEffect(IDirect3DDevice9* device, const std::vector<uint8_t>& bytes);
// A compiled effect with one single-pass technique per name. The `refused`
// ones hold a pixel shader of a shader model no Direct3D 9 device has: the
// effect loads, and ValidateTechnique refuses them (on Windows the effect may
// not load at all). The `accepted` ones draw opaque `argb`.
std::vector<uint8_t> EffectWithRefusedTechniques(std::initializer_list<const char*> refused,
                                                 std::initializer_list<const char*> accepted,
                                                 D3DCOLOR argb = 0xFFFF00FF);
// Puts the bytes in the manager's table as the document's own record of key.
void AddEffectRecord(DS_DocResManager& manager, const FileKey& key, const std::vector<uint8_t>& bytes);
// One pass that shows the texture bound on stage 0 as it stands, without
// blending.
ComHolder<ID3DXEffect> CopyTextureEffect(IDirect3DDevice9* device);
// One pass that draws in argb, without blending.
ComHolder<ID3DXEffect> FlatEffect(IDirect3DDevice9* device, D3DCOLOR argb);

// A four-vertex strip over the rectangle, in picture pixels, spanning the
// whole texture.
void MakeQuadPT(DS_SimpleMesh<DX_V::PT>& mesh, float left, float top, float right, float bottom);

// Fills the whole index buffer with the indices given.
void WriteIndices(IDirect3DIndexBuffer9* buffer, std::initializer_list<uint16_t> indices);

// A quad of the four corners in strip order, as an indexed triangle list.
template <class V>
void MakeIndexedQuad(DS_IndexedMesh<V>& mesh, const V (&corners)[4])
{
    CreateMeshVertexBuffer(4, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
    CreateIndexBuffer16(6, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
    mesh.primitiveType = D3DPT_TRIANGLELIST;
    mesh.indexedPrimitiveCount = 2;
    {
        VertexLock<V> lock(mesh, 4);
        for (int i = 0; lock && i < 4; ++i)
            lock.Vertices()[i] = corners[i];
    }
    WriteIndices(mesh.indices.Get(), {0, 1, 2, 2, 1, 3});
}

// Two squares of side `side` at the origin, one of each winding, as one
// indexed triangle list: the one that winds clockwise on the screen takes
// the left texel of a two-texel texture, the other the right texel.
void MakeTwoWindingSquares(TexturedMesh<DX_V::PNT>& mesh, float side);
// A 2 × 1 texture of the two texels (ARGB).
ComHolder<IDirect3DTexture9> TwoTexelTexture(IDirect3DDevice9* device, D3DCOLOR left, D3DCOLOR right);

// What blending src over dst with src's alpha gives, channel by channel.
Rgba BlendOver(const Rgba& dst, const Rgba& src);

template <class Object>
std::unique_ptr<Object> MakeObjectAs(DS_ABObj_Constructor& constructor)
{
    DS_ABObj* made = constructor.CreateObject();
    auto* object = dynamic_cast<Object*>(made);
    EXPECT_NE(nullptr, object);
    if (!object)
        delete made;
    return std::unique_ptr<Object>(object);
}
