#include "host/runtime/D3DXRuntime.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <d3dx9.h>

namespace {

// Like the program, this test imports D3DX (delay-loaded): the check has
// imports to bind.
// Volatile, so that the reference (and with it the import) stays.
void* volatile ImportedFunction = reinterpret_cast<void*>(&D3DXCreateTexture);

// A module named like the runtime that lacks its functions (here a module of
// resources only) is refused by the start-up check, which the program turns
// into its own message; it must not end the program.
TEST(D3DXRuntime, AModuleWithoutTheImportedFunctionsIsRefused)
{
    ASSERT_TRUE(ImportedFunction);
    EXPECT_FALSE(BindD3DXImports(nullptr));
    HMODULE wrong = LoadLibraryExW(L"nightglass_test_res.dll", nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    ASSERT_TRUE(wrong);
    EXPECT_FALSE(BindD3DXImports(wrong));
}

// The runtime comes from the system folder, under its own name there.
TEST(D3DXRuntime, TheRuntimeIsLoadedFromTheSystemFolder)
{
    HMODULE runtime = LoadSystemD3DXRuntime();
    ASSERT_TRUE(runtime);
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(runtime, path, MAX_PATH), 0u);
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(0, _wcsnicmp(path, system, length)) << "loaded from " << path;
    EXPECT_EQ(0, _wcsicmp(path + length, L"\\d3dx9_43.dll")) << path;
}

} // namespace
