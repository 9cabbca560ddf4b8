// The process-wide drawing state that every screen shares. It is built once,
// before the program's entry point, and ends after everything else that the
// start-up built, because the registries and documents may still refer to it
// while they are taken down.
#pragma once

// Builds the global state and schedules DestroyGlobalState at exit. The
// start-up calls it first, so its exit step runs last.
void InitGlobalState();

// Ends the global state; run at exit.
void DestroyGlobalState();
