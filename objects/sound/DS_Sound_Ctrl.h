// The settings every sound object of a slide shares: how loud it plays, where
// it sits between the left and right speakers, and whether it loops while its
// slide is shown or plays once at random intervals. A subclass holds the sound
// itself and plays it; the runtime object (DS_Sound) drives it.
#pragma once

#include "foundation/model/DS_ABObj_Constructor.h"
#include "foundation/params/MediaParam.h"

#include <windows.h>

#include <cstdint>

class DS_Sound_Ctrl : public DS_ABObj_Constructor {
public:
    // The values of mode.
    static constexpr int LoopMode = 0;

    ~DS_Sound_Ctrl() override = default;

    // "DS_Sound_Ctrl", version 2, the five values, then the constructor base
    // record.
    void Write(ArchiveHandle& archive) override;
    // A DS_Sound over a clone of this controller, which it loads.
    DS_ABObj* CreateObject() override;

    // Gets the sound ready to play.
    virtual void Load() = 0;
    virtual HRESULT PlayLooped() = 0;
    virtual HRESULT Stop() = 0;
    // From the start, once; a sound that is playing starts again.
    virtual HRESULT PlayOnce() = 0;
    // The per-frame step of the current slide, with the application time in
    // seconds: a sound that plays at random intervals plays when its time
    // has come.
    virtual void Tick(float time) = 0;
    // A copy of this controller, owned by the caller.
    virtual DS_Sound_Ctrl* Clone() const = 0;
    // The next tick plays the sound (entering the slide of a sound that plays
    // at random intervals).
    virtual void TriggerAtNextTick() = 0;
    // Never heard from now on (the same scene shown on another screen); the
    // calls and the timings go on as before, so nothing else changes.
    virtual void Silence() = 0;
    // Stops the sound where it is, remembering whether it played; Resume
    // plays it on from there when it did. While the show's screens are
    // reset, or for good when they go.
    virtual void Pause() = 0;
    virtual void Resume() = 0;

    bool Loops() const { return mode.value == LoopMode; }
    // The volume in hundredths of a decibel, 0 (full) down to -5000 at 0.
    LONG BufferVolume() const;
    // The pan from -5000 (left) through 0 to +5000 (right).
    LONG BufferPan() const;

    // 0 to 100.
    MediaParamT<unsigned int> volume{100};
    // 0 full left, 50 centre, 100 full right.
    MediaParamT<unsigned int> balance{50};
    // LoopMode, or any other value: at random intervals.
    MediaParamT<int> mode{LoopMode};
    // In seconds.
    MediaParamT<unsigned int> minimumInterval{0};
    MediaParamT<unsigned int> maximumInterval{5};

protected:
    DS_Sound_Ctrl() = default;
    // The values only, never the listeners.
    DS_Sound_Ctrl(const DS_Sound_Ctrl&) = default;
    DS_Sound_Ctrl& operator=(const DS_Sound_Ctrl&) = delete;
};

// The "DS_Sound_Ctrl" record at the archive's position: the header (its name
// is not compared and its version changes nothing), the five values straight
// into the parameters, then the constructor base record.
void ReadSoundCtrl(ArchiveHandle& archive, DS_Sound_Ctrl& controller);
