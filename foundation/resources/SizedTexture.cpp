#include "foundation/resources/SizedTexture.h"

void AssignSizedTexture(SizedTexture& sized, IDirect3DTexture9* texture, const D3DXIMAGE_INFO& info)
{
    if (sized.texture.Get() != texture)
        sized.texture = texture;
    sized.width = info.Width;
    sized.height = info.Height;
    // A picture that never decoded has no width; keep the neutral aspect
    // rather than a division by zero that would poison every later layout.
    sized.aspect = info.Width ? static_cast<float>(info.Height) / static_cast<float>(info.Width) : 1.0f;
}
