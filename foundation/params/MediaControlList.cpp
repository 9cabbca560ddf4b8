#include "foundation/params/MediaControlList.h"

MediaControlList::~MediaControlList()
{
    // Binders first, in order: each leaves its parameter's list (or has been
    // told Detach already). Only then may the owner go.
    for (std::unique_ptr<MediaControl>& binder : binders)
        binder.reset();
    if (ownsOwner && owner && deleteOwner)
        deleteOwner(owner);
}

void MediaControlList::Add(std::unique_ptr<MediaControl> binder)
{
    if (binder)
        binders.push_back(std::move(binder));
}
