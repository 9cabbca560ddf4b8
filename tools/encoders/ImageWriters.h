// Encoders for the pictures the project makes itself: PNG and Windows icons.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A picture of 8-bit RGBA pixels, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4) {}
    uint8_t* Pixel(int x, int y) { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    const uint8_t* Pixel(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

// PNG of colour type 6 (RGBA) or 2 (RGB, alpha dropped).
Bytes EncodePng(const Image& image, bool withAlpha);

// An .ico file holding one 32-bit entry per image (square, at most 256 wide).
Bytes EncodeIco(const std::vector<Image>& images);

// The zlib stream (RFC 1950) of data.
Bytes ZlibCompress(const Bytes& data);
uint32_t Crc32(const uint8_t* data, std::size_t size, uint32_t crc = 0);

// A DDS file of one 8-bit alpha channel (D3DFMT_A8), size × size, with its
// full chain of box-filtered mip levels: the way documents store brush masks.
// alpha holds size × size bytes, rows top to bottom.
Bytes EncodeAlphaDds(const std::vector<uint8_t>& alpha, int size);
