#include "foundation/resources/TextureSet.h"

IDirect3DTexture9* TextureSet::Frame(std::size_t index) const
{
    if (textures.empty())
        return nullptr;
    if (index >= textures.size())
        index = textures.size() - 1;
    return textures[index].Get();
}

void TextureSet::Append(const SizedTexture& sized)
{
    textures.push_back(sized.texture);
    width = sized.width;
    height = sized.height;
    aspect = sized.aspect;
}

SizedTexture GetFirstTexture(const TextureSet& set)
{
    SizedTexture first;
    if (set.textures.empty())
        return first;
    first.texture = set.textures.front();
    first.width = set.width;
    first.height = set.height;
    first.aspect = set.aspect;
    return first;
}
