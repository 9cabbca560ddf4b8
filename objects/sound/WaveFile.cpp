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

// The highest rate a DirectSound buffer is documented to play; older mingw
// headers give the DirectX 8 value, half of it. A device that cannot play a
// rate up to this refuses the buffer, and the sound stays silent.
const DWORD HighestSampleRate = 200000;

// The extensible format: the basic one, then valid bits per sample, the
// speaker mask and the subformat GUID, which says what the samples are.
#pragma pack(push, 1)
struct ExtensibleFormat {
    WAVEFORMATEX basic;
    WORD validBitsPerSample;
    DWORD channelMask;
    GUID subFormat;
};
#pragma pack(pop)
static_assert(sizeof(ExtensibleFormat) == 40, "the extensible format chunk is 40 bytes");
const WORD ExtensibleTag = 0xFFFE;
const WORD ExtensibleExtraSize = sizeof(ExtensibleFormat) - sizeof(WAVEFORMATEX);
// KSDATAFORMAT_SUBTYPE_PCM: the subformat of plain integer samples.
const GUID PcmSubFormat = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

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

// Editors write even 16-bit stereo in the extensible form; with integer
// samples in one or two channels it says nothing the plain PCM format does
// not, and the plain one is what every DirectSound takes. False for any other
// subformat, or for a chunk too short to hold the extensible fields.
bool UnwrapExtensible(const ExtensibleFormat& chunk, DWORD chunkBytes, WAVEFORMATEX& format)
{
    if (chunkBytes < sizeof chunk || chunk.basic.cbSize < ExtensibleExtraSize)
        return false;
    if (!IsEqualGUID(chunk.subFormat, PcmSubFormat))
        return false;
    if (chunk.validBitsPerSample == 0 || chunk.validBitsPerSample > chunk.basic.wBitsPerSample)
        return false;
    format = chunk.basic;
    format.wFormatTag = WAVE_FORMAT_PCM;
    return true;
}

bool IsPlayablePcm(const WAVEFORMATEX& format)
{
    if (format.wFormatTag != WAVE_FORMAT_PCM)
        return false;
    if (format.nChannels != 1 && format.nChannels != 2)
        return false;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16)
        return false;
    if (format.nSamplesPerSec < DSBFREQUENCY_MIN || format.nSamplesPerSec > HighestSampleRate)
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
    ExtensibleFormat read{};
    const LONG formatBytes = static_cast<LONG>(std::min<DWORD>(chunk.cksize, sizeof read));
    if (!file.Read(&read, formatBytes))
        return false;
    WAVEFORMATEX format = read.basic;
    if (format.wFormatTag == ExtensibleTag && !UnwrapExtensible(read, chunk.cksize, format))
        return false;
    if (!IsPlayablePcm(format))
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
