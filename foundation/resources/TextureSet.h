// The textures of one picture link: one per animation frame, with the display
// time of each frame and the size of the picture.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/resources/SizedTexture.h"

#include <d3d9.h>

#include <cstddef>
#include <vector>

// A set with at least one slot counts as loaded, even when its slots hold no
// texture. Copies reference every texture again; destruction releases them.
struct TextureSet {
    std::vector<ComHolder<IDirect3DTexture9>> textures;
    // Seconds per frame; empty for a still picture. Image lists carry their
    // delay and frame counts independently, so this list may be longer or
    // shorter than the slots: read frames through Frame().
    std::vector<float> delays;
    // Those of the texture that was made last for the set.
    UINT width = 0;
    UINT height = 0;
    float aspect = 1.0f;

    bool IsLoaded() const { return !textures.empty(); }

    // The texture of frame index, or of the last slot when the index lies
    // beyond the slots; none when the set has no slot. Not a new reference.
    IDirect3DTexture9* Frame(std::size_t index) const;

    // Appends a slot holding sized's texture (one reference) and takes its
    // size as the set's.
    void Append(const SizedTexture& sized);
};

// The first slot's texture (one more reference) with the set's size; the
// empty SizedTexture when the set has no slot.
SizedTexture GetFirstTexture(const TextureSet& set);
