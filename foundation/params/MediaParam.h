// Observable values: the parameter base, the typed parameter and the full
// parameter with its undo listener.
#pragma once

#include "foundation/params/MediaControl.h"
#include "foundation/params/UndoCtrl.h"
#include "foundation/core/Types.h"

#include <windows.h>
#include <d3dx9math.h>

#include <cstddef>
#include <vector>

// Keeps an ordered list of listeners (not owned) and tells them of changes.
// Copies never take the listeners along.
class MediaParam {
public:
    MediaParam() = default;
    MediaParam(const MediaParam&) {}
    MediaParam& operator=(const MediaParam&) { return *this; }
    virtual ~MediaParam();

    // An editing action; nothing here.
    virtual void Edit(void* /*argument*/, MediaControl* /*source*/) {}

    void AddListener(MediaControl* listener);
    // Removes every occurrence of listener.
    void RemoveListener(MediaControl* listener);
    // Tells every listener but source, in registration order.
    void NotifyListeners(MediaControl* source);

    std::size_t ListenerCount() const;
    MediaControl* ListenerAt(std::size_t index) const;

private:
    void Compact();

    // Entries removed while a notification walks the list are nulled and
    // compacted when the outermost walk ends, so a listener may leave (or
    // destroy another listener of this list) from inside its OnChanged.
    std::vector<MediaControl*> listeners;
    int walking = 0;
    bool holes = false;
};

// Value-initialised T; D3DX vectors have an empty default constructor, so
// they are zeroed explicitly.
template <class T> inline T ZeroValue() { return T(); }
template <> inline D3DXVECTOR3 ZeroValue<D3DXVECTOR3>() { return D3DXVECTOR3(0.0f, 0.0f, 0.0f); }

// A parameter with a value of type T.
template <class T>
class MediaParamTB : public MediaParam {
public:
    MediaParamTB() : value(ZeroValue<T>()) {}
    explicit MediaParamTB(const T& initial) : value(initial) {}
    MediaParamTB(const MediaParamTB& other) : MediaParam(), value(other.value) {}
    MediaParamTB& operator=(const MediaParamTB& other)
    {
        value = other.value;
        return *this;
    }

    // Stores a different value and tells the listeners; an equal value
    // changes nothing.
    void SetValue(const T& newValue, MediaControl* source)
    {
        if (newValue == value)
            return;
        value = newValue;
        NotifyListeners(source);
    }

    T value;
};

// Vectors are stored and announced without comparing: callers compare first.
template <>
inline void MediaParamTB<D3DXVECTOR3>::SetValue(const D3DXVECTOR3& newValue, MediaControl* source)
{
    value = newValue;
    NotifyListeners(source);
}

// A typed parameter whose first listener is its own undo listener.
template <class T>
class MediaParamT : public MediaParamTB<T> {
public:
    MediaParamT() : MediaParamTB<T>(), undo(this) { Register(); }
    explicit MediaParamT(const T& initial) : MediaParamTB<T>(initial), undo(this) { Register(); }
    MediaParamT(const MediaParamT& other) : MediaParamTB<T>(other), undo(this) { Register(); }
    MediaParamT& operator=(const MediaParamT& other)
    {
        MediaParamTB<T>::operator=(other);
        return *this;
    }
    // The undo listener dies with the parameter and is not told Detach.
    ~MediaParamT() override { this->RemoveListener(&undo); }

    UndoCtrlT<T> undo;

private:
    void Register()
    {
        this->AddListener(&undo);
        undo.Snapshot();
    }
};

// A COLORREF (0x00BBGGRR) under its own type.
class MediaColor : public MediaParamT<unsigned long> {
public:
    explicit MediaColor(unsigned long colour) : MediaParamT<unsigned long>(colour) {}
};
