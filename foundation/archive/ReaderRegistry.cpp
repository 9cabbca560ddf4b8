#include "foundation/archive/ReaderRegistry.h"

#include "foundation/core/SaverError.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/core/LifecycleTrace.h"
#include "foundation/resources/DS_DocResManager.h"

#include <memory>

template <class Reader>
ReaderRegistry<Reader>::ReaderRegistry(const char* builtStep, const char* destroyedStepName)
    : destroyedStep(destroyedStepName)
{
    NoteLifecycleStep(builtStep);
}

template <class Reader>
ReaderRegistry<Reader>::~ReaderRegistry()
{
    NoteLifecycleStep(destroyedStep);
}

template <class Reader>
const Reader* ReaderRegistry<Reader>::Find(const ds_string& className) const
{
    const auto found = readers.find(className);
    return found == readers.end() ? nullptr : found->second;
}

template class ReaderRegistry<IOF_Virtual_ReaderII<DS_2D_Light>>;
template class ReaderRegistry<IOF_Virtual_ReaderII<DS_SlideContainer>>;
template class ReaderRegistry<IOF_Virtual_Reader>;

LightRegistry& LightReaderRegistry()
{
    static LightRegistry registry("BuildLightReaderRegistry", "DestroyLightReaderRegistry");
    return registry;
}

SlideRegistry& SlideReaderRegistry()
{
    static SlideRegistry registry("BuildSlideReaderRegistry", "DestroySlideReaderRegistry");
    return registry;
}

ConstructorRegistry& ConstructorReaderRegistry()
{
    static ConstructorRegistry registry("BuildConstructorReaderRegistry", "DestroyConstructorReaderRegistry");
    return registry;
}

namespace {

template <class Registry>
auto ReadByClassName(const Registry& registry, ArchiveHandle& archive)
{
    const ObjectHeader header = ReadObjectHeader(archive);
    const auto* reader = registry.Find(header.className);
    if (!reader)
        throw MediaLoadError("the scene document holds an object of an unknown class");
    return reader->Read(archive, header.version);
}

} // namespace

DS_2D_Light* ReadLight(ArchiveHandle& archive) { return ReadByClassName(LightReaderRegistry(), archive); }

DS_SlideContainer* ReadSlide(ArchiveHandle& archive) { return ReadByClassName(SlideReaderRegistry(), archive); }

DS_ABObj_Constructor* ReadConstructor(ArchiveHandle& archive)
{
    return ReadByClassName(ConstructorReaderRegistry(), archive);
}

DS_DocResManager* ReadDocResManager(ArchiveHandle& archive)
{
    const ObjectHeader header = ReadObjectHeader(archive);
    auto manager = std::make_unique<DS_DocResManager>();
    manager->Read(archive, header.version);
    return manager.release();
}
