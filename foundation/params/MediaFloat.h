// An unsigned parameter that keeps offset + scale x value as a float, under a
// type of its own. Its owner sets scale and offset, calls Recompute once and
// then sets the value through SetValue with no source.
#pragma once

#include "foundation/params/UINTSclaleTo.h"

template <class T> class MediaFloat;

template <>
class MediaFloat<unsigned int> : public MediaParamT<unsigned int>,
                                 public MediaControlT<MediaParamT<unsigned int>> {
public:
    MediaFloat() { Attach(this); }

    // A copy needs its own self-binding: owners build a new one and set it.
    MediaFloat(const MediaFloat&) = delete;
    MediaFloat& operator=(const MediaFloat&) = delete;

    // The listener part leaves the list first (later base, destroyed first).
    ~MediaFloat() override = default;

    void OnChanged(MediaControl*) override { Recompute(); }
    void Recompute() { result = ScaledResult<float>(offset, scale, value); }

    float result = 0.0f;
    float scale = 1.0f;
    float offset = 0.0f;
};
