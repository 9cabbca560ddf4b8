// Readers that build a document object of a class found by name: one static
// reader object per class, pointed at by its registry.
#pragma once

#include <cstdint>
#include <memory>

class ArchiveHandle;
class DS_ABObj_Constructor;

// Readers are statics that the registries only point at and never delete: the
// destructor is protected and trivial, so no reader object is scheduled for
// destruction at exit.

// The reader of an object constructor of a slide.
class IOF_Virtual_Reader {
public:
    // A new object filled from the record after its header (whose version is
    // given); the caller owns it.
    virtual DS_ABObj_Constructor* Read(ArchiveHandle& archive, int32_t version) const = 0;

protected:
    ~IOF_Virtual_Reader() = default;
};

// The reader of a document object whose classes share the base class B.
template <class B>
class IOF_Virtual_ReaderII {
public:
    virtual B* Read(ArchiveHandle& archive, int32_t version) const = 0;

protected:
    ~IOF_Virtual_ReaderII() = default;
};

namespace reader_detail {

// A default-constructed X filled by X's own reader. Should the record fail
// part way, the half-built object is destroyed before the failure goes on.
template <class X>
X* ReadNew(ArchiveHandle& archive, int32_t version)
{
    auto object = std::make_unique<X>();
    object->Read(archive, version);
    return object.release();
}

} // namespace reader_detail

template <class X>
class IOF_Virtual_ReaderT final : public IOF_Virtual_Reader {
public:
    DS_ABObj_Constructor* Read(ArchiveHandle& archive, int32_t version) const override
    {
        return reader_detail::ReadNew<X>(archive, version);
    }
};

template <class X, class B>
class IOF_Virtual_ReaderT_II final : public IOF_Virtual_ReaderII<B> {
public:
    B* Read(ArchiveHandle& archive, int32_t version) const override
    {
        return reader_detail::ReadNew<X>(archive, version);
    }
};
