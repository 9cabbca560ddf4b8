// Where the current layer's picture lies on the back buffer. The layer being
// sized publishes it; the scene objects read it to turn fractions of the
// picture into pixels and back-buffer points into picture pixels.
#pragma once

#include "foundation/render/ScreenQuad.h"

struct PictureMapping {
    // Back-buffer size / layer size.
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    // The picture fitted into the layer, in back-buffer pixels.
    ScreenQuad fittedPicture;
    // The picture's own size in pixels.
    int pictureWidth = 0;
    int pictureHeight = 0;
};

// Constant-initialised: readable before and after every start-up step.
extern PictureMapping CurrentPictureMapping;

// Publishes a layer of width × height showing a picture of pictureWidth ×
// pictureHeight at `fitted` (back-buffer pixels), against the back buffer of
// CurrentDevice.
void PublishPictureMapping(int pictureHeight, const ScreenQuad& fitted, int width, int height, int pictureWidth);
