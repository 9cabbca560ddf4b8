// The steps of the program's start-up and exit announce themselves here, so
// that their order can be watched from outside. The program itself installs no
// listener: then a step costs one null test and leaves no trace anywhere.
#pragma once

using LifecycleListener = void (*)(const char* step);

// A listener that must see the start-up steps has to be installed before the
// program's own static initializer runs (a higher-priority initializer).
void SetLifecycleListener(LifecycleListener listener);

// Called by each start-up and exit step with its own name.
void NoteLifecycleStep(const char* step);
