#include "objects/sound/WaveFile.h"

#include <dsound.h>

#include <algorithm>
#include <climits>

namespace {

const FOURCC WaveForm = mmioFOURCC('W', 'A', 'V', 'E');
const FOURCC FormatChunk = mmioFOURCC('f', 'm', 't', ' ');
const FOURCC DataChunk = mmioFOURCC('d', 'a', 't', 'a');

// A RIFF header, a format chunk header and a data chunk header.
const std::size_t SmallestWave = 12 + 8 + sizeof(PCMWAVEFORMAT) + 8;

class MemoryFile {
public:
    MemoryFile(const uint8_t* bytes, std::size_t size)
    {
        MMIOINFO info{};
        info.fccIOProc = FOURCC_MEM;
        // Opened for reading only: the bytes are never written.
        info.pchBuffer = reinterpret_cast<HPSTR>(const_cast<uint8_t*>(bytes));
        info.cchBuffer = static_cast<LONG>(size);
        file = mmioOpenW(nullptr, &info, MMIO_READ);
    }
    ~MemoryFile()
    {
        if (file)
            mmioClose(file, 0);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Enters the chunk of the "WAVE" form from the start of the file, so
    // that the chunks may come in any order. The chunk must lie wholly
    // inside the bytes.
    bool FindChunk(FOURCC id, MMCKINFO& chunk, std::size_t size) const
    {
        if (mmioSeek(file, 0, SEEK_SET) != 0)
            return false;
        MMCKINFO riff{};
        riff.fccType = WaveForm;
        if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
            return false;
        chunk = MMCKINFO{};
        chunk.ckid = id;
        if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
            return false;
        return static_cast<uint64_t>(chunk.dwDataOffset) + chunk.cksize <= size;
    }

    bool Read(void* target, LONG count) const
    {
        return mmioRead(file, static_cast<HPSTR>(target), count) == count;
    }

    explicit operator bool() const { return file != nullptr; }

private:
    HMMIO file = nullptr;
};

bool IsPlayablePcm(const WAVEFORMATEX& format)
{
    if (format.wFormatTag != WAVE_FORMAT_PCM)
        return false;
    if (format.nChannels != 1 && format.nChannels != 2)
        return false;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16)
        return false;
    if (format.nSamplesPerSec < DSBFREQUENCY_MIN || format.nSamplesPerSec > DSBFREQUENCY_MAX)
        return false;
    const DWORD frame = format.nChannels * format.wBitsPerSample / 8u;
    return format.nBlockAlign == frame && format.nAvgBytesPerSec == format.nSamplesPerSec * frame;
}

} // namespace

bool ParseWave(const uint8_t* bytes, std::size_t size, WaveData& wave)
{
    if (!bytes || size < SmallestWave || size > static_cast<std::size_t>(LONG_MAX))
        return false;
    MemoryFile file(bytes, size);
    if (!file)
        return false;

    MMCKINFO chunk{};
    if (!file.FindChunk(FormatChunk, chunk, size) || chunk.cksize < sizeof(PCMWAVEFORMAT))
        return false;
    // A PCM format chunk is often 16 bytes, without the extra-size field:
    // only what the chunk holds is read.
    WAVEFORMATEX format{};
    const LONG formatBytes = static_cast<LONG>(std::min<DWORD>(chunk.cksize, sizeof format));
    if (!file.Read(&format, formatBytes) || !IsPlayablePcm(format))
        return false;
    format.cbSize = 0;

    if (!file.FindChunk(DataChunk, chunk, size))
        return false;
    const DWORD playable = chunk.cksize - chunk.cksize % format.nBlockAlign;
    if (playable < DSBSIZE_MIN || playable > DSBSIZE_MAX)
        return false;

    wave.format = format;
    wave.samples = bytes + chunk.dwDataOffset;
    wave.sampleBytes = playable;
    return true;
}
