// The undo listener that every full parameter carries. The player never
// records into it, so its history stays empty; the operations are complete so
// that an editor built on the same classes behaves.
#pragma once

#include "foundation/params/MediaControl.h"

#include <list>

template <class T> class MediaParamT;

class UndoCtrl {};

template <class T>
class UndoCtrlT : public UndoCtrl, public MediaControl {
public:
    static constexpr std::size_t HistoryLimit = 20;

    explicit UndoCtrlT(MediaParamT<T>* ownerParam) : owner(ownerParam) {}

    void Detach() override { owner = nullptr; }
    void OnChanged(MediaControl*) override { Snapshot(); }

    virtual void Snapshot()
    {
        if (owner)
            copy = owner->value;
    }

    virtual void Undo()
    {
        if (history.empty() || cursor == history.end())
            return;
        std::swap(copy, *cursor);
        ++cursor;
        Restore();
    }

    virtual void Redo()
    {
        if (history.empty() || cursor == history.begin())
            return;
        --cursor;
        std::swap(copy, *cursor);
        Restore();
    }

    virtual void Record()
    {
        history.erase(history.begin(), cursor);
        history.push_front(copy);
        if (history.size() > HistoryLimit)
            history.pop_back();
        cursor = history.begin();
    }

    T copy{};
    MediaParamT<T>* owner;
    std::list<T> history;
    typename std::list<T>::iterator cursor = history.end();

private:
    void Restore()
    {
        if (owner && owner->value != copy) {
            owner->value = copy;
            owner->NotifyListeners(this);
        }
    }
};
