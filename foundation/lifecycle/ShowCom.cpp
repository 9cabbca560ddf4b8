#include "foundation/lifecycle/ShowCom.h"

#include "foundation/core/LifecycleTrace.h"

#include <windows.h>
#include <objbase.h>

namespace {

bool Tried = false;
// Set only when the start counted COM up on StartThread.
bool Counted = false;
DWORD StartThread = 0;

} // namespace

void StartShowCom()
{
    if (Tried)
        return;
    Tried = true;
    const HRESULT started = CoInitialize(nullptr);
    Counted = SUCCEEDED(started);
    StartThread = GetCurrentThreadId();
}

void EndShowCom()
{
    NoteLifecycleStep("EndShowCom");
    if (!Tried || StartThread != GetCurrentThreadId())
        return;
    Tried = false;
    if (Counted) {
        Counted = false;
        CoUninitialize();
    }
}
