// Renders frames of one slide of a scene document to PNG files, for looking
// at what the program draws (a developer's tool, not a test):
//   slideframes <document> <slide> <out-prefix> [width height [mode [seconds...]]]
// The slide is shown on its own (no fades) on a hidden device of the given
// size (default 1024 × 640) with the picture position mode (0 Stretch, 1 Fit,
// 2 Fill; default 1), stepped at 30 frames a second; a frame is saved at
// each of the given seconds (default 1, 2 and 3) as <prefix>-<seconds>.png.
#include "foundation/core/CurrentDevice.h"
#include "scene/slideshow/DS_SlideShow_Light.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/TestDevice.h"

#include <d3dx9.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: slideframes <document> <slide> <out-prefix> [width height [mode [seconds...]]]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const unsigned slideIndex = static_cast<unsigned>(std::atoi(argv[2]));
    const std::string prefix = argv[3];
    const UINT width = argc > 5 ? static_cast<UINT>(std::atoi(argv[4])) : 1024;
    const UINT height = argc > 5 ? static_cast<UINT>(std::atoi(argv[5])) : 640;
    const int mode = argc > 6 ? std::atoi(argv[6]) : 1;
    std::vector<double> seconds;
    for (int i = 7; i < argc; ++i)
        seconds.push_back(std::atof(argv[i]));
    if (seconds.empty())
        seconds = {1.0, 2.0, 3.0};

    TestDevice device(width, height);
    if (!device.Ok()) {
        std::fprintf(stderr, "slideframes: no device\n");
        return 1;
    }
    CurrentDevice = device.Device();
    SceneDocument document = LoadSceneDocument(bytes.data(), bytes.size());
    if (!document || slideIndex >= document.root->slides.size()) {
        std::fprintf(stderr, "slideframes: no such document or slide\n");
        return 1;
    }
    for (const CountedPtr<DS_SlideContainer>& slide : document.root->slides)
        slide->BuildObjects();
    document.root->SetPicturePosition(mode);
    document.root->currentSlide = document.root->slides[slideIndex];
    document.root->ActivateSlide();
    DS_SlideContainer& slide = *document.root->currentSlide;

    // Every step is drawn, as the show draws every frame: some layers move
    // on once per frame they draw.
    const double step = 1.0 / 30.0;
    double time = 0.0;
    const auto drawFrame = [&] {
        device.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
        device.Device()->BeginScene();
        slide.RenderScene();
        slide.FinishFrame();
        device.Device()->EndScene();
    };
    for (double at : seconds) {
        while (time + step <= at + 1e-9) {
            time += step;
            slide.Update(static_cast<float>(time));
            drawFrame();
        }
        IDirect3DSurface9* back = nullptr;
        device.Device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
        char name[64];
        std::snprintf(name, sizeof name, "-%.2f.png", at);
        const std::string path = prefix + name;
        const HRESULT saved = D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_PNG, back, nullptr, nullptr);
        back->Release();
        std::printf("%s %s\n", path.c_str(), SUCCEEDED(saved) ? "saved" : "NOT saved");
    }
    document.root.reset();
    document.resources.reset();
    CurrentDevice = nullptr;
    return 0;
}
