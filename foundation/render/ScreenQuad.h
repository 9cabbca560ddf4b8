// The four corners of a quad in back-buffer pixels (y downwards), in the
// triangle-strip order every quad of the program uses, and the ways a quad is
// placed on the back buffer.
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"

struct SizedTexture;

// z is written as rhw into pre-transformed vertices.
struct ScreenCorner {
    float x, y, z, u, v;
};

class ScreenQuad {
public:
    // Strip order: the bottom corners have the larger y.
    enum Corner { BottomLeft = 0, TopLeft = 1, BottomRight = 2, TopRight = 3 };

    // A quad covering back buffer 0 of CurrentDevice.
    static ScreenQuad FromBackBuffer();
    // The rectangle from (left, top) to (right, bottom), defaults otherwise.
    static ScreenQuad Rectangle(float left, float top, float right, float bottom);

    // The largest rectangle with the image's proportions, centred in a w × h
    // area (letterbox or pillarbox). z and texture coordinates stay as they
    // are. An image without a size has no proportions: it fills the area.
    void FitImage(const SizedTexture& image, int w, int h);
    // Rescales from a w × h layer to the back buffer of CurrentDevice.
    void ScaleToBackBuffer(int w, int h);

    float Left() const { return corners[BottomLeft].x; }
    float Right() const { return corners[TopRight].x; }
    float Top() const { return corners[TopLeft].y; }
    float Bottom() const { return corners[BottomRight].y; }

    // Constant-initialised, so that globals holding a quad need no start-up
    // code: position 0, z 1, texture coordinates spanning the whole texture.
    ScreenCorner corners[4] = {
        {0.0f, 0.0f, 1.0f, 0.0f, 1.0f},
        {0.0f, 0.0f, 1.0f, 0.0f, 0.0f},
        {0.0f, 0.0f, 1.0f, 1.0f, 1.0f},
        {0.0f, 0.0f, 1.0f, 1.0f, 0.0f},
    };
};

// Write the corners into vertices 0 to 3 of a mesh whose buffer is locked
// (nothing when it is not): x, y and z 0, with rhw := the corner's z for the
// pre-transformed formats and the texture coordinates for DX_V::SPCT.
// Colours are left as they are.
void WriteCornersSPC(const ScreenQuad& quad, DS_SimpleMesh<DX_V::SPC>& mesh);
void WriteCornersPC(const ScreenQuad& quad, DS_SimpleMesh<DX_V::PC>& mesh);
void WriteCornersSPCT(const ScreenQuad& quad, DS_SimpleMesh<DX_V::SPCT>& mesh);
