// The link to a picture, with the undo listener that an editor uses to step
// back through the pictures chosen for it.
#pragma once

#include "foundation/params/MediaControl.h"
#include "foundation/params/UndoCtrl.h"
#include "foundation/resources/DS_FileLink3.h"

#include <cstddef>
#include <list>

class DS_ImageFileLink : public DS_FileLink3 {
public:
    // Keeps the link's earlier (path, stamp) values, newest first. The player
    // never records, so its Undo and Redo find nothing to do.
    class UndoImage : public UndoCtrl, public MediaControl {
    public:
        static constexpr std::size_t HistoryLimit = 20;

        explicit UndoImage(DS_ImageFileLink* ownerLink) : owner(ownerLink) {}

        void Detach() override { owner = nullptr; }
        void OnChanged(MediaControl*) override { Snapshot(); }

        virtual void Snapshot();
        virtual void Undo();
        virtual void Redo();
        virtual void Record();

        FileKey copy;
        DS_ImageFileLink* owner;
        std::list<FileKey> history;
        std::list<FileKey>::iterator cursor = history.end();

    private:
        void Restore();
    };

    DS_ImageFileLink();
    explicit DS_ImageFileLink(const DS_FileLink3& link);
    DS_ImageFileLink(const DS_ImageFileLink& other) : DS_ImageFileLink(static_cast<const DS_FileLink3&>(other)) {}
    DS_ImageFileLink& operator=(const DS_ImageFileLink& other)
    {
        DS_FileLink3::operator=(other);
        return *this;
    }
    DS_ImageFileLink& operator=(const DS_FileLink3& other)
    {
        DS_FileLink3::operator=(other);
        return *this;
    }
    ~DS_ImageFileLink() override;

    // Choosing another picture is the editor's: the player has no picture
    // chooser, so there is no new path to take and the link stays as it is.
    void Edit(void* argument, MediaControl* source) override;

    UndoImage undo;
};
