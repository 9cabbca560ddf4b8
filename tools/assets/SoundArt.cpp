#include "tools/assets/SoundArt.h"

namespace {

void Put16(Bytes& bytes, uint32_t v)
{
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& bytes, uint32_t v)
{
    Put16(bytes, v & 0xFFFF);
    Put16(bytes, v >> 16);
}

void PutTag(Bytes& bytes, const char* tag) { bytes.insert(bytes.end(), tag, tag + 4); }

} // namespace

Bytes EncodeWav(const SoundClip& clip)
{
    const uint32_t dataBytes = static_cast<uint32_t>(clip.samples.size() * 2);
    const uint32_t formatBytes = 16;
    Bytes bytes;
    PutTag(bytes, "RIFF");
    Put32(bytes, 4 + 8 + formatBytes + 8 + dataBytes);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    Put32(bytes, formatBytes);
    Put16(bytes, 1); // PCM
    Put16(bytes, 1); // mono
    Put32(bytes, clip.sampleRate);
    Put32(bytes, clip.sampleRate * 2);
    Put16(bytes, 2);
    Put16(bytes, 16);
    PutTag(bytes, "data");
    Put32(bytes, dataBytes);
    for (int16_t sample : clip.samples)
        Put16(bytes, static_cast<uint16_t>(sample));
    return bytes;
}
