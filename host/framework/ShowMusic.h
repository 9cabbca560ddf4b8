// The show's music as the framework drives it: made at the create step for
// the full-screen show and the test window, asked for one event each time its
// message reaches the main window, and released when the framework goes. The
// application gives the framework the music it plays.
#pragma once

#include <windows.h>

// The message that carries the music's events to the main window.
constexpr UINT MusicEventMessage = WM_APP;

class ShowMusic {
public:
    // Makes the music and has its events posted to the window as
    // MusicEventMessage; false when a step fails.
    virtual bool Create(HWND window) = 0;
    virtual void Release() = 0;
    // The code of the next event, taken and freed; -1 when there is none.
    virtual int NextEvent() = 0;

protected:
    ~ShowMusic() = default;
};
