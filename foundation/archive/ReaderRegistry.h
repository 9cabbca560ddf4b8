// The registry that finds a document class's reader by its class name, its
// registration, and the reads of a record whose class is known only by the
// name in its header. The archive holds the registry of object constructors;
// the registries of other document classes are built the same way by the
// folders that own those classes.
#pragma once

#include "foundation/core/LifecycleTrace.h"
#include "foundation/core/SaverError.h"
#include "foundation/core/Types.h"
#include "foundation/archive/IOF_Virtual_Reader.h"
#include "foundation/archive/ObjectHeader.h"

#include <cstddef>
#include <map>
#include <vector>

// Class names compare by their UTF-16 code units: exactly, with letter case.
template <class Reader>
class ReaderRegistry {
public:
    // The step names tell the lifecycle trace when this registry is built
    // and when it goes.
    ReaderRegistry(const char* builtStep, const char* destroyedStepName) : destroyedStep(destroyedStepName)
    {
        NoteLifecycleStep(builtStep);
    }
    ~ReaderRegistry() { NoteLifecycleStep(destroyedStep); }
    ReaderRegistry(const ReaderRegistry&) = delete;
    ReaderRegistry& operator=(const ReaderRegistry&) = delete;

    // Inserts, or replaces the reader of a class of the same name.
    void Register(const ds_string& className, const Reader* reader)
    {
        if (readers.find(className) == readers.end())
            names.push_back(className);
        readers[className] = reader;
    }
    // The reader of the class, or null when the name is unknown.
    const Reader* Find(const ds_string& className) const
    {
        const auto found = readers.find(className);
        return found == readers.end() ? nullptr : found->second;
    }
    std::size_t Size() const { return readers.size(); }
    // The class names in the order of their first registration.
    const std::vector<ds_string>& RegisteredNames() const { return names; }

private:
    std::map<ds_string, const Reader*> readers;
    std::vector<ds_string> names;
    const char* destroyedStep;
};

using ConstructorRegistry = ReaderRegistry<IOF_Virtual_Reader>;

// Built empty on its first call, which also schedules its destruction at exit;
// so of the registries, the one whose getter ran first is destroyed last.
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
void RegisterConstructorReader(const ds_string& className)
{
    RegisterReaderStatic<IOF_Virtual_ReaderT<X>>(ConstructorReaderRegistry(), className);
}

// Reads an object header, finds the class in the registry and returns a new
// object read by that class's reader; the caller owns it. A name the registry
// does not hold throws MediaLoadError before anything after the header is
// read: a record carries no length, so it cannot be skipped.
template <class Registry>
auto ReadByClassName(const Registry& registry, ArchiveHandle& archive)
{
    const ObjectHeader header = ReadObjectHeader(archive);
    const auto* reader = registry.Find(header.className);
    if (!reader)
        throw MediaLoadError("the scene document holds an object of an unknown class");
    return reader->Read(archive, header.version);
}

// A constructor read by its class name through the constructor registry.
DS_ABObj_Constructor* ReadConstructor(ArchiveHandle& archive);
