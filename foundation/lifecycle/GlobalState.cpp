#include "foundation/lifecycle/GlobalState.h"

#include "foundation/core/LifecycleTrace.h"
#include "foundation/render/SceneView.h"

#include <cstdlib>

// Objects of the global state are built in InitGlobalState and destroyed in
// DestroyGlobalState, and their storage must be trivially destructible (a raw
// pointer, not a smart pointer): a global with a destructor of its own would
// be scheduled for exit by its translation unit's initializer, at a moment
// that depends on the link order.

void InitGlobalState()
{
    NoteLifecycleStep("InitGlobalState");
    if (!GlobalSceneView) {
        GlobalSceneView = new SceneView;
        NoteLifecycleStep("BuildGlobalSceneView");
    }
    std::atexit(DestroyGlobalState);
}

void DestroyGlobalState()
{
    NoteLifecycleStep("DestroyGlobalState");
    if (GlobalSceneView) {
        delete GlobalSceneView;
        GlobalSceneView = nullptr;
        NoteLifecycleStep("DestroyGlobalSceneView");
    }
}
