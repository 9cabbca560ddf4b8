// The program's holder of one COM interface: it releases the interface when
// destroyed or reset.
#pragma once

#include <unknwn.h>

template <class T>
class ComHolder {
public:
    ComHolder() = default;
    // Takes over a reference the caller already owns (no AddRef).
    explicit ComHolder(T* owned) : pointer(owned) {}
    ComHolder(const ComHolder& other) : pointer(other.pointer)
    {
        if (pointer)
            pointer->AddRef();
    }
    ComHolder& operator=(const ComHolder& other)
    {
        if (this != &other)
            Assign(other.pointer);
        return *this;
    }
    // Shares p: the holder adds a reference of its own.
    ComHolder& operator=(T* p)
    {
        Assign(p);
        return *this;
    }
    ~ComHolder() { Release(); }

    // Releases and clears; returns the count that Release returned, or 0 when
    // the holder was empty.
    ULONG Release()
    {
        if (!pointer)
            return 0;
        T* p = pointer;
        pointer = nullptr;
        return p->Release();
    }

    // Takes over a reference the caller owns, releasing the old one.
    void Attach(T* owned)
    {
        Release();
        pointer = owned;
    }

    // For creation functions that fill a T**: releases the old interface first.
    T** Out()
    {
        Release();
        return &pointer;
    }

    T* Get() const { return pointer; }
    T* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }

private:
    void Assign(T* p)
    {
        if (p)
            p->AddRef();
        Release();
        pointer = p;
    }

    T* pointer = nullptr;
};
