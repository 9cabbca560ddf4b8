#include "scene/slideshow/LoadSceneDocument.h"

#include "foundation/core/SaverError.h"
#include "foundation/core/Types.h"
#include "foundation/archive/ArchiveString.h"
#include "foundation/archive/DS_IOF_R.h"
#include "foundation/resources/ReadDocResManager.h"
#include "foundation/archive/ResourceBuffer.h"
#include "foundation/resources/ResourceModule.h"
#include "res/resource.h"

#include <new>

namespace {

const int32_t SceneDocumentResource = IDR_SCENE;

SceneDocument ReadDocument(const uint8_t* bytes, std::size_t size)
{
    const uint8_t* const end = bytes + size;
    ds_string version;
    const std::size_t versionBytes = ParseArchiveString(bytes, end, version);

    ResourceBuffer buffer(bytes + versionBytes, size - versionBytes);
    ArchiveHandle archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));

    SceneDocument document;
    std::unique_ptr<DS_SlideShow_Light> root = ReadSceneRoot(archive);
    document.resources.reset(ReadDocResManager(archive));
    document.root = std::move(root);
    return document;
}

} // namespace

SceneDocument LoadSceneDocument()
{
    const ResourceBytes resource = FindResourceBytes(nullptr, SceneDocumentResource, PictureResourceType);
    if (!resource)
        return SceneDocument();
    return LoadSceneDocument(resource.data, resource.size);
}

SceneDocument LoadSceneDocument(const uint8_t* bytes, std::size_t size)
{
    if (!bytes || size == 0)
        return SceneDocument();

    // A new manager makes its cache current as soon as it exists; should the
    // load fail after that, the cache goes with it and the one that served
    // before must be current again.
    ResourceCache* const previousCache = CurrentResourceCache;
    try {
        SceneDocument document = ReadDocument(bytes, size);
        CurrentResManager = document.resources.get();
        CurrentResourceCache = &document.resources->Cache();
        return document;
    } catch (const MediaLoadError&) {
    } catch (const std::bad_alloc&) {
        // A count the bytes could back but memory cannot: as unreadable as
        // any other damage.
    }
    CurrentResourceCache = previousCache;
    return SceneDocument();
}
