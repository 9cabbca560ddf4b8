// Entry point of the screensaver: Windows starts it with the screensaver
// command line; the application object does the rest.
#include "host/app/ZAvaduVedoverovez.h"
#include "host/runtime/SystemLibrary.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace {

// GDI+ is started for the whole run and shut down after the application.
class GdiplusSession {
public:
    GdiplusSession()
    {
        const Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
            token = 0;
    }
    ~GdiplusSession()
    {
        if (token)
            Gdiplus::GdiplusShutdown(token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token = 0;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // A screensaver is often started from the folder it was downloaded to:
    // every library loaded from here on comes from the system folder only,
    // never from beside the program or from the current folder.
    RestrictLibrarySearch();
    const GdiplusSession gdiplus;
    ZAvaduVedoverovez saver;
    const HRESULT created = saver.Create(instance);
    if (FAILED(created)) {
        saver.ShowErrorMessage(created);
        return 0;
    }
    return static_cast<int>(saver.Run());
}
