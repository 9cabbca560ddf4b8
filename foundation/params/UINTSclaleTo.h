// An unsigned parameter that keeps offset + scale x value as a byte or a
// float. It listens to itself, so every notified change of the value
// recomputes the result before any later listener is told.
#pragma once

#include "foundation/params/MediaParam.h"

#include <type_traits>

// offset + scale x value for the two result types. The byte form truncates
// toward zero to a signed 32-bit integer (anything outside that range becomes
// 0x80000000) and keeps its low 8 bits; the float form rounds once to float.
template <class T> T ScaledResult(float offset, float scale, unsigned int value);
template <> unsigned char ScaledResult<unsigned char>(float offset, float scale, unsigned int value);
template <> float ScaledResult<float>(float offset, float scale, unsigned int value);

template <class T>
class UINTSclaleTo : public MediaParamT<unsigned int>,
                     public MediaControlT<MediaParamT<unsigned int>> {
    static_assert(std::is_same<T, unsigned char>::value || std::is_same<T, float>::value,
                  "scaled parameters hold a byte or a float");

public:
    // Value 0, scale 1, offset 0; the listener part becomes the second
    // listener, after the undo listener, and computes the first result.
    UINTSclaleTo() : MediaParamT<unsigned int>(0u) { Attach(this); }

    // Copies scale and offset, listens to itself, then takes the other's
    // value through SetValue so that the result follows it. The other's
    // listeners stay behind.
    UINTSclaleTo(const UINTSclaleTo& other)
        : MediaParamT<unsigned int>(), MediaControlT<MediaParamT<unsigned int>>(),
          scale(other.scale), offset(other.offset)
    {
        Attach(this);
        SetValue(other.value, nullptr);
    }

    // Copies would need their own self-binding; owners copy value, scale and
    // offset themselves.
    UINTSclaleTo& operator=(const UINTSclaleTo&) = delete;

    // The listener part is a later base, so it is destroyed first and leaves
    // this parameter's list while the list still exists.
    ~UINTSclaleTo() override = default;

    void OnChanged(MediaControl*) override { Recompute(); }
    void Recompute() { result = ScaledResult<T>(offset, scale, value); }

    T result{};
    float scale = 1.0f;
    float offset = 0.0f;
};

class ArchiveHandle;

// The helpers every owner of scaled float parameters shares.

// Scale, offset and value at once, the result computed from them.
void SetScaled(UINTSclaleTo<float>& parameter, unsigned int value, float scale, float offset);
// Value, scale and offset of another, every listener told so that the result
// follows even when only the scale changed.
void CopyScaled(UINTSclaleTo<float>& to, const UINTSclaleTo<float>& from);
// A uint32 value from the archive, assigned through SetValue: listeners are
// told when it differs, and the result follows.
void ReadScaledValue(ArchiveHandle& archive, UINTSclaleTo<float>& parameter);
void WriteScaledValue(ArchiveHandle& archive, const UINTSclaleTo<float>& parameter);
