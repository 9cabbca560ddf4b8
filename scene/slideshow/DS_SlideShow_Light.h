// The document's root: the slides shown one after the other, each fading in
// from black and out to black (no cross-fade), and the music's audio files.
// It hands each frame's update and drawing to the current slide and draws
// nothing of its own but the fade quad.
#pragma once

#include "foundation/core/CountedPtr.h"
#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"
#include "foundation/model/DS_IOF_Item.h"
#include "scene/slideshow/DS_AudioFile.h"
#include "scene/slideshow/DS_SlideContainer.h"

#include <memory>
#include <vector>

class DS_SlideShow_Light : public DS_IOF_Item {
public:
    using SlideVector = std::vector<CountedPtr<DS_SlideContainer>>;
    using AudioVector = std::vector<CountedPtr<DS_AudioFile>>;

    DS_SlideShow_Light();
    DS_SlideShow_Light(const DS_SlideShow_Light&) = delete;
    DS_SlideShow_Light& operator=(const DS_SlideShow_Light&) = delete;
    ~DS_SlideShow_Light() override;

    // "DS_SlideShow_Light", version 1, then the slides and the audio files.
    void Write(ArchiveHandle& archive) override;
    // The current slide's scene and finishing pass, then the fade quad over
    // everything while it is not fully transparent. Nothing before the first
    // Update, nor without slides.
    virtual void Render();
    // Every slide's layer and visual objects let go of their default-pool
    // objects.
    virtual void OnDeviceInvalidated();
    // The current slide's layer and visual objects make them again.
    virtual void OnDeviceRestored();
    // Once per frame with the application time in seconds, before Render:
    // sets the shared scene view up for the current slide's layer again,
    // picks the slide and its fade, then advances the slide.
    virtual void Update(float time);

    // An int32 count, then that many slide records.
    void ReadSlides(ArchiveHandle& archive);
    // An int32 count, then that many "DS_AudioFile" records.
    void ReadAudioFiles(ArchiveHandle& archive);
    // 0 Stretch, 1 Fit, 2 Fill, on every slide.
    void SetPicturePosition(int mode);
    // Makes the current slide live: sized to the back buffer, the camera's
    // pan restarted, its device objects restored and its sounds started.
    void ActivateSlide();

    // Empty until the first Update.
    CountedPtr<DS_SlideContainer> currentSlide{nullptr};
    SlideVector slides;
    // The music's playlist.
    AudioVector audioFiles;
    // Application seconds at which the current slide's cycle began.
    float start = 0.0f;
    // The slide that follows the current one.
    unsigned next = 1;
    // Black over the whole back buffer, its opacity the fade's; made by the
    // first Update.
    std::unique_ptr<DS_SimpleMesh<DX_V::SPC>> fadeQuad;
    // The fade quad's opacity, 0 to 1: 0 while the slide is shown fully, when
    // the quad is not drawn at all.
    float fadeOpacity = 0.0f;

private:
    void ShowFirstSlide(float time);
    // Moves on when the current slide's cycle is over and sets the fade.
    void AdvanceShow(float time);
};

// The root's record: the header (neither name nor version is checked), the
// slides and the audio files.
std::unique_ptr<DS_SlideShow_Light> ReadSceneRoot(ArchiveHandle& archive);
