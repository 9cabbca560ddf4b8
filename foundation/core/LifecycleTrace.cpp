#include "foundation/core/LifecycleTrace.h"

namespace {

// Constant-initialized, so it is valid before any dynamic initializer runs and
// stays valid through every exit step.
LifecycleListener listener = nullptr;

} // namespace

void SetLifecycleListener(LifecycleListener newListener) { listener = newListener; }

void NoteLifecycleStep(const char* step)
{
    if (listener)
        listener(step);
}
