#include "scene/slideshow/DS_SlideShow_Light.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/render/ColouredQuads.h"
#include "foundation/render/ScreenQuad.h"
#include "foundation/render/BackBuffer.h"
#include "scene/slideshow/SlideReaderRegistry.h"

namespace {

const wchar_t* const RecordName = L"DS_SlideShow_Light";
const int32_t WrittenVersion = 1;

// Black and fully transparent: the first slide starts without its fade-in.
const D3DCOLOR TransparentBlack = 0x00000000;

float Seconds(unsigned int wholeSeconds) { return static_cast<float>(wholeSeconds); }

// The fade's opacity e seconds into a cycle of fade-in f, display d and
// fade-out o: falling from 1 to 0 over the fade-in, rising from 0 to 1 over
// the fade-out. A phase of length 0 is never entered, so nothing divides by
// it.
float FadeOpacity(float e, float f, float d, float o)
{
    if (e < f)
        return (f - e) / f;
    if (e > f + d)
        return (e - (f + d)) / o;
    return 0.0f;
}

} // namespace

DS_SlideShow_Light::DS_SlideShow_Light() = default;

DS_SlideShow_Light::~DS_SlideShow_Light()
{
    fadeQuad.reset();
    audioFiles.clear();
    slides.clear();
    currentSlide.Release();
}

void DS_SlideShow_Light::ReadSlides(ArchiveHandle& archive)
{
    int32_t count = 0;
    archive->ReadInt(count);
    for (uint32_t i = 0; i < static_cast<uint32_t>(count); ++i) {
        CountedPtr<DS_SlideContainer> slide(ReadSlide(archive));
        slides.push_back(slide);
    }
}

void DS_SlideShow_Light::ReadAudioFiles(ArchiveHandle& archive)
{
    int32_t count = 0;
    archive->ReadInt(count);
    for (uint32_t i = 0; i < static_cast<uint32_t>(count); ++i) {
        CountedPtr<DS_AudioFile> audio(ReadAudioFile(archive).release());
        audioFiles.push_back(audio);
    }
}

std::unique_ptr<DS_SlideShow_Light> ReadSceneRoot(ArchiveHandle& archive)
{
    ReadObjectHeader(archive);
    auto root = std::make_unique<DS_SlideShow_Light>();
    root->ReadSlides(archive);
    root->ReadAudioFiles(archive);
    return root;
}

void DS_SlideShow_Light::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    int32_t slideCount = static_cast<int32_t>(slides.size());
    archive->WriteInt(slideCount);
    for (const CountedPtr<DS_SlideContainer>& slide : slides)
        slide->Write(archive);
    int32_t audioCount = static_cast<int32_t>(audioFiles.size());
    archive->WriteInt(audioCount);
    for (const CountedPtr<DS_AudioFile>& audio : audioFiles)
        audio->Write(archive);
}

void DS_SlideShow_Light::Update(float time)
{
    if (!currentSlide) {
        // A root without slides has nothing to show, ever.
        if (slides.empty())
            return;
        ShowFirstSlide(time);
    } else {
        // Another screen may have drawn since this root's last frame: the
        // shared view and picture mapping are set up again before anything
        // reads them.
        currentSlide->RestoreView();
        if (slides.size() >= 2)
            AdvanceShow(time);
    }
    currentSlide->Update(time);
}

void DS_SlideShow_Light::ShowFirstSlide(float time)
{
    currentSlide = slides[0];
    // As if the fade-in were already over: the first frame shows the slide
    // fully.
    start = time - Seconds(currentSlide->fadeIn.value);
    ActivateSlide();
    fadeOpacity = 0.0f;
    fadeQuad = std::make_unique<DS_SimpleMesh<DX_V::SPC>>();
    fadeQuad->primitiveType = D3DPT_TRIANGLESTRIP;
    SetQuadSPC(*fadeQuad, TransparentBlack, ScreenQuad::FromBackBuffer());
}

void DS_SlideShow_Light::AdvanceShow(float time)
{
    const unsigned int f = currentSlide->fadeIn.value;
    const unsigned int d = currentSlide->display.value;
    const unsigned int o = currentSlide->fadeOut.value;
    const float total = Seconds(f + d + o);

    // However far the time jumped, the show moves on by one slide, which
    // then starts now.
    if (time - start > total) {
        currentSlide->SetSoundsActive(false);
        currentSlide = slides[next];
        start = time;
        next = next + 1 < slides.size() ? next + 1 : 0;
        ActivateSlide();
    }

    // On the frame of a switch the slide just left still gives the lengths,
    // so the new slide starts black when the old one had a fade-in.
    const float opacity = FadeOpacity(time - start, Seconds(f), Seconds(d), Seconds(o));
    if (opacity != fadeOpacity)
        SetQuadAlphasSPC(*fadeQuad, opacity, opacity, opacity, opacity);
    fadeOpacity = opacity;
}

void DS_SlideShow_Light::ActivateSlide()
{
    const D3DSURFACE_DESC backBuffer = GetBackBufferDesc();
    if (backBuffer.Width != 0)
        currentSlide->SetSize(static_cast<int>(backBuffer.Width), static_cast<int>(backBuffer.Height));
    if (CountedPtr<DS_2D_Light> layer = currentSlide->GetLight())
        layer->ResetCameraPan();
    currentSlide->Activate();
    currentSlide->SetSoundsActive(true);
}

void DS_SlideShow_Light::Render()
{
    if (!currentSlide || !fadeQuad)
        return;
    currentSlide->RenderScene();
    currentSlide->FinishFrame();
    // Fully transparent, the quad would blend over the whole back buffer and
    // leave every pixel as it is.
    if (fadeOpacity <= 0.0f)
        return;
    if (CountedPtr<DS_2D_Light> layer = currentSlide->GetLight())
        layer->DrawOverlayQuad(*fadeQuad);
}

void DS_SlideShow_Light::OnDeviceInvalidated()
{
    for (const CountedPtr<DS_SlideContainer>& slide : slides)
        slide->OnDeviceInvalidated();
}

void DS_SlideShow_Light::OnDeviceRestored()
{
    // The other slides restore theirs when they become current.
    if (currentSlide)
        currentSlide->OnDeviceRestored();
}

void DS_SlideShow_Light::SetPicturePosition(int mode)
{
    for (const CountedPtr<DS_SlideContainer>& slide : slides)
        slide->SetPicturePosition(mode);
}
