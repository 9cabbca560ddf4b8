// A screensaver made of the framework and the music graph alone, for the end-to-end tests of what
// the program itself cannot show from outside: the settings it read, and what
// it drew into a preview window. Each screen is cleared to a colour of its
// own. Not part of the program.
//
// Environment:
//   NIGHTGLASS_PROBE_LOG=path    at exit, what the run saw is written there,
//                                with the size and centre colour of the
//                                first screen's back buffer as last presented
//                                (this Wine shows nothing that Direct3D draws
//                                into a child window, such as the preview).
#include "foundation/core/ComHolder.h"
#include "foundation/core/CurrentDevice.h"
#include "host/framework/CD3DScreensaver.h"
#include "host/framework/DeviceRequirements.h"
#include "host/framework/MonitorSettings.h"
#include "host/framework/Settings.h"
#include "host/music/MusicGraph.h"
#include "res/resource.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

// Screen i is cleared to ScreenColours[i].
const D3DCOLOR ScreenColours[] = {0xFF20C040, 0xFFC04020, 0xFF2040C0};

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

class ColourSaver : public CD3DScreensaver {
public:
    ColourSaver()
    {
        wantDepthBuffer = true;
        music = &GraphMusic();
        SetSettingsKeyPath(ProgramSettingsKeyPath);
        wcscpy(settingsKeyPath, ProgramSettingsKeyPath);
        LoadStringW(GetModuleHandleW(nullptr), IDS_DISPLAY_NAME, windowTitle, 200);
    }

    void ReadSettings() override { ReadSettingsFromRegistry(*this); }
    HRESULT CheckDeviceRequirements(const D3DCAPS9& caps, DWORD, D3DFORMAT format) override
    {
        return CheckBumpMappingSupport(direct3D.Get(), caps, format);
    }
    void OnScreenSelected(int index) override
    {
        current = index;
        CurrentDevice = device;
    }
    HRESULT OnDeviceCreated() override
    {
        ++devicesCreated;
        return S_OK;
    }
    HRESULT RenderFrame() override
    {
        ++framesDrawn;
        if (SUCCEEDED(device->BeginScene())) {
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ScreenColours[current % 3], 1.0f, 0);
            device->EndScene();
        }
        return S_OK;
    }

    int devicesCreated = 0;
    int adaptersListed = 0;
    int framesDrawn = 0;
    UINT backBufferWidth = 0;
    UINT backBufferHeight = 0;
    D3DCOLOR backBufferCentre = 0;

protected:
    HRESULT PresentScreen(IDirect3DDevice9* screenDevice) override
    {
        if (current == 0)
            ReadBackBufferCentre(screenDevice);
        return CD3DScreensaver::PresentScreen(screenDevice);
    }

private:
    void ReadBackBufferCentre(IDirect3DDevice9* screenDevice)
    {
        ComHolder<IDirect3DSurface9> back;
        ComHolder<IDirect3DSurface9> copy;
        D3DSURFACE_DESC desc{};
        if (FAILED(screenDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.Out())) ||
            FAILED(back->GetDesc(&desc)) ||
            FAILED(screenDevice->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                             D3DPOOL_SYSTEMMEM, copy.Out(), nullptr)) ||
            FAILED(screenDevice->GetRenderTargetData(back.Get(), copy.Get())))
            return;
        D3DLOCKED_RECT locked{};
        if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
            return;
        const BYTE* row = static_cast<const BYTE*>(locked.pBits) + (desc.Height / 2) * locked.Pitch;
        backBufferCentre = reinterpret_cast<const D3DCOLOR*>(row)[desc.Width / 2] & 0xFFFFFF;
        copy->UnlockRect();
        backBufferWidth = desc.Width;
        backBufferHeight = desc.Height;
    }

    int current = 0;
};

void WriteLog(const ColourSaver& saver, const std::string& path)
{
    FILE* log = std::fopen(path.c_str(), "w");
    if (!log)
        return;
    int windows = 0;
    for (int i = 0; i < saver.monitorCount; ++i)
        windows += saver.monitors[i].window ? 1 : 0;
    std::fprintf(log, "mode %d\nmonitors %d\nadapters %d\nwindows %d\ndevices %d\n", static_cast<int>(saver.mode),
                 saver.monitorCount, saver.adaptersListed, windows, saver.devicesCreated);
    std::fprintf(log, "PicPos %lu\nSoundVolume %lu\nSoundBalance %lu\nMuteSound %lu\nAllScreensSame %lu\n",
                 static_cast<unsigned long>(GetPicturePosition()),
                 static_cast<unsigned long>(ReadSetting(SoundVolumeSetting)),
                 static_cast<unsigned long>(ReadSetting(SoundBalanceSetting)),
                 static_cast<unsigned long>(ReadSetting(MuteSoundSetting)),
                 static_cast<unsigned long>(saver.allScreensSame));
    std::fprintf(log, "frames %d\nbackbuffer %ux%u %06lX\n", saver.framesDrawn, saver.backBufferWidth,
                 saver.backBufferHeight, static_cast<unsigned long>(saver.backBufferCentre));
    std::fclose(log);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    ColourSaver saver;
    const HRESULT hr = saver.Create(instance);
    if (FAILED(hr)) {
        saver.ShowErrorMessage(hr);
        return 0;
    }
    saver.adaptersListed = saver.adapterCount;
    saver.Run();
    const std::string log = Environment("NIGHTGLASS_PROBE_LOG");
    if (!log.empty())
        WriteLog(saver, log);
    return 0;
}
