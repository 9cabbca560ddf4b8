// A sound object of a slide that plays a WAV file embedded in the document.
// The constructor read from the document only holds the link; the clone a
// DS_Sound owns loads the samples into a DirectSound buffer of its own.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/resources/DS_FileLink3.h"
#include "objects/sound/DS_Sound_Ctrl.h"
#include "objects/sound/SoundDevice.h"
#include "objects/sound/WaveFile.h"

#include <cstdint>

class DS_DocResManager;

class DS_WAV_Constructor : public DS_Sound_Ctrl {
public:
    DS_WAV_Constructor() = default;
    // Copies the settings, the link and the trigger time and shares the
    // buffer.
    DS_WAV_Constructor(const DS_WAV_Constructor& other);
    DS_WAV_Constructor& operator=(const DS_WAV_Constructor&) = delete;
    ~DS_WAV_Constructor() override = default;

    // The record after its header (whose version changes nothing): the wave
    // link, then the "DS_Sound_Ctrl" record.
    void Read(ArchiveHandle& archive, int32_t version);
    // "DS_WAV_Constructor", version 1, the link, the "DS_Sound_Ctrl" record.
    void Write(ArchiveHandle& archive) override;

    // The WAV file of the link, from CurrentResManager, into a new buffer with
    // the volume and pan set, not playing: only the current slide's sounds
    // play. Without the device, the file or a playable WAV in it, the
    // controller has no buffer and stays silent.
    void Load() override;
    // From the start, looping. Each play of a buffer the device lost
    // restores it, writes the samples in again and plays.
    HRESULT PlayLooped() override;
    HRESULT Stop() override;
    HRESULT PlayOnce() override;
    // In a mode other than looping: once the time is past the trigger time,
    // plays once and draws the next trigger time between the two intervals
    // from now, whether or not it could play.
    void Tick(float time) override;
    DS_Sound_Ctrl* Clone() const override;
    void TriggerAtNextTick() override { nextTriggerTime = 0.0f; }
    // The buffer goes, and no load makes another.
    void Silence() override;
    void Pause() override;
    void Resume() override;

    DS_FileLink3 waveLink;
    // None until loaded; each play, stop and tick of a controller without
    // one does nothing and answers DSERR_UNINITIALIZED.
    ComHolder<IDirectSoundBuffer8> buffer;
    // Application seconds.
    float nextTriggerTime = 0.0f;

private:
    // The WAV of the link in the document it was loaded from.
    bool FindWave(WaveData& wave) const;
    bool RestoreLostBuffer();
    HRESULT Start(DWORD playFlags, bool fromStart);

    // The document's resources the samples came from, for a buffer that has
    // to be written again; they live as long as the document's player.
    DS_DocResManager* waveSource = nullptr;
    bool silenced = false;
    // Stopped by Pause while it played, and how it played.
    bool paused = false;
    DWORD resumeFlags = 0;
};
