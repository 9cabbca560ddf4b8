#include "tools/encoders/JpegWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using Block = std::array<double, 64>;

// Position in natural (row-major) order of each zig-zag index.
constexpr std::array<uint8_t, 64> ZigZag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The example tables of the JPEG standard, natural order, at quality 50.
constexpr std::array<uint8_t, 64> LumaQuant = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,  14, 13, 16, 24, 40,  57,
    69, 56, 14, 17, 22,  29,  51,  87,  80, 62, 18, 22, 37,  56,  68,  109, 103, 77, 24, 35, 55, 64,
    81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<uint8_t, 64> ChromaQuant = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// A Huffman table as the DHT segment stores it: how many codes of each length
// 1 to 16, then the symbols in code order.
struct HuffmanTable {
    std::array<uint8_t, 16> counts;
    std::vector<uint8_t> symbols;
};

const HuffmanTable& LumaDc()
{
    static const HuffmanTable table{{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
    return table;
}

const HuffmanTable& ChromaDc()
{
    static const HuffmanTable table{{0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
    return table;
}

const HuffmanTable& LumaAc()
{
    static const HuffmanTable table{
        {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d},
        {0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22,
         0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33,
         0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34,
         0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55,
         0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76,
         0x77, 0x78, 0x79, 0x7a, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96,
         0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5,
         0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4,
         0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1,
         0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};
    return table;
}

const HuffmanTable& ChromaAc()
{
    static const HuffmanTable table{
        {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77},
        {0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13,
         0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62,
         0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29,
         0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54,
         0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75,
         0x76, 0x77, 0x78, 0x79, 0x7a, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94,
         0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3,
         0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2,
         0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea,
         0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};
    return table;
}

// Code and length of every symbol of a table.
struct HuffmanCodes {
    std::array<uint16_t, 256> code{};
    std::array<uint8_t, 256> length{};

    explicit HuffmanCodes(const HuffmanTable& table)
    {
        uint32_t next = 0;
        std::size_t k = 0;
        for (int bits = 1; bits <= 16; ++bits) {
            for (int i = 0; i < table.counts[bits - 1]; ++i, ++k) {
                code[table.symbols[k]] = static_cast<uint16_t>(next++);
                length[table.symbols[k]] = static_cast<uint8_t>(bits);
            }
            next <<= 1;
        }
    }
};

// cos(k pi / 16) for k = 0 to 8, written out so the transform does not depend
// on the maths library's rounding.
constexpr std::array<double, 9> CosSixteenths = {
    1.0, 0.98078528040323044913, 0.92387953251128675613, 0.83146961230254523708, 0.70710678118654752440,
    0.55557023301960222474, 0.38268343236508977173, 0.19509032201612826785, 0.0};

// Basis[u][x] = C(u) / 2 * cos((2x + 1) u pi / 16), C(0) = 1 / sqrt 2.
struct DctBasis {
    double at[8][8];

    DctBasis()
    {
        for (int u = 0; u < 8; ++u)
            for (int x = 0; x < 8; ++x) {
                const int k = ((2 * x + 1) * u) % 32;
                double c;
                if (k <= 8)
                    c = CosSixteenths[k];
                else if (k <= 16)
                    c = -CosSixteenths[16 - k];
                else if (k <= 24)
                    c = -CosSixteenths[k - 16];
                else
                    c = CosSixteenths[32 - k];
                at[u][x] = 0.5 * (u == 0 ? CosSixteenths[4] : 1.0) * c;
            }
    }
};

const DctBasis& Basis()
{
    static const DctBasis basis;
    return basis;
}

// The two-dimensional forward DCT of an 8 x 8 block of level-shifted samples.
Block ForwardDct(const Block& samples)
{
    const DctBasis& b = Basis();
    Block rows{};
    for (int y = 0; y < 8; ++y)
        for (int u = 0; u < 8; ++u) {
            double sum = 0;
            for (int x = 0; x < 8; ++x)
                sum += b.at[u][x] * samples[y * 8 + x];
            rows[y * 8 + u] = sum;
        }
    Block out{};
    for (int u = 0; u < 8; ++u)
        for (int v = 0; v < 8; ++v) {
            double sum = 0;
            for (int y = 0; y < 8; ++y)
                sum += b.at[v][y] * rows[y * 8 + u];
            out[v * 8 + u] = sum;
        }
    return out;
}

std::array<uint8_t, 64> ScaledTable(const std::array<uint8_t, 64>& base, int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::array<uint8_t, 64> out{};
    for (int i = 0; i < 64; ++i)
        out[i] = static_cast<uint8_t>(std::clamp((base[i] * scale + 50) / 100, 1, 255));
    return out;
}

// Entropy-coded data: most significant bit first, every 0xFF byte followed
// by a stuffed 0x00 so it cannot be taken for a marker.
class BitSink {
public:
    explicit BitSink(Bytes& target) : out(target) {}

    void Put(uint32_t bits, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            acc = static_cast<uint8_t>((acc << 1) | ((bits >> i) & 1u));
            if (++used == 8)
                Emit();
        }
    }
    // The last byte is filled with one bits.
    void Flush()
    {
        while (used != 0)
            Put(1, 1);
    }

private:
    void Emit()
    {
        out.push_back(acc);
        if (acc == 0xFF)
            out.push_back(0x00);
        acc = 0;
        used = 0;
    }

    Bytes& out;
    uint8_t acc = 0;
    int used = 0;
};

int Magnitude(int value)
{
    int v = std::abs(value), bits = 0;
    while (v) {
        ++bits;
        v >>= 1;
    }
    return bits;
}

// The value bits of a coefficient: negative values as their one's complement.
uint32_t ValueBits(int value, int bits)
{
    return static_cast<uint32_t>(value < 0 ? value - 1 : value) & ((1u << bits) - 1u);
}

class ComponentCoder {
public:
    ComponentCoder(const std::array<uint8_t, 64>& quant, const HuffmanTable& dc, const HuffmanTable& ac)
        : table(quant), dcCodes(dc), acCodes(ac)
    {
    }

    void Encode(const Block& samples, BitSink& sink)
    {
        const Block coefficients = ForwardDct(samples);
        std::array<int, 64> q{};
        for (int i = 0; i < 64; ++i)
            q[i] = static_cast<int>(std::lround(coefficients[ZigZag[i]] / table[ZigZag[i]]));

        const int diff = q[0] - previousDc;
        previousDc = q[0];
        const int dcBits = Magnitude(diff);
        sink.Put(dcCodes.code[dcBits], dcCodes.length[dcBits]);
        sink.Put(ValueBits(diff, dcBits), dcBits);

        int run = 0;
        for (int i = 1; i < 64; ++i) {
            if (q[i] == 0) {
                ++run;
                continue;
            }
            for (; run > 15; run -= 16)
                sink.Put(acCodes.code[0xF0], acCodes.length[0xF0]);
            const int bits = Magnitude(q[i]);
            const int symbol = (run << 4) | bits;
            sink.Put(acCodes.code[symbol], acCodes.length[symbol]);
            sink.Put(ValueBits(q[i], bits), bits);
            run = 0;
        }
        if (run > 0)
            sink.Put(acCodes.code[0x00], acCodes.length[0x00]);
    }

private:
    const std::array<uint8_t, 64>& table;
    HuffmanCodes dcCodes;
    HuffmanCodes acCodes;
    int previousDc = 0;
};

// One colour plane, level-shifted, padded to whole blocks by repeating the
// last column and row.
struct Plane {
    int width = 0;
    int height = 0;
    std::vector<double> samples;

    Plane(int w, int h) : width(w), height(h), samples(static_cast<std::size_t>(w) * h) {}
    double& At(int x, int y) { return samples[static_cast<std::size_t>(y) * width + x]; }
    double At(int x, int y) const { return samples[static_cast<std::size_t>(y) * width + x]; }

    Block BlockAt(int bx, int by) const
    {
        Block b{};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                b[y * 8 + x] = At(bx * 8 + x, by * 8 + y);
        return b;
    }

    // Each sample the mean of 2 x 2 samples of this plane.
    Plane Halved() const
    {
        Plane half(width / 2, height / 2);
        for (int y = 0; y < half.height; ++y)
            for (int x = 0; x < half.width; ++x)
                half.At(x, y) =
                    (At(2 * x, 2 * y) + At(2 * x + 1, 2 * y) + At(2 * x, 2 * y + 1) + At(2 * x + 1, 2 * y + 1)) * 0.25;
        return half;
    }
};

void PutBE16(Bytes& out, int v)
{
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutMarker(Bytes& out, uint8_t marker, int length)
{
    out.push_back(0xFF);
    out.push_back(marker);
    PutBE16(out, length);
}

void PutHeaders(Bytes& out, const Image& image, const std::array<uint8_t, 64>& luma,
                const std::array<uint8_t, 64>& chroma, ChromaSampling sampling)
{
    out.insert(out.end(), {0xFF, 0xD8});
    // JFIF 1.01, no density unit, 1:1 pixels, no thumbnail.
    PutMarker(out, 0xE0, 16);
    out.insert(out.end(), {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});

    PutMarker(out, 0xDB, 2 + 2 * 65);
    int id = 0;
    for (const auto* table : {&luma, &chroma}) {
        out.push_back(static_cast<uint8_t>(id++));
        for (int i = 0; i < 64; ++i)
            out.push_back((*table)[ZigZag[i]]);
    }

    PutMarker(out, 0xC0, 8 + 3 * 3);
    out.push_back(8);
    PutBE16(out, image.height);
    PutBE16(out, image.width);
    out.push_back(3);
    out.insert(out.end(), {1, static_cast<uint8_t>(sampling == ChromaSampling::Quarter ? 0x22 : 0x11), 0});
    out.insert(out.end(), {2, 0x11, 1, 3, 0x11, 1});

    const std::pair<uint8_t, const HuffmanTable*> tables[] = {
        {0x00, &LumaDc()}, {0x10, &LumaAc()}, {0x01, &ChromaDc()}, {0x11, &ChromaAc()}};
    int length = 2;
    for (const auto& t : tables)
        length += 17 + static_cast<int>(t.second->symbols.size());
    PutMarker(out, 0xC4, length);
    for (const auto& t : tables) {
        out.push_back(t.first);
        out.insert(out.end(), t.second->counts.begin(), t.second->counts.end());
        out.insert(out.end(), t.second->symbols.begin(), t.second->symbols.end());
    }

    PutMarker(out, 0xDA, 6 + 2 * 3);
    out.insert(out.end(), {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0});
}

} // namespace

Bytes EncodeJpeg(const Image& image, int quality, ChromaSampling sampling)
{
    if (image.width < 1 || image.height < 1 || image.width > 0xFFFF || image.height > 0xFFFF ||
        image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4)
        throw std::invalid_argument("EncodeJpeg: the picture has no valid size");
    quality = std::clamp(quality, 1, 100);
    const auto lumaTable = ScaledTable(LumaQuant, quality);
    const auto chromaTable = ScaledTable(ChromaQuant, quality);

    const int mcu = sampling == ChromaSampling::Quarter ? 16 : 8;
    const int paddedW = (image.width + mcu - 1) / mcu * mcu;
    const int paddedH = (image.height + mcu - 1) / mcu * mcu;
    Plane yPlane(paddedW, paddedH), cbPlane(paddedW, paddedH), crPlane(paddedW, paddedH);
    for (int y = 0; y < paddedH; ++y)
        for (int x = 0; x < paddedW; ++x) {
            const uint8_t* p = image.Pixel(std::min(x, image.width - 1), std::min(y, image.height - 1));
            const double r = p[0], g = p[1], b = p[2];
            yPlane.At(x, y) = 0.299 * r + 0.587 * g + 0.114 * b - 128.0;
            cbPlane.At(x, y) = -0.168736 * r - 0.331264 * g + 0.5 * b;
            crPlane.At(x, y) = 0.5 * r - 0.418688 * g - 0.081312 * b;
        }
    if (sampling == ChromaSampling::Quarter) {
        cbPlane = cbPlane.Halved();
        crPlane = crPlane.Halved();
    }

    Bytes out;
    PutHeaders(out, image, lumaTable, chromaTable, sampling);
    BitSink sink(out);
    ComponentCoder yCoder(lumaTable, LumaDc(), LumaAc());
    ComponentCoder cbCoder(chromaTable, ChromaDc(), ChromaAc());
    ComponentCoder crCoder(chromaTable, ChromaDc(), ChromaAc());
    const int lumaBlocks = mcu / 8;
    for (int my = 0; my < paddedH / mcu; ++my)
        for (int mx = 0; mx < paddedW / mcu; ++mx) {
            for (int by = 0; by < lumaBlocks; ++by)
                for (int bx = 0; bx < lumaBlocks; ++bx)
                    yCoder.Encode(yPlane.BlockAt(mx * lumaBlocks + bx, my * lumaBlocks + by), sink);
            cbCoder.Encode(cbPlane.BlockAt(mx, my), sink);
            crCoder.Encode(crPlane.BlockAt(mx, my), sink);
        }
    sink.Flush();
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}
