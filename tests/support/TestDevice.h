// A hidden window with a Direct3D 9 device on it, for tests that draw.
#pragma once

#include "tests/support/Pixels.h"

#include <windows.h>
#include <d3d9.h>
#include <d3dx9effect.h>

class TestDevice {
public:
    // HAL, software vertex processing, windowed, with a back buffer of the
    // given size. Ok() tells whether the device could be made.
    TestDevice(UINT width = 256, UINT height = 256);
    ~TestDevice();
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    bool Ok() const { return device != nullptr; }
    IDirect3DDevice9* Device() const { return device; }
    IDirect3D9* Direct3D() const { return d3d; }
    HWND Window() const { return window; }
    const D3DPRESENT_PARAMETERS& PresentParameters() const { return present; }

    // Copies the back buffer, as drawn so far, into system memory.
    Pixels ReadBackBuffer() const;
    // Copies any render-target surface or the top level of a render-target
    // texture.
    Pixels ReadRenderTarget(IDirect3DSurface9* surface) const;
    Pixels ReadTexture(IDirect3DTexture9* texture, UINT level = 0) const;

    // Resets the device with its own present parameters; default-pool
    // objects must have been released first.
    HRESULT Reset();

private:
    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS present{};
};

// Draws one quad over the whole back buffer through every pass of the
// effect's technique, inside its own BeginScene and EndScene: the passes
// alone decide the colour (no texture, no lighting, no depth test before
// they apply their states). False when a step fails.
bool DrawEffectQuad(IDirect3DDevice9* device, ID3DXEffect* effect, const char* technique);
