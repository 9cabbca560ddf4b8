// Four corner vectors; their meaning belongs to the owner.
#pragma once

#include "foundation/params/MediaParam.h"

class ArchiveHandle;

class MediaQuad : public MediaParam {
public:
    static constexpr int CornerCount = 4;

    // Every corner (0, 0, 0). Copies take the twelve components and none of
    // the listeners.
    MediaQuad() = default;
    MediaQuad(const MediaQuad&) = default;
    MediaQuad& operator=(const MediaQuad&) = default;

    // Twelve floats, corner 0 x, y, z through corner 3 x, y, z, stored
    // straight into the values: nobody is told.
    void Read(ArchiveHandle& handle);
    void Write(ArchiveHandle& handle);

    MediaParamTB<D3DXVECTOR3> corners[CornerCount];
};
