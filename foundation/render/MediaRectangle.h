// A rectangle of four int parameters in picture pixels, with a point of two
// ints that some owners use.
#pragma once

#include "foundation/params/MediaParam.h"

class ArchiveHandle;

class MediaRectangle : public MediaParam {
public:
    // Every value 0; each edge carries its own undo listener. Copies take the
    // six values and none of the listeners.
    MediaRectangle() = default;
    MediaRectangle(const MediaRectangle&) = default;
    MediaRectangle& operator=(const MediaRectangle&) = default;

    // Six int32 in the order left, right, top, bottom, point x, point y,
    // stored straight into the values: nobody is told.
    void Read(ArchiveHandle& handle);
    void Write(ArchiveHandle& handle);

    // Whether a point given in layer units lies on the rectangle (edges
    // included), once it is turned into back-buffer pixels and then into
    // picture pixels of the current layer (the camera not undone).
    bool Contains(float x, float y) const;

    MediaParamT<int> left{0};
    MediaParamT<int> right{0};
    MediaParamT<int> top{0};
    MediaParamT<int> bottom{0};
    MediaParamTB<int> pointX{0};
    MediaParamTB<int> pointY{0};
};
