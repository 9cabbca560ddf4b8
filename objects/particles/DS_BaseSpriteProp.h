// The appearance of a particle system: how many particles, how large and
// opaque, their tint and life phase, the picture they show (with an optional
// second picture and an animation of frames) and how they blend. The region
// and the clock come from the view constructor.
#pragma once

#include "foundation/params/MediaParam.h"
#include "foundation/params/UINTSclaleTo.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "foundation/archive/FileRecord.h"
#include "objects/base/DS_ViewObjCtrl.h"

#include <cstdint>
#include <list>
#include <vector>

struct ParticleItem;
struct TextureSet;

class DS_BaseSpriteProp : public DS_ViewObjCtrl {
public:
    // One particle of full opacity, white, size factor 1, no picture.
    DS_BaseSpriteProp();
    // Every value; parameters without their listeners, the links as links,
    // the old-format data as deep copies.
    DS_BaseSpriteProp(const DS_BaseSpriteProp& other);
    DS_BaseSpriteProp& operator=(const DS_BaseSpriteProp&) = delete;
    ~DS_BaseSpriteProp() override;

    // "DS_BaseSpriteProp", version 6: the view record first, then the fields.
    void Write(ArchiveHandle& archive) override;

    // Places and starts one new particle; each particle system says how.
    virtual void InitParticle(ParticleItem& particle);
    // Advances one particle by the clock's step; each particle system says how.
    virtual void UpdateParticle(ParticleItem& particle);
    // The grid frame after index: (index + 1) mod frame count; 0 when there
    // are no frames to count.
    virtual unsigned int NextFrameIndex(unsigned int index);

    // The fields after the record's header, as version 1 to 6 holds them.
    void ReadBody(ArchiveHandle& archive, int32_t version);
    // The fields after the header, as version 6.
    void WriteBody(ArchiveHandle& archive);

    // Turns the pictures an old record kept inside itself into links, once;
    // a system whose main link is set already keeps its links.
    void ResolveLegacyImages();

    // The textures of the main image in the current resource manager: an
    // image list of a module when the image source is 1, else the link's
    // pictures. None without a current manager.
    TextureSet* MainImageTextures() const;
    // Height / width of the main image's frames (1 without a picture).
    float MainImageAspect() const;
    // The frames of a frame grid: the frame count, at least 1.
    unsigned int GridFrameCount() const { return frameCount ? frameCount : 1u; }
    // The pulse of a particle's phase between the phase minimum and maximum:
    // the phase moves by its velocity, turns back at the maximum, and below
    // the minimum the particle starts anew (InitParticle) from the minimum,
    // rising. Then the colour follows.
    void PulsePhase(ParticleItem& particle);
    // The particles' full opacity, 0 to 255.
    unsigned char MaximalAlpha() const { return transparency.result; }

    MediaParamT<unsigned int> count{1u};
    // Particle size in picture pixels before the size factor.
    MediaParamT<unsigned int> baseSize{32u};
    // 0 to 100 percent; its result is the maximal alpha.
    UINTSclaleTo<unsigned char> transparency;
    // 0 blends; without a second image any other value adds; with one, 1
    // makes the second pass add.
    MediaParamT<int> additive{0};
    // A COLORREF.
    MediaColor colour{0x00FFFFFFu};
    float phaseSpeed = 0.0f;
    float phaseMin = 0.0f;
    float phaseMax = 1.0f;
    float sizeFactorMin = 1.0f;
    float sizeFactorMax = 1.0f;
    DS_ImageFileLink mainImage;
    DS_ImageFileLink secondImage;
    // Kept with the record and copied; nothing in the player reads them.
    uint32_t reservedCount = 1;
    float reservedValue = 0.0f;
    uint32_t frameCount = 1;
    // Frames per unit of the view clock; 0 keeps the first frame.
    float frameRate = 0.0f;
    // The main picture holds frameCount frames side by side.
    bool frameGrid = false;
    // 1: the main link names an image list of a resource module.
    int32_t imageSource = 0;
    MediaParamT<int> verticalFlip{0};
    MediaParamT<int> horizontalFlip{0};
    // Non-zero: the quads are rebuilt only when the animation frame changes.
    MediaParamT<int> staticFlag{0};
    // What version 1 records held in place of the links.
    std::vector<float> legacyDelays;
    std::list<ResourceRecord> legacyImages;
    ResourceRecord legacySecondImage;
};

// The "DS_BaseSpriteProp" record that ends every particle system's record:
// its header (the name not compared), then the fields of its version.
void ReadParticleSystemBase(ArchiveHandle& archive, DS_BaseSpriteProp& system);
