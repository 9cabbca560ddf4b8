#include "tests/support/TestDevice.h"

#include "foundation/render/SceneView.h"

namespace {

const wchar_t* const WindowClass = L"NightglassTestDevice";

void RegisterWindowClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = WindowClass;
    RegisterClassW(&wc);
    registered = true;
}

template <class T>
void SafeRelease(T*& p)
{
    if (p) {
        p->Release();
        p = nullptr;
    }
}

} // namespace

TestDevice::TestDevice(UINT width, UINT height)
{
    RegisterWindowClass();
    window = CreateWindowW(WindowClass, L"test", WS_OVERLAPPEDWINDOW, 0, 0, static_cast<int>(width),
                           static_cast<int>(height), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!window || !d3d)
        return;

    present.BackBufferWidth = width;
    present.BackBufferHeight = height;
    present.BackBufferFormat = D3DFMT_X8R8G8B8;
    present.BackBufferCount = 1;
    present.SwapEffect = D3DSWAPEFFECT_DISCARD;
    present.hDeviceWindow = window;
    present.Windowed = TRUE;
    present.EnableAutoDepthStencil = TRUE;
    present.AutoDepthStencilFormat = D3DFMT_D24S8;
    present.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &present, &device)))
        device = nullptr;
}

TestDevice::~TestDevice()
{
    // The process-wide scene view may hold border buffers made on this
    // device: the device must go now, while its window is still there.
    if (GlobalSceneView)
        GlobalSceneView->ReleaseBordersOf(device);
    SafeRelease(device);
    SafeRelease(d3d);
    if (window)
        DestroyWindow(window);
}

Pixels TestDevice::ReadBackBuffer() const
{
    IDirect3DSurface9* back = nullptr;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return {};
    Pixels p = ReadRenderTarget(back);
    back->Release();
    return p;
}

Pixels TestDevice::ReadRenderTarget(IDirect3DSurface9* surface) const
{
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                   &copy, nullptr)))
        return {};
    Pixels p;
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(device->GetRenderTargetData(surface, copy)) &&
        SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        p = Pixels::FromLocked(locked, static_cast<int>(desc.Width), static_cast<int>(desc.Height), desc.Format);
        copy->UnlockRect();
    }
    copy->Release();
    return p;
}

Pixels TestDevice::ReadTexture(IDirect3DTexture9* texture, UINT level) const
{
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(texture->GetSurfaceLevel(level, &surface)))
        return {};
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    Pixels p;
    if (desc.Usage & D3DUSAGE_RENDERTARGET) {
        p = ReadRenderTarget(surface);
    } else {
        D3DLOCKED_RECT locked{};
        if (SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            p = Pixels::FromLocked(locked, static_cast<int>(desc.Width), static_cast<int>(desc.Height),
                                   desc.Format);
            surface->UnlockRect();
        }
    }
    surface->Release();
    return p;
}

HRESULT TestDevice::Reset()
{
    return device->Reset(&present);
}

bool DrawEffectQuad(IDirect3DDevice9* device, ID3DXEffect* effect, const char* technique)
{
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
    };
    IDirect3DSurface9* back = nullptr;
    if (!device || !effect || FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return false;
    D3DSURFACE_DESC desc{};
    back->GetDesc(&desc);
    back->Release();
    // Pixel centres sit on whole coordinates: shift by half a pixel so the
    // quad covers every pixel exactly once.
    const float right = static_cast<float>(desc.Width) - 0.5f;
    const float bottom = static_cast<float>(desc.Height) - 0.5f;
    const D3DCOLOR white = D3DCOLOR_XRGB(255, 255, 255);
    const Vertex quad[4] = {
        {-0.5f, -0.5f, 0.0f, 1.0f, white},
        {right, -0.5f, 0.0f, 1.0f, white},
        {-0.5f, bottom, 0.0f, 1.0f, white},
        {right, bottom, 0.0f, 1.0f, white},
    };

    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTexture(0, nullptr);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    if (FAILED(effect->SetTechnique(technique)) || FAILED(device->BeginScene()))
        return false;
    bool drawn = true;
    UINT passes = 0;
    if (SUCCEEDED(effect->Begin(&passes, 0))) {
        for (UINT pass = 0; pass < passes; ++pass) {
            drawn = SUCCEEDED(effect->BeginPass(pass)) &&
                    SUCCEEDED(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex))) &&
                    SUCCEEDED(effect->EndPass()) && drawn;
        }
        effect->End();
    } else {
        drawn = false;
    }
    device->EndScene();
    return drawn && passes > 0;
}
