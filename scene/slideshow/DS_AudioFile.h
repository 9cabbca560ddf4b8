// One piece of the show's music, embedded in the document: its name and the
// file with the path it had when the document was made. The host writes it
// out and plays it.
#pragma once

#include "foundation/core/Types.h"
#include "foundation/model/DS_IOF_Item.h"
#include "foundation/archive/FileRecord.h"

#include <memory>

class DS_AudioFile : public DS_IOF_Item {
public:
    DS_AudioFile() = default;
    DS_AudioFile(const DS_AudioFile&) = delete;
    DS_AudioFile& operator=(const DS_AudioFile&) = delete;

    // The fields after the record's header: the name, then the file.
    void Read(ArchiveHandle& archive);
    // "DS_AudioFile", version 1, the name and the file.
    void Write(ArchiveHandle& archive) override;

    // Shown nowhere by the player.
    ds_string name;
    FileRecord file;
};

// A whole "DS_AudioFile" record: the header (neither the name nor the version
// is checked), then the fields.
std::unique_ptr<DS_AudioFile> ReadAudioFile(ArchiveHandle& archive);
