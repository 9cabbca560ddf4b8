#include "foundation/render/PictureMapping.h"

#include "foundation/render/BackBuffer.h"

PictureMapping CurrentPictureMapping;

void PublishPictureMapping(int pictureHeight, const ScreenQuad& fitted, int width, int height, int pictureWidth)
{
    const D3DSURFACE_DESC desc = GetBackBufferDesc();
    CurrentPictureMapping.scaleX = static_cast<float>(desc.Width) / static_cast<float>(width);
    CurrentPictureMapping.scaleY = static_cast<float>(desc.Height) / static_cast<float>(height);
    CurrentPictureMapping.fittedPicture = fitted;
    CurrentPictureMapping.pictureWidth = pictureWidth;
    CurrentPictureMapping.pictureHeight = pictureHeight;
}
