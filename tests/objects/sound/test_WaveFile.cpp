#include "objects/sound/WaveFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v)
{
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A chunk whose header states `declared` bytes, whatever the body holds; odd
// bodies get their pad byte.
Bytes Chunk(const char* id, const Bytes& body, uint32_t declared)
{
    Bytes b(id, id + 4);
    Put32(b, declared);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2)
        b.push_back(0);
    return b;
}

Bytes Chunk(const char* id, const Bytes& body) { return Chunk(id, body, static_cast<uint32_t>(body.size())); }

Bytes Riff(const Bytes& chunks, const char* form = "WAVE")
{
    Bytes body(form, form + 4);
    body.insert(body.end(), chunks.begin(), chunks.end());
    return Chunk("RIFF", body);
}

// The 16 bytes of a PCM format, consistent unless told otherwise.
Bytes Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, int blockAlign = -1)
{
    const uint16_t align = blockAlign < 0 ? static_cast<uint16_t>(channels * bits / 8) : static_cast<uint16_t>(blockAlign);
    Bytes b;
    Put16(b, tag);
    Put16(b, channels);
    Put32(b, rate);
    Put32(b, rate * align);
    Put16(b, align);
    Put16(b, bits);
    return b;
}

Bytes Samples(std::size_t count)
{
    Bytes b(count);
    for (std::size_t i = 0; i < count; ++i)
        b[i] = static_cast<uint8_t>(i * 7 + 3);
    return b;
}

const Bytes Mono16 = Format(WAVE_FORMAT_PCM, 1, 22050, 16);

const Bytes PcmSubFormat{1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
const Bytes FloatSubFormat{3, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};

// The 40 bytes of an extensible format over the basic one of 16 bytes: extra
// size, valid bits, the front-left and front-right speakers, the subformat.
Bytes Extensible(const Bytes& basic, const Bytes& subFormat, uint16_t validBits, uint16_t extraSize = 22)
{
    Bytes b = basic;
    Put16(b, extraSize);
    Put16(b, validBits);
    Put32(b, 3);
    b.insert(b.end(), subFormat.begin(), subFormat.end());
    return b;
}
const Bytes Data = Samples(200);

// The bytes placed so that the last one ends a readable page and the page
// after it cannot be read: any read past the end faults at once.
class GuardedBytes {
public:
    explicit GuardedBytes(const Bytes& bytes)
    {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        const std::size_t page = info.dwPageSize;
        const std::size_t readable = (bytes.size() + page - 1) / page * page + page;
        base = static_cast<uint8_t*>(VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base + readable, page, PAGE_NOACCESS, &old);
        start = base + readable - bytes.size();
        if (!bytes.empty())
            std::memcpy(start, bytes.data(), bytes.size());
        size = bytes.size();
    }
    ~GuardedBytes() { VirtualFree(base, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    uint8_t* base = nullptr;
    uint8_t* start = nullptr;
    std::size_t size = 0;
};

struct WaveCase {
    const char* name;
    Bytes bytes;
    bool plays;
    // For a wave that plays: its format and where its samples are.
    uint16_t channels = 0;
    uint16_t bits = 0;
    std::size_t dataOffset = 0;
    DWORD sampleBytes = 0;
};

std::vector<WaveCase> WaveCases()
{
    const Bytes list = Chunk("LIST", Samples(9));
    const Bytes good = Riff(Cat({Chunk("fmt ", Mono16), Chunk("data", Data)}));
    return {
        {"16-bit mono, 16-byte format chunk", good, true, 1, 16, 44, 200},
        {"8-bit stereo, 18-byte format chunk", Riff(Cat({Chunk("fmt ", Cat({Format(1, 2, 11025, 8), {0, 0}})),
                                                         Chunk("data", Data)})),
         true, 2, 8, 46, 200},
        {"a long PCM format chunk", Riff(Cat({Chunk("fmt ", Cat({Mono16, {4, 0, 1, 2, 3, 4}})), Chunk("data", Data)})),
         true, 1, 16, 50, 200},
        {"data first, after an odd-sized chunk", Riff(Cat({list, Chunk("data", Data), Chunk("fmt ", Mono16)})), true, 1,
         16, 12 + list.size() + 8, 200},
        {"an odd data size plays whole frames", Riff(Cat({Chunk("fmt ", Mono16), Chunk("data", Samples(201))})), true, 1,
         16, 44, 200},
        {"a data size larger than the bytes", Riff(Cat({Chunk("fmt ", Mono16), Chunk("data", Data, 201)})), false},
        {"a data size near 4 GiB", Riff(Cat({Chunk("fmt ", Mono16), Chunk("data", Data, 0xFFFFFFF0u)})), false},
        {"cut inside the data", Bytes(good.begin(), good.end() - 50), false},
        {"cut inside the format chunk", Bytes(good.begin(), good.begin() + 30), false},
        {"a format chunk larger than the bytes", Riff(Chunk("fmt ", Mono16, 4000)), false},
        {"16-bit stereo in the extensible format",
         Riff(Cat({Chunk("fmt ", Extensible(Format(0xFFFE, 2, 44100, 16), PcmSubFormat, 16)), Chunk("data", Data)})),
         true, 2, 16, 68, 200},
        {"12 valid bits of 16, extensible", Riff(Cat({Chunk("fmt ", Extensible(Format(0xFFFE, 1, 8000, 16),
                                                                             PcmSubFormat, 12)),
                                                   Chunk("data", Data)})),
         true, 1, 16, 68, 200},
        {"IEEE float, extensible", Riff(Cat({Chunk("fmt ", Extensible(Format(0xFFFE, 1, 22050, 32), FloatSubFormat, 32)),
                                             Chunk("data", Data)})),
         false},
        {"more valid bits than the samples hold, extensible",
         Riff(Cat({Chunk("fmt ", Extensible(Format(0xFFFE, 2, 44100, 16), PcmSubFormat, 24)), Chunk("data", Data)})),
         false},
        {"an extensible tag without the extensible fields",
         Riff(Cat({Chunk("fmt ", Cat({Format(0xFFFE, 2, 44100, 16), {0, 0}})), Chunk("data", Data)})), false},
        {"an extensible chunk that says it is shorter",
         Riff(Cat({Chunk("fmt ", Extensible(Format(0xFFFE, 2, 44100, 16), PcmSubFormat, 16, 20)),
                   Chunk("data", Data)})),
         false},
        {"192 kHz", Riff(Cat({Chunk("fmt ", Format(1, 1, 192000, 16)), Chunk("data", Data)})), true, 1, 16, 44, 200},
        {"200 kHz", Riff(Cat({Chunk("fmt ", Format(1, 2, 200000, 8)), Chunk("data", Data)})), true, 2, 8, 44, 200},
        {"above 200 kHz", Riff(Cat({Chunk("fmt ", Format(1, 1, 200001, 16)), Chunk("data", Data)})), false},
        {"below 100 Hz", Riff(Cat({Chunk("fmt ", Format(1, 1, 99, 16)), Chunk("data", Data)})), false},
        {"IMA ADPCM", Riff(Cat({Chunk("fmt ", Cat({Format(0x11, 1, 22050, 4, 256), {2, 0, 0xF9, 1}})),
                                Chunk("data", Data)})),
         false},
        {"IEEE float", Riff(Cat({Chunk("fmt ", Format(3, 1, 22050, 32)), Chunk("data", Data)})), false},
        {"24-bit PCM", Riff(Cat({Chunk("fmt ", Format(1, 1, 22050, 24)), Chunk("data", Data)})), false},
        {"a block size that does not match", Riff(Cat({Chunk("fmt ", Format(1, 2, 22050, 16, 2)), Chunk("data", Data)})),
         false},
        {"no channels", Riff(Cat({Chunk("fmt ", Format(1, 0, 22050, 16)), Chunk("data", Data)})), false},
        {"a 14-byte format chunk", Riff(Cat({Chunk("fmt ", Bytes(Mono16.begin(), Mono16.begin() + 14)),
                                             Chunk("data", Data)})),
         false},
        {"no data chunk", Riff(Chunk("fmt ", Mono16)), false},
        {"no format chunk", Riff(Chunk("data", Data)), false},
        {"less than a frame of data", Riff(Cat({Chunk("fmt ", Mono16), Chunk("data", Samples(3))})), false},
        {"another RIFF form", Riff(Cat({Chunk("fmt ", Mono16), Chunk("data", Data)}), "AVI "), false},
        {"no bytes", {}, false},
        {"a bare header", Bytes(good.begin(), good.begin() + 12), false},
    };
}

} // namespace

TEST(WaveFile, PlaysWholePcmAndRefusesEverythingElseWithoutReadingPastTheBytes)
{
    for (const WaveCase& c : WaveCases()) {
        SCOPED_TRACE(c.name);
        GuardedBytes guarded(c.bytes);
        WaveData wave;

        ASSERT_EQ(c.plays, ParseWave(guarded.start, guarded.size, wave));

        if (!c.plays) {
            EXPECT_EQ(nullptr, wave.samples);
            continue;
        }
        EXPECT_EQ(WAVE_FORMAT_PCM, wave.format.wFormatTag);
        EXPECT_EQ(c.channels, wave.format.nChannels);
        EXPECT_EQ(c.bits, wave.format.wBitsPerSample);
        EXPECT_EQ(0, wave.format.cbSize);
        EXPECT_EQ(guarded.start + c.dataOffset, wave.samples);
        EXPECT_EQ(c.sampleBytes, wave.sampleBytes);
        EXPECT_EQ(0, std::memcmp(wave.samples, Data.data(), c.sampleBytes));
    }
}
