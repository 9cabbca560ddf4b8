#include "foundation/resources/DS_ImageFileLink.h"

#include <utility>

void DS_ImageFileLink::UndoImage::Snapshot()
{
    if (owner)
        copy = owner->value;
}

void DS_ImageFileLink::UndoImage::Undo()
{
    if (history.empty() || cursor == history.end())
        return;
    std::swap(copy, *cursor);
    ++cursor;
    Restore();
}

void DS_ImageFileLink::UndoImage::Redo()
{
    if (history.empty() || cursor == history.begin())
        return;
    --cursor;
    std::swap(copy, *cursor);
    Restore();
}

void DS_ImageFileLink::UndoImage::Record()
{
    history.erase(history.begin(), cursor);
    history.push_front(copy);
    if (history.size() > HistoryLimit)
        history.pop_back();
    cursor = history.begin();
}

void DS_ImageFileLink::UndoImage::Restore()
{
    if (owner && owner->value != copy) {
        owner->value = copy;
        owner->NotifyListeners(this);
    }
}

DS_ImageFileLink::DS_ImageFileLink() : undo(this)
{
    AddListener(&undo);
    undo.Snapshot();
}

DS_ImageFileLink::DS_ImageFileLink(const DS_FileLink3& link) : DS_FileLink3(link), undo(this)
{
    AddListener(&undo);
    undo.Snapshot();
}

// The undo listener leaves the list before it and then the link go, so the
// link's own destruction never tells it Detach.
DS_ImageFileLink::~DS_ImageFileLink()
{
    RemoveListener(&undo);
}

void DS_ImageFileLink::Edit(void* /*argument*/, MediaControl* /*source*/) {}
