// The fixture of the slideshow tests: the test device as CurrentDevice, the
// probe objects registered, and documents loaded from builder bytes.
#pragma once

#include "foundation/core/CurrentDevice.h"
#include "foundation/render/SceneView.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "tests/support/ProbeObjects.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/SlideshowDocuments.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <optional>

class SlideshowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Ok());
        current.emplace(device.Device());
        GlobalSceneView->UseBorders(&borders);
        RegisterProbe();
        ProbeLog().clear();
    }
    void TearDown() override
    {
        GlobalSceneView->UseBorders(nullptr);
        current.reset();
    }

    static SceneDocument Load(const DocumentBuilder::Bytes& bytes)
    {
        return LoadSceneDocument(bytes.data(), bytes.size());
    }

    // Slide i's layer sized to the back buffer, started and with its sounds
    // on, as the show does when the slide becomes current.
    static void Activate(DS_SlideShow_Light& root, std::size_t index)
    {
        root.currentSlide = root.slides[index];
        root.ActivateSlide();
    }

    // Clears the back buffer to colour, then lets draw run inside a scene.
    template <class Draw>
    Pixels DrawFrame(D3DCOLOR background, Draw draw)
    {
        IDirect3DDevice9* d = device.Device();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, background, 1.0f, 0);
        d->BeginScene();
        draw();
        d->EndScene();
        return device.ReadBackBuffer();
    }

    TestDevice device;
    std::optional<ScopedCurrentDevice> current;
    // The scene view's borders on this device, as a screen of the program
    // keeps them: they go before the device, which must not outlive its
    // window (the view's own set would keep it until the process ends).
    SceneBorders borders;
};

// 0x00RRGGBB as a pixel.
inline Rgba Opaque(DWORD rgb) { return Rgba::FromArgb(0xFF000000 | rgb); }
