#include "tools/encoders/ImageWriters.h"

#include <array>

namespace {

void PutBE32(Bytes& out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(static_cast<uint8_t>(v >> s));
}

void PutLE16(Bytes& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutLE32(Bytes& out, uint32_t v)
{
    PutLE16(out, v & 0xFFFF);
    PutLE16(out, v >> 16);
}

void PutChunk(Bytes& out, const char type[4], const Bytes& body)
{
    PutBE32(out, static_cast<uint32_t>(body.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBE32(out, Crc32(out.data() + start, out.size() - start));
}

// Bit writer for deflate, least significant bit first.
class BitWriter {
public:
    explicit BitWriter(Bytes& target) : out(target) {}
    void Put(uint32_t bits, int count)
    {
        acc |= static_cast<uint64_t>(bits) << used;
        used += count;
        while (used >= 8) {
            out.push_back(static_cast<uint8_t>(acc));
            acc >>= 8;
            used -= 8;
        }
    }
    // Huffman codes go most significant bit first.
    void PutCode(uint32_t code, int length)
    {
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Put(reversed, length);
    }
    void Flush()
    {
        if (used > 0)
            out.push_back(static_cast<uint8_t>(acc));
        acc = 0;
        used = 0;
    }

private:
    Bytes& out;
    uint64_t acc = 0;
    int used = 0;
};

// The fixed literal/length code of deflate.
void PutLiteral(BitWriter& w, int symbol)
{
    if (symbol < 144)
        w.PutCode(0x30 + symbol, 8);
    else if (symbol < 256)
        w.PutCode(0x190 + (symbol - 144), 9);
    else if (symbol < 280)
        w.PutCode(symbol - 256, 7);
    else
        w.PutCode(0xC0 + (symbol - 280), 8);
}

constexpr std::array<int, 29> LengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                         31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> LengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> DistBase{1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                       33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                       1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> DistExtra{0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& w, int length, int distance)
{
    int li = 28;
    while (LengthBase[li] > length)
        --li;
    PutLiteral(w, 257 + li);
    w.Put(static_cast<uint32_t>(length - LengthBase[li]), LengthExtra[li]);
    int di = 29;
    while (DistBase[di] > distance)
        --di;
    w.PutCode(static_cast<uint32_t>(di), 5);
    w.Put(static_cast<uint32_t>(distance - DistBase[di]), DistExtra[di]);
}

} // namespace

uint32_t Crc32(const uint8_t* data, std::size_t size, uint32_t crc)
{
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// One fixed-Huffman block with greedy LZ77 matching over hash chains: small,
// deterministic, and plenty for smooth procedural pictures.
Bytes ZlibCompress(const Bytes& data)
{
    constexpr int Window = 32768;
    constexpr int MaxMatch = 258;
    constexpr int MaxChain = 64;
    constexpr int HashBits = 15;

    Bytes out{0x78, 0x01};
    BitWriter w(out);
    w.Put(1, 1); // final block
    w.Put(1, 2); // fixed Huffman codes

    std::vector<int> head(1 << HashBits, -1);
    std::vector<int> prev(data.size(), -1);
    auto hash = [&](std::size_t i) {
        return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & ((1 << HashBits) - 1);
    };
    auto insert = [&](std::size_t i) {
        if (i + 2 < data.size()) {
            const int h = hash(i);
            prev[i] = head[h];
            head[h] = static_cast<int>(i);
        }
    };

    std::size_t i = 0;
    while (i < data.size()) {
        int bestLength = 0;
        int bestDistance = 0;
        if (i + 2 < data.size()) {
            int candidate = head[hash(i)];
            const int limit = static_cast<int>(std::min<std::size_t>(MaxMatch, data.size() - i));
            for (int chain = 0; candidate >= 0 && chain < MaxChain; ++chain, candidate = prev[candidate]) {
                const int distance = static_cast<int>(i) - candidate;
                if (distance > Window)
                    break;
                int length = 0;
                while (length < limit && data[candidate + length] == data[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                    if (length == limit)
                        break;
                }
            }
        }
        if (bestLength >= 3) {
            PutMatch(w, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k)
                insert(i + k);
            i += static_cast<std::size_t>(bestLength);
        } else {
            PutLiteral(w, data[i]);
            insert(i);
            ++i;
        }
    }
    PutLiteral(w, 256);
    w.Flush();

    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBE32(out, (b << 16) | a);
    return out;
}

Bytes EncodePng(const Image& image, bool withAlpha)
{
    const int channels = withAlpha ? 4 : 3;
    // Rows after the first use the "up" filter: cheap, and good on gradients.
    Bytes raw;
    raw.reserve(static_cast<std::size_t>(image.height) * (1 + image.width * channels));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(y == 0 ? 0 : 2);
        for (int x = 0; x < image.width; ++x)
            for (int c = 0; c < channels; ++c) {
                const uint8_t v = image.Pixel(x, y)[c];
                raw.push_back(y == 0 ? v : static_cast<uint8_t>(v - image.Pixel(x, y - 1)[c]));
            }
    }

    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBE32(header, static_cast<uint32_t>(image.width));
    PutBE32(header, static_cast<uint32_t>(image.height));
    header.push_back(8);
    header.push_back(withAlpha ? 6 : 2);
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", ZlibCompress(raw));
    PutChunk(out, "IEND", {});
    return out;
}

Bytes EncodeIco(const std::vector<Image>& images)
{
    Bytes out;
    PutLE16(out, 0);
    PutLE16(out, 1);
    PutLE16(out, static_cast<uint32_t>(images.size()));

    std::vector<Bytes> entries;
    for (const Image& image : images) {
        Bytes dib;
        const int maskStride = ((image.width + 31) / 32) * 4;
        PutLE32(dib, 40);
        PutLE32(dib, static_cast<uint32_t>(image.width));
        PutLE32(dib, static_cast<uint32_t>(image.height * 2)); // colour and mask
        PutLE16(dib, 1);
        PutLE16(dib, 32);
        PutLE32(dib, 0);
        PutLE32(dib, static_cast<uint32_t>(image.width * image.height * 4 + maskStride * image.height));
        PutLE32(dib, 0);
        PutLE32(dib, 0);
        PutLE32(dib, 0);
        PutLE32(dib, 0);
        for (int y = image.height - 1; y >= 0; --y)
            for (int x = 0; x < image.width; ++x) {
                const uint8_t* p = image.Pixel(x, y);
                dib.insert(dib.end(), {p[2], p[1], p[0], p[3]});
            }
        // The AND mask marks fully transparent pixels for old displays.
        for (int y = image.height - 1; y >= 0; --y) {
            Bytes row(static_cast<std::size_t>(maskStride), 0);
            for (int x = 0; x < image.width; ++x)
                if (image.Pixel(x, y)[3] == 0)
                    row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            dib.insert(dib.end(), row.begin(), row.end());
        }
        entries.push_back(std::move(dib));
    }

    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<uint8_t>(images[i].width >= 256 ? 0 : images[i].width));
        out.push_back(static_cast<uint8_t>(images[i].height >= 256 ? 0 : images[i].height));
        out.push_back(0);
        out.push_back(0);
        PutLE16(out, 1);
        PutLE16(out, 32);
        PutLE32(out, static_cast<uint32_t>(entries[i].size()));
        PutLE32(out, offset);
        offset += static_cast<uint32_t>(entries[i].size());
    }
    for (const Bytes& e : entries)
        out.insert(out.end(), e.begin(), e.end());
    return out;
}

Bytes EncodeAlphaDds(const std::vector<uint8_t>& alpha, int size)
{
    constexpr uint32_t Caps = 0x1, Height = 0x2, Width = 0x4, PixelFormat = 0x1000, MipMapCount = 0x20000;
    constexpr uint32_t AlphaOnly = 0x2;
    constexpr uint32_t Complex = 0x8, Texture = 0x1000, MipMap = 0x400000;
    uint32_t levels = 1;
    for (int s = size; s > 1; s /= 2)
        ++levels;

    Bytes out = {'D', 'D', 'S', ' '};
    PutLE32(out, 124);
    PutLE32(out, Caps | Height | Width | PixelFormat | MipMapCount);
    PutLE32(out, static_cast<uint32_t>(size));
    PutLE32(out, static_cast<uint32_t>(size));
    PutLE32(out, 0); // pitch or linear size
    PutLE32(out, 0); // depth
    PutLE32(out, levels);
    for (int i = 0; i < 11; ++i)
        PutLE32(out, 0);
    PutLE32(out, 32); // pixel format size
    PutLE32(out, AlphaOnly);
    PutLE32(out, 0); // four-character code
    PutLE32(out, 8); // bits per pixel
    PutLE32(out, 0);
    PutLE32(out, 0);
    PutLE32(out, 0);
    PutLE32(out, 0xFF); // alpha mask
    PutLE32(out, Texture | Complex | MipMap);
    for (int i = 0; i < 4; ++i)
        PutLE32(out, 0);

    std::vector<uint8_t> level = alpha;
    level.resize(static_cast<std::size_t>(size) * size);
    for (int s = size;; s /= 2) {
        out.insert(out.end(), level.begin(), level.end());
        if (s == 1)
            break;
        const int next = s / 2;
        std::vector<uint8_t> smaller(static_cast<std::size_t>(next) * next);
        for (int y = 0; y < next; ++y)
            for (int x = 0; x < next; ++x) {
                const auto at = [&](int dx, int dy) {
                    return level[static_cast<std::size_t>(2 * y + dy) * s + 2 * x + dx];
                };
                smaller[static_cast<std::size_t>(y) * next + x] =
                    static_cast<uint8_t>((at(0, 0) + at(1, 0) + at(0, 1) + at(1, 1) + 2) / 4);
            }
        level.swap(smaller);
    }
    return out;
}
