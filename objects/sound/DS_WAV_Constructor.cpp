#include "objects/sound/DS_WAV_Constructor.h"

#include "foundation/core/Random.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/archive/FileRecord.h"
#include "objects/sound/WaveFile.h"

#include <algorithm>
#include <cstring>

namespace {

const wchar_t* const RecordName = L"DS_WAV_Constructor";
const int32_t WrittenVersion = 1;

// The samples into the whole buffer. A buffer lost meanwhile is restored
// first; false when it cannot be written, and then it holds nothing to play.
bool FillWaveBuffer(IDirectSoundBuffer8& buffer, const WaveData& wave)
{
    void* part = nullptr;
    DWORD partBytes = 0;
    HRESULT locked = buffer.Lock(0, 0, &part, &partBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    if (locked == DSERR_BUFFERLOST && SUCCEEDED(buffer.Restore()))
        locked = buffer.Lock(0, 0, &part, &partBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    if (FAILED(locked) || !part)
        return false;
    const DWORD copied = std::min(partBytes, wave.sampleBytes);
    std::memcpy(part, wave.samples, copied);
    // Silence after the samples, should the device have made the buffer
    // larger than asked.
    std::memset(static_cast<uint8_t*>(part) + copied, wave.format.wBitsPerSample == 8 ? 0x80 : 0, partBytes - copied);
    return SUCCEEDED(buffer.Unlock(part, partBytes, nullptr, 0));
}

// A secondary buffer with the samples copied in, or none.
ComHolder<IDirectSoundBuffer8> CreateWaveBuffer(const WaveData& wave)
{
    WAVEFORMATEX format = wave.format;
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = SoundBufferFlags | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    description.dwBufferBytes = wave.sampleBytes;
    description.lpwfxFormat = &format;
    ComHolder<IDirectSoundBuffer> created;
    if (FAILED(SoundDevice->CreateSoundBuffer(&description, created.Out(), nullptr)) || !created)
        return {};
    ComHolder<IDirectSoundBuffer8> buffer;
    if (FAILED(created->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(buffer.Out()))) || !buffer)
        return {};
    // A buffer whose samples could not be written would play whatever it
    // happens to hold.
    if (!FillWaveBuffer(*buffer.Get(), wave))
        return {};
    return buffer;
}

} // namespace

DS_WAV_Constructor::DS_WAV_Constructor(const DS_WAV_Constructor& other)
    : DS_Sound_Ctrl(other),
      waveLink(other.waveLink),
      buffer(other.buffer),
      nextTriggerTime(other.nextTriggerTime),
      waveSource(other.waveSource),
      silenced(other.silenced)
{
}

void DS_WAV_Constructor::Read(ArchiveHandle& archive, int32_t)
{
    ReadFileLink(archive, waveLink);
    ReadSoundCtrl(archive, *this);
}

void DS_WAV_Constructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteFileLink(waveLink, archive);
    DS_Sound_Ctrl::Write(archive);
}

bool DS_WAV_Constructor::FindWave(WaveData& wave) const
{
    if (!waveSource)
        return false;
    const ResourceRecord* record = waveSource->GetLinkRecord(waveLink);
    if (!record || !record->Bytes() || record->Size() <= 0)
        return false;
    return ParseWave(record->Bytes(), static_cast<std::size_t>(record->Size()), wave);
}

void DS_WAV_Constructor::Load()
{
    if (!SoundDevice || !CurrentResManager || silenced)
        return;
    waveSource = CurrentResManager;
    WaveData wave;
    if (!FindWave(wave))
        return;
    ComHolder<IDirectSoundBuffer8> made = CreateWaveBuffer(wave);
    if (!made)
        return;
    buffer = made;
    buffer->SetVolume(BufferVolume());
    buffer->SetPan(BufferPan());
}

bool DS_WAV_Constructor::RestoreLostBuffer()
{
    WaveData wave;
    return SUCCEEDED(buffer->Restore()) && FindWave(wave) && FillWaveBuffer(*buffer.Get(), wave);
}

HRESULT DS_WAV_Constructor::Start(DWORD playFlags, bool fromStart)
{
    if (!buffer)
        return DSERR_UNINITIALIZED;
    HRESULT hr = fromStart ? buffer->SetCurrentPosition(0) : DS_OK;
    if (SUCCEEDED(hr))
        hr = buffer->Play(0, 0, playFlags);
    // The device took the buffer's memory (another program's exclusive
    // sound): once it gives it back the samples go in again. A buffer that
    // cannot be restored yet stays silent until the next play tries again.
    if (hr == DSERR_BUFFERLOST && RestoreLostBuffer()) {
        hr = fromStart ? buffer->SetCurrentPosition(0) : DS_OK;
        if (SUCCEEDED(hr))
            hr = buffer->Play(0, 0, playFlags);
    }
    return hr;
}

HRESULT DS_WAV_Constructor::PlayLooped() { return Start(DSBPLAY_LOOPING, true); }

HRESULT DS_WAV_Constructor::Stop()
{
    return buffer ? buffer->Stop() : DSERR_UNINITIALIZED;
}

HRESULT DS_WAV_Constructor::PlayOnce() { return Start(0, true); }

void DS_WAV_Constructor::Silence()
{
    silenced = true;
    paused = false;
    buffer.Release();
}

void DS_WAV_Constructor::Pause()
{
    // A second pause before the resume must not forget what played.
    if (!buffer || paused)
        return;
    DWORD status = 0;
    const bool playing = SUCCEEDED(buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
    resumeFlags = status & DSBSTATUS_LOOPING ? DSBPLAY_LOOPING : 0;
    buffer->Stop();
    paused = playing;
}

void DS_WAV_Constructor::Resume()
{
    if (!paused)
        return;
    paused = false;
    Start(resumeFlags, false);
}

void DS_WAV_Constructor::Tick(float time)
{
    if (Loops() || time <= nextTriggerTime)
        return;
    PlayOnce();
    nextTriggerTime = time + RandomRange(static_cast<float>(minimumInterval.value),
                                         static_cast<float>(maximumInterval.value));
}

DS_Sound_Ctrl* DS_WAV_Constructor::Clone() const { return new DS_WAV_Constructor(*this); }
