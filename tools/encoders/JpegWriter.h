// A baseline JPEG encoder for the pictures the project draws itself: JFIF
// header, YCbCr, the example quantisation tables scaled by a quality, and the
// example Huffman tables, so any decoder reads the result.
#pragma once

#include "tools/encoders/ImageWriters.h"

enum class ChromaSampling {
    Full,    // 4:4:4: one chroma sample per pixel
    Quarter, // 4:2:0: one chroma sample per 2 x 2 pixels
};

// Quality runs from 1 (smallest) to 100 (finest) and is clamped into that
// range; alpha is ignored. The same picture always gives the same bytes.
Bytes EncodeJpeg(const Image& image, int quality = 90, ChromaSampling sampling = ChromaSampling::Quarter);
