#include "foundation/params/MediaParam.h"

#include <algorithm>

MediaParam::~MediaParam()
{
    // Every listener still bound forgets this parameter; none is deleted.
    for (MediaControl* listener : listeners)
        if (listener)
            listener->Detach();
}

void MediaParam::AddListener(MediaControl* listener)
{
    listeners.push_back(listener);
}

void MediaParam::RemoveListener(MediaControl* listener)
{
    if (walking > 0) {
        for (MediaControl*& entry : listeners)
            if (entry == listener) {
                entry = nullptr;
                holes = true;
            }
        return;
    }
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

void MediaParam::NotifyListeners(MediaControl* source)
{
    ++walking;
    // Listeners added during the walk are not told: they derived their state
    // when they attached.
    const std::size_t count = listeners.size();
    for (std::size_t i = 0; i < count; ++i) {
        MediaControl* listener = listeners[i];
        if (listener && listener != source)
            listener->OnChanged(source);
    }
    if (--walking == 0 && holes)
        Compact();
}

std::size_t MediaParam::ListenerCount() const
{
    return static_cast<std::size_t>(std::count_if(listeners.begin(), listeners.end(),
                                                  [](MediaControl* l) { return l != nullptr; }));
}

MediaControl* MediaParam::ListenerAt(std::size_t index) const
{
    for (MediaControl* listener : listeners)
        if (listener && index-- == 0)
            return listener;
    return nullptr;
}

void MediaParam::Compact()
{
    listeners.erase(std::remove(listeners.begin(), listeners.end(), nullptr), listeners.end());
    holes = false;
}
