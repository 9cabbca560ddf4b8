// A counted pointer to a shared slide, layer, runtime object or audio file.
// Every copy shares one holder of the object and its count; the last one to
// let go deletes the object (through its virtual destructor) and the holder.
// std::shared_ptr is that holder: its count is exact, and assigning a pointer
// to itself or to a sharer of its own holder changes nothing.
#pragma once

#include <memory>

template <class T>
class CountedPtr {
public:
    CountedPtr() = default;
    // Starts a new holder for object with count 1; object may be null.
    explicit CountedPtr(T* object) : shared(object) {}

    // Gives up this share; deletes the object when it was the last. An empty
    // pointer stays empty.
    void Release() { shared.reset(); }

    T* Get() const { return shared.get(); }
    T* operator->() const { return shared.get(); }
    T& operator*() const { return *shared; }
    // True when there is an object, not merely a holder.
    explicit operator bool() const { return shared != nullptr; }
    // How many pointers share the holder; 0 when empty.
    long UseCount() const { return shared.use_count(); }

private:
    std::shared_ptr<T> shared;
};
