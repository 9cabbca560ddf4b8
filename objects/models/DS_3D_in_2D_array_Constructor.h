// Copies of one small textured mesh scattered over the whole picture,
// drifting along a stream and tumbling: falling leaves, petals, flakes. The
// mesh and its picture travel with the constructor as embedded files.
#pragma once

#include "foundation/model/DS_ABObj_Constructor.h"
#include "foundation/params/MediaParam.h"
#include "foundation/archive/FileRecord.h"
#include "objects/animation/StreamMotionSettings.h"

#include <cstdint>

class DS_3D_in_2D_array;

class DS_3D_in_2D_array_Constructor : public DS_ABObj_Constructor {
public:
    DS_3D_in_2D_array_Constructor() = default;
    // Takes everything, the embedded files' bytes included.
    DS_3D_in_2D_array_Constructor(const DS_3D_in_2D_array_Constructor& other) = default;
    DS_3D_in_2D_array_Constructor& operator=(const DS_3D_in_2D_array_Constructor&) = delete;
    ~DS_3D_in_2D_array_Constructor() override;

    // "DS_3D_in_2D_array_Constructor", version 1, then the base record.
    void Write(ArchiveHandle& archive) override;
    // Every version reads the same; the settings are stored quietly and the
    // direction worked out from the angle.
    void Read(ArchiveHandle& archive, int32_t version);

    // A DS_3D_in_2D_array on a copy of this constructor; the object owns the
    // copy.
    DS_ABObj* CreateObject() override;

    // The object last built on this constructor; not owned.
    DS_3D_in_2D_array* runtimeObject = nullptr;
    ResourceRecord meshRecord;
    ResourceRecord textureRecord;
    MediaParamT<unsigned int> count{0u};
    StreamMotionSettings motion;
};
