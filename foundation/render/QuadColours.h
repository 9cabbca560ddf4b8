// Colour arithmetic of the quads' D3DCOLOR vertices (0xAARRGGBB).
#pragma once

#include <d3d9.h>

#include <cstdint>

// The colour with its alpha byte replaced.
inline D3DCOLOR WithAlpha(D3DCOLOR colour, uint8_t alpha)
{
    return (colour & 0x00FFFFFFu) | (static_cast<D3DCOLOR>(alpha) << 24);
}

// The colour with its red, green and blue taken from rgb.
inline D3DCOLOR WithRgb(D3DCOLOR colour, D3DCOLOR rgb)
{
    return (colour & 0xFF000000u) | (rgb & 0x00FFFFFFu);
}

// An alpha byte from a value in 0..255, truncated. Values outside the byte's
// range (an opacity a rounding error put just below 0 or above 1) are held
// at its ends instead of wrapping round to the opposite opacity.
inline uint8_t AlphaByte(float value)
{
    if (!(value > 0.0f))
        return 0;
    if (value >= 255.0f)
        return 255;
    return static_cast<uint8_t>(value);
}
