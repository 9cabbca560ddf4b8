// The ten maps in which a document's resource manager keeps its embedded
// files and the Direct3D objects made from them.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/resources/FileKey.h"
#include "foundation/archive/FileRecord.h"
#include "foundation/resources/GuidKey.h"
#include "foundation/resources/LoadedMesh.h"
#include "foundation/resources/TextureSet.h"

#include <d3d9.h>
#include <d3dx9effect.h>

#include <map>
#include <vector>

class RenderTargetPair;

// Looking a key up with operator[] inserts the empty value (no records, a
// set without slots, a mesh without buffers, no object), which is what every
// user expects of a key the document did not name. Values that hold a
// Direct3D object hold one reference of their own. The maps are declared in
// their numbered order so that they are destroyed from the last to the first.
struct ResourceTable {
    using Records = std::vector<ResourceRecord>;
    template <class Value>
    using FileMap = std::map<FileKey, Value>;
    template <class Value>
    using GuidMap = std::map<GuidKey, Value, GuidKeyLess>;

    // 0: files the document stores besides its pictures (effects, meshes,
    // sounds); written back with the document.
    FileMap<Records> otherFiles;
    // 1: the records of each picture link, one per animation frame; emptied
    // once the document is read and refilled only when an editor writes.
    FileMap<Records> imageRecords;
    // 2: seconds per frame of each animated picture.
    FileMap<std::vector<float>> frameDelays;
    // 3: the stored DDS file of each GUID-named texture; emptied once read.
    GuidMap<FileRecord> guidFiles;
    // 4: the textures of each picture link.
    FileMap<TextureSet> textureSets;
    // 5: the mesh of each mesh link.
    FileMap<LoadedMesh> meshes;
    // 6: render-target pairs recreated from the GUID texture of their key
    // after a device reset; owned by whoever registered them.
    GuidMap<RenderTargetPair*> renderTargets;
    // 7: the effect of each effect link.
    FileMap<ComHolder<ID3DXEffect>> effects;
    // 8: every record of every link: what the document embeds and what the
    // lookups added for module links.
    FileMap<Records> allRecords;
    // 9: the textures named by GUIDs (brush masks, the lake's bump texture).
    GuidMap<ComHolder<IDirect3DTexture9>> guidTextures;
};
