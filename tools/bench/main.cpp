// The frame-cost benchmark: every slide of the program's embedded document,
// played alone on a hidden 1024 × 768 device for a fixed number of frames
// with fixed time steps, against the floor of a frame that draws the slide's
// picture over the whole screen and presents. Prints, per slide, the
// milliseconds of a frame's update and render (render includes the Present
// and waits until the device has drawn) and the whole frame's ratio to the
// floor. After the demo's slides, one more: the snow slide with one flow of
// 5,000 flakes.
//   nightglass_bench [frames per slide] [picture position 0 Stretch, 1 Fit, 2 Fill]
// scripts/bench builds and runs it; it is not a test.
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/ScreenQuad.h"
#include "foundation/render/TexturedQuad.h"
#include "objects/particles/DS_FlowConstructor.h"
#include "scene/slideshow/LoadSceneDocument.h"

#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

const UINT Width = 1024;
const UINT Height = 768;
const int DefaultFrames = 300;
// Frames played before the measured ones: first uploads, first effect
// passes and the like are not what a frame costs.
const int WarmUpFrames = 30;
// Each slide is measured in this many rounds, each after a floor.
const int Rounds = 5;
const int RoundWarmUpFrames = 5;
// The scene's time step: the host draws at most about 33 frames a second.
const float TimeStep = 1.0f / 30.0f;
const int DefaultPicturePosition = 2;

class Stopwatch {
public:
    Stopwatch()
    {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;
    }
    void Start() { QueryPerformanceCounter(&started); }
    // Milliseconds since Start.
    double Lap() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - started.QuadPart) / ticksPerMs;
    }

private:
    double ticksPerMs = 1.0;
    LARGE_INTEGER started{};
};

// A hidden window with a device of the benchmark's size, made as the show
// makes its devices (hardware vertex processing where the device has it).
struct BenchDevice {
    HWND window = nullptr;
    IDirect3D9* direct3D = nullptr;
    IDirect3DDevice9* device = nullptr;
    IDirect3DQuery9* drawn = nullptr;

    bool Create()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"NightglassBench";
        RegisterClassW(&windowClass);
        window = CreateWindowW(windowClass.lpszClassName, L"bench", WS_POPUP, 0, 0, Width, Height, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
        direct3D = Direct3DCreate9(D3D_SDK_VERSION);
        if (!window || !direct3D)
            return false;
        D3DCAPS9 caps{};
        direct3D->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps);
        const DWORD vertexProcessing = (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT)
                                           ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                                           : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
        D3DPRESENT_PARAMETERS parameters{};
        parameters.BackBufferWidth = Width;
        parameters.BackBufferHeight = Height;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.BackBufferCount = 1;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.hDeviceWindow = window;
        parameters.Windowed = TRUE;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D16;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        if (FAILED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, vertexProcessing, &parameters,
                                          &device)))
            return false;
        device->CreateQuery(D3DQUERYTYPE_EVENT, &drawn);
        return true;
    }

    // Presents, then waits until the device has drawn everything asked of
    // it, so that the frame's cost includes the drawing itself.
    void PresentAndFinish()
    {
        device->Present(nullptr, nullptr, nullptr, nullptr);
        if (!drawn)
            return;
        drawn->Issue(D3DISSUE_END);
        while (drawn->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
        }
    }

    ~BenchDevice()
    {
        if (drawn)
            drawn->Release();
        if (device)
            device->Release();
        if (direct3D)
            direct3D->Release();
        if (window)
            DestroyWindow(window);
    }
};

// Medians of the frames' times: a frame that another process delayed does
// not move them.
double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

struct SlideCost {
    std::string name;
    double floorMs = 0;
    double updateMs = 0;
    double renderMs = 0;
    double ratio = 0;
    double FrameMs() const { return updateMs + renderMs; }
};

// One full-screen picture, drawn and presented, warmUp + frames times: the
// median of the measured frames. It sets every state it depends on.
double MeasureFloor(BenchDevice& bench, IDirect3DTexture9* picture, int warmUp, int frames)
{
    TexturedQuad quad;
    quad.SetTexture(picture, ScreenQuad::FromBackBuffer());
    IDirect3DDevice9* d = bench.device;
    Stopwatch watch;
    std::vector<double> samples;
    for (int frame = -warmUp; frame < frames; ++frame) {
        watch.Start();
        d->BeginScene();
        d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        d->SetPixelShader(nullptr);
        d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        quad.BindForDraw();
        d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount);
        d->EndScene();
        bench.PresentAndFinish();
        if (frame >= 0)
            samples.push_back(watch.Lap());
    }
    return Median(samples);
}

// The slide, shown alone (a show of one slide never switches nor fades)
// from time 0 on, its objects not built yet. Its frames are measured in
// rounds, each after a floor of its own picture, so that a change in the
// machine's load reaches the slide and its floor alike: the ratio is the
// median of the rounds'.
SlideCost MeasureSlide(BenchDevice& bench, DS_SlideShow_Light& root, const CountedPtr<DS_SlideContainer>& slide,
                       int frames, int picturePosition)
{
    SlideCost cost;
    root.slides.assign(1, slide);
    const ds_string& wide = slide->name.value;
    cost.name.assign(wide.begin(), wide.end());
    slide->BuildObjects();
    root.SetPicturePosition(picturePosition);
    IDirect3DTexture9* picture = slide->layer ? slide->layer->pictureQuad.image.texture.Get() : nullptr;

    IDirect3DDevice9* d = bench.device;
    // What the floor changes is put back before the slide draws again.
    IDirect3DStateBlock9* slideState = nullptr;
    d->CreateStateBlock(D3DSBT_ALL, &slideState);
    const int perRound = std::max(1, frames / Rounds);
    Stopwatch watch;
    std::vector<double> floors, updates, renders, ratios;
    int played = 0;
    for (int round = 0; round < Rounds; ++round) {
        if (slideState)
            slideState->Capture();
        const double floor = MeasureFloor(bench, picture, round == 0 ? WarmUpFrames : RoundWarmUpFrames, perRound);
        if (slideState)
            slideState->Apply();
        std::vector<double> totals;
        const int warmUp = round == 0 ? WarmUpFrames : 0;
        for (int frame = -warmUp; frame < perRound; ++frame) {
            const float time = static_cast<float>(played++) * TimeStep;
            watch.Start();
            root.Update(time);
            const double updated = watch.Lap();
            if (SUCCEEDED(d->BeginScene())) {
                root.Render();
                d->EndScene();
            }
            bench.PresentAndFinish();
            if (frame >= 0) {
                const double total = watch.Lap();
                updates.push_back(updated);
                renders.push_back(total - updated);
                totals.push_back(total);
            }
        }
        floors.push_back(floor);
        ratios.push_back(floor > 0 ? Median(totals) / floor : 0);
    }
    if (slideState)
        slideState->Release();
    cost.floorMs = Median(floors);
    cost.updateMs = Median(updates);
    cost.renderMs = Median(renders);
    cost.ratio = Median(ratios);
    return cost;
}

// Slide index of the embedded document.
SlideCost MeasureDocumentSlide(BenchDevice& bench, std::size_t index, int frames, int picturePosition)
{
    SceneDocument document = LoadSceneDocument();
    if (!document || index >= document.root->slides.size())
        return {};
    const CountedPtr<DS_SlideContainer> slide = document.root->slides[index];
    return MeasureSlide(bench, *document.root, slide, frames, picturePosition);
}

const unsigned int ManyParticles = 5000;

// The embedded document's first slide with a plain flow (the snow), its
// other objects gone and its fullest flow grown to ManyParticles particles,
// over the slide's own picture: the cost of a large particle system. An
// empty slide pointer when the document has no such slide.
CountedPtr<DS_SlideContainer> ManyParticlesSlide(DS_SlideShow_Light& root)
{
    for (const CountedPtr<DS_SlideContainer>& slide : root.slides) {
        DS_SlideContainer::ConstructorList& list = slide->visualConstructors;
        auto fullest = list.end();
        for (auto it = list.begin(); it != list.end(); ++it) {
            // Exactly a flow: rain is one too, but draws streaks.
            const DS_ABObj_Constructor* constructor = it->get();
            if (typeid(*constructor) != typeid(DS_FlowConstructor))
                continue;
            const auto* flow = static_cast<const DS_FlowConstructor*>(constructor);
            if (fullest == list.end() ||
                flow->count.value > static_cast<const DS_FlowConstructor*>(fullest->get())->count.value)
                fullest = it;
        }
        if (fullest == list.end())
            continue;
        std::unique_ptr<DS_ABObj_Constructor> kept = std::move(*fullest);
        static_cast<DS_FlowConstructor*>(kept.get())->count.value = ManyParticles;
        list.clear();
        list.push_back(std::move(kept));
        slide->soundConstructors.clear();
        slide->name.value = L"5,000 flow particles";
        return slide;
    }
    return CountedPtr<DS_SlideContainer>(nullptr);
}

void PrintCost(const std::string& label, const SlideCost& cost)
{
    std::printf("%-3s %-26.26s %9.3f %10.3f %10.3f %9.3f %8.2f\n", label.c_str(), cost.name.c_str(), cost.floorMs,
                cost.updateMs, cost.renderMs, cost.FrameMs(), cost.ratio);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultFrames;
    const int picturePosition = argc > 2 ? std::atoi(argv[2]) : DefaultPicturePosition;
    // The benchmark's own thread runs at normal priority, unlike the show's.
    BenchDevice bench;
    if (!bench.Create()) {
        std::fprintf(stderr, "bench: no Direct3D device of %u x %u\n", Width, Height);
        return 1;
    }
    CurrentDevice = bench.device;

    std::size_t slideCount = 0;
    {
        const SceneDocument document = LoadSceneDocument();
        if (!document || document.root->slides.empty()) {
            std::fprintf(stderr, "bench: the embedded document has no slide\n");
            return 1;
        }
        slideCount = document.root->slides.size();
    }

    std::printf("Frame costs on a %u x %u device, picture position %d: medians of %d frames per slide, %.1f ms "
                "of scene time apart\n",
                Width, Height, picturePosition, frames, TimeStep * 1000.0f);
    std::printf("floor: a frame that draws the slide's picture over the whole screen and presents; x floor: the "
                "median of %d rounds' ratios\n\n",
                Rounds);
    std::printf("%-3s %-26s %9s %10s %10s %9s %8s\n", "", "slide", "floor ms", "update ms", "render ms", "frame ms",
                "x floor");
    for (std::size_t i = 0; i < slideCount; ++i)
        PrintCost(std::to_string(i + 1), MeasureDocumentSlide(bench, i, frames, picturePosition));

    std::printf("\n");
    {
        SceneDocument document = LoadSceneDocument();
        const CountedPtr<DS_SlideContainer> many =
            document ? ManyParticlesSlide(*document.root) : CountedPtr<DS_SlideContainer>(nullptr);
        if (many)
            PrintCost("+", MeasureSlide(bench, *document.root, many, frames, picturePosition));
        else
            std::printf("+   the embedded document has no flow of particles to grow to %u\n", ManyParticles);
    }
    CurrentDevice = nullptr;
    return 0;
}
