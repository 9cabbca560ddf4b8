// The resource manager of one scene document: the files the document embeds
// and the textures, effects and meshes made from them, found by file link.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/model/DS_IOF_Item.h"
#include "foundation/resources/DS_FileLink3.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "foundation/resources/ResourceCache.h"
#include "foundation/resources/ResourceTable.h"

#include <d3d9.h>
#include <d3dx9effect.h>

#include <cstdint>
#include <list>
#include <memory>
#include <set>
#include <vector>

// Every object is made on CurrentDevice, once per key, and kept until the
// manager goes; only effects and meshes that failed are tried again. Each
// screen reads its own document, so each screen's objects stay on its own
// device.
class DS_DocResManager : public DS_IOF_Item {
public:
    // Publishes the new cache as CurrentResourceCache.
    DS_DocResManager();
    // Stops being CurrentResManager (and its cache CurrentResourceCache)
    // when it was.
    ~DS_DocResManager() override;
    DS_DocResManager(const DS_DocResManager&) = delete;
    DS_DocResManager& operator=(const DS_DocResManager&) = delete;

    // The record's body after its header: the image records, frame delays,
    // other files and GUID entries that the version holds, turned into
    // texture sets and GUID textures. A failed read throws MediaLoadError.
    bool Read(ArchiveHandle& archive, int32_t version);
    // Writes the record as version 3 (an editor's task: the program's
    // archive writes nothing).
    void Write(ArchiveHandle& archive) override;

    // Editor side, before a picture link is written: keeps the link's records
    // and delays for the document.
    bool StoreImageLink(const DS_FileLink3& link);
    // Editor side: stores the GUID texture of key as a DDS file. When the
    // texture cannot be saved, the stored bytes stay as they were.
    bool RefreshGuidTextureBytes(const GuidKey& key);

    // The textures of a picture link; a module or empty link that has none
    // gets one, from its module or the program.
    TextureSet& GetLinkTextures(const DS_FileLink3& link);
    // The frames and delays of an image list that a module resource holds.
    TextureSet& GetModuleImageList(const DS_FileLink3& link);
    // The first record of the link; for a module link without one, a record
    // holding the module's resource. None for other links without records.
    // The record lives in the table: use it before asking for more.
    ResourceRecord* GetLinkRecord(const DS_FileLink3& link);
    // The effect of the link, with a reference for the caller; none when it
    // cannot be made (tried again at the next call).
    ComHolder<ID3DXEffect> GetLinkEffect(const DS_FileLink3& link);
    // The mesh of the link, stride bytes per vertex (LoadedMeshStride).
    LoadedMesh& GetLinkMesh(const DS_FileLink3& link, UINT stride);

    // Picture links for the records an old document kept inside an object.
    DS_ImageFileLink MakeImageLink(const ResourceRecord& record);
    // The first record names the link; an empty list gives an empty link.
    DS_ImageFileLink MakeImageLinkFromList(const std::vector<float>& delays, const std::list<ResourceRecord>& records);
    // Editor side: a link to a picture file on disk.
    DS_ImageFileLink MakeImageLinkFromFile(const ds_string& path);

    // The slot of a GUID-named texture, created empty when absent.
    ComHolder<IDirect3DTexture9>& GuidTexture(const GuidKey& key);

    // Effects let go of their device objects; render-target pairs release
    // their textures.
    void OnLostDevice();
    // Effects take their device objects again; render-target pairs are made
    // anew from the GUID texture of their key.
    void OnResetDevice();

    ResourceCache& Cache() { return *cache; }
    ResourceTable& Table() { return *table; }

private:
    void ReadImageRecords(ArchiveHandle& archive);
    void ReadOtherFiles(ArchiveHandle& archive);
    void ReadGuidEntries(ArchiveHandle& archive);

    std::unique_ptr<ResourceCache> cache;
    std::unique_ptr<ResourceTable> table;
    // Image lists whose module or resource did not load: not looked for
    // again (a system asks once for each of its particles).
    std::set<FileKey> absentImageLists;
};

// The resource manager of the document being loaded or drawn; none at start.
// Whoever selects a screen publishes its manager here, with its cache as
// CurrentResourceCache.
extern DS_DocResManager* CurrentResManager;
