// Entry point of the screensaver.
#include "res/resource.h"

#include <windows.h>

namespace {

bool HasProgramResource(int number)
{
    return FindResourceW(nullptr, MAKEINTRESOURCEW(number), L"DDS") != nullptr;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Until the show runs, starting only checks that the program's own
    // resources are in place.
    const bool complete = HasProgramResource(IDR_SPLASH) && HasProgramResource(IDR_NOISE) &&
                          HasProgramResource(IDR_SCENE);
    return complete ? 0 : 1;
}
