// The three registries that find a document class's reader by its class
// name, their registration and the reads of a record whose class is known
// only by the name in its header.
#pragma once

#include "foundation/core/Types.h"
#include "foundation/archive/IOF_Virtual_Reader.h"

#include <cstddef>
#include <map>

// Class names compare by their UTF-16 code units: exactly, with letter case.
template <class Reader>
class ReaderRegistry {
public:
    // The step names tell the lifecycle trace when this registry is built
    // and when it goes.
    ReaderRegistry(const char* builtStep, const char* destroyedStep);
    ~ReaderRegistry();
    ReaderRegistry(const ReaderRegistry&) = delete;
    ReaderRegistry& operator=(const ReaderRegistry&) = delete;

    // Inserts, or replaces the reader of a class of the same name.
    void Register(const ds_string& className, const Reader* reader) { readers[className] = reader; }
    // The reader of the class, or null when the name is unknown.
    const Reader* Find(const ds_string& className) const;
    std::size_t Size() const { return readers.size(); }

private:
    std::map<ds_string, const Reader*> readers;
    const char* destroyedStep;
};

using LightRegistry = ReaderRegistry<IOF_Virtual_ReaderII<DS_2D_Light>>;
using SlideRegistry = ReaderRegistry<IOF_Virtual_ReaderII<DS_SlideContainer>>;
using ConstructorRegistry = ReaderRegistry<IOF_Virtual_Reader>;

// Each registry is built empty on its getter's first call, which also
// schedules its destruction at exit; so the registry whose getter ran first
// is destroyed last.
LightRegistry& LightReaderRegistry();
SlideRegistry& SlideReaderRegistry();
ConstructorRegistry& ConstructorReaderRegistry();

// Registers the one static object of reader class R under the class name,
// unless that reader has registered already.
template <class R, class Registry>
void RegisterReaderStatic(Registry& registry, const ds_string& className)
{
    static const R reader{};
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    registry.Register(className, &reader);
}

template <class X>
void RegisterLightReader(const ds_string& className)
{
    RegisterReaderStatic<IOF_Virtual_ReaderT_II<X, DS_2D_Light>>(LightReaderRegistry(), className);
}

template <class X>
void RegisterSlideReader(const ds_string& className)
{
    RegisterReaderStatic<IOF_Virtual_ReaderT_II<X, DS_SlideContainer>>(SlideReaderRegistry(), className);
}

template <class X>
void RegisterConstructorReader(const ds_string& className)
{
    RegisterReaderStatic<IOF_Virtual_ReaderT<X>>(ConstructorReaderRegistry(), className);
}

// Each reads an object header, finds the class in its own registry and
// returns a new object read by that class's reader; the caller owns it. A name
// the registry does not hold throws MediaLoadError before anything after the
// header is read: a record carries no length, so it cannot be skipped.
DS_2D_Light* ReadLight(ArchiveHandle& archive);
DS_SlideContainer* ReadSlide(ArchiveHandle& archive);
DS_ABObj_Constructor* ReadConstructor(ArchiveHandle& archive);

class DS_DocResManager;

// The resource table that ends the document: an object header whose name is
// not compared, then a new manager reads its body with the header's version.
// A record that fails part way destroys the manager before the failure goes
// on.
DS_DocResManager* ReadDocResManager(ArchiveHandle& archive);
