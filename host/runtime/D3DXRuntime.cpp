#include "host/runtime/D3DXRuntime.h"

#include "host/runtime/SystemLibrary.h"

#include <windows.h>
#include <delayimp.h>

#include <cstring>

// The delay-import descriptor of d3dx9_43.dll that cmake/D3DXDelayLoad.cmake
// makes (dlltool names it after the library file), the helper that binds
// one import through it, and the program's own image.
extern "C" const ImgDelayDescr __DELAY_IMPORT_DESCRIPTOR_libd3dx9_43_delayed_a;
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* entry);
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

const ImgDelayDescr& D3DXDelayImports = __DELAY_IMPORT_DESCRIPTOR_libd3dx9_43_delayed_a;
const char* const D3DXRuntimeName = "d3dx9_43.dll";
const wchar_t* const D3DXRuntimeWideName = L"d3dx9_43.dll";

// The module every delayed D3DX call binds to, once the start-up check has
// found it in the system folder.
HMODULE BoundRuntime = nullptr;
// Set while the imports are bound when the module lacks one of them.
bool ImportMissing = false;

bool IsD3DXRuntime(const char* name)
{
    return name && _stricmp(name, D3DXRuntimeName) == 0;
}

// Stands in for a function the module does not have. Nothing calls it: a
// runtime that lacks an import is refused before anything draws.
HRESULT WINAPI MissingImport()
{
    return E_NOTIMPL;
}

// The delayed calls load the runtime through this hook, which gives them the
// module from the system folder, never one found by the loader's search.
FARPROC WINAPI NotifyDelayLoad(unsigned notification, PDelayLoadInfo info)
{
    if (notification == dliNotePreLoadLibrary && info && IsD3DXRuntime(info->szDll))
        return reinterpret_cast<FARPROC>(BoundRuntime ? BoundRuntime : LoadSystemD3DXRuntime());
    return nullptr;
}

// A runtime without a function the program imports: recorded, and the
// import gets a stand-in, so that binding goes on instead of ending the
// program with an exception.
FARPROC WINAPI FailDelayLoad(unsigned notification, PDelayLoadInfo info)
{
    if (notification == dliFailGetProc && info && IsD3DXRuntime(info->szDll)) {
        ImportMissing = true;
        char line[160] = "Nightglass: d3dx9_43.dll lacks ";
        if (info->dlp.fImportByName && info->dlp.szProcName)
            strncat(line, info->dlp.szProcName, sizeof line - std::strlen(line) - 2);
        strcat(line, "\n");
        OutputDebugStringA(line);
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(MissingImport));
    }
    return nullptr;
}

} // namespace

HMODULE LoadSystemD3DXRuntime()
{
    return LoadSystemLibrary(D3DXRuntimeWideName);
}

bool BindD3DXImports(HMODULE runtime)
{
    if (!runtime)
        return false;
    BoundRuntime = runtime;
    ImportMissing = false;
    __pfnDliNotifyHook2 = NotifyDelayLoad;
    __pfnDliFailureHook2 = FailDelayLoad;
    // Every function the program imports is looked up now, not at its first
    // call: a module that lacks one is found out here. The linker does not
    // list delayed imports in the program's header, so they are reached
    // through the descriptor the delay-import library defines.
    const ImgDelayDescr& descriptor = D3DXDelayImports;
    BYTE* const base = reinterpret_cast<BYTE*>(&__ImageBase);
    auto* entry = reinterpret_cast<FARPROC*>(base + descriptor.rvaIAT);
    for (auto* name = reinterpret_cast<PCImgThunkData>(base + descriptor.rvaINT); name->u1.AddressOfData;
         ++name, ++entry)
        __delayLoadHelper2(&descriptor, entry);
    return !ImportMissing;
}

bool LoadD3DXRuntime()
{
    static int loaded = -1;
    if (loaded < 0)
        loaded = BindD3DXImports(LoadSystemD3DXRuntime()) ? 1 : 0;
    return loaded == 1;
}
