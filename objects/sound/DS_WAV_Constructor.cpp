#include "objects/sound/DS_WAV_Constructor.h"

#include "foundation/Numeric.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/FileRecord.h"
#include "objects/sound/WaveFile.h"

#include <algorithm>
#include <cstring>

namespace {

const wchar_t* const RecordName = L"DS_WAV_Constructor";
const int32_t WrittenVersion = 1;

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
    if (FAILED(created->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(buffer.Out()))))
        return {};

    void* part = nullptr;
    DWORD partBytes = 0;
    if (SUCCEEDED(buffer->Lock(0, 0, &part, &partBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        std::memcpy(part, wave.samples, std::min(partBytes, wave.sampleBytes));
        buffer->Unlock(part, partBytes, nullptr, 0);
    }
    return buffer;
}

} // namespace

DS_WAV_Constructor::DS_WAV_Constructor(const DS_WAV_Constructor& other)
    : DS_Sound_Ctrl(other), waveLink(other.waveLink), buffer(other.buffer), nextTriggerTime(other.nextTriggerTime)
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

void DS_WAV_Constructor::Load()
{
    if (!SoundDevice || !CurrentResManager)
        return;
    const ResourceRecord* record = CurrentResManager->GetLinkRecord(waveLink);
    if (!record || !record->Bytes() || record->Size() <= 0)
        return;
    WaveData wave;
    if (!ParseWave(record->Bytes(), static_cast<std::size_t>(record->Size()), wave))
        return;
    ComHolder<IDirectSoundBuffer8> made = CreateWaveBuffer(wave);
    if (!made)
        return;
    buffer = made;
    buffer->SetVolume(BufferVolume());
    buffer->SetPan(BufferPan());
}

HRESULT DS_WAV_Constructor::PlayLooped()
{
    if (!buffer)
        return DSERR_UNINITIALIZED;
    const HRESULT rewound = buffer->SetCurrentPosition(0);
    return FAILED(rewound) ? rewound : buffer->Play(0, 0, DSBPLAY_LOOPING);
}

HRESULT DS_WAV_Constructor::Stop()
{
    return buffer ? buffer->Stop() : DSERR_UNINITIALIZED;
}

HRESULT DS_WAV_Constructor::PlayOnce()
{
    if (!buffer)
        return DSERR_UNINITIALIZED;
    const HRESULT rewound = buffer->SetCurrentPosition(0);
    return FAILED(rewound) ? rewound : buffer->Play(0, 0, 0);
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
