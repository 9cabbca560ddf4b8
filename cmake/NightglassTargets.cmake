# Shared settings for every Nightglass target, and the helper that applies them.

# Windows 7 API level with Unicode entry points throughout.
set(NIGHTGLASS_DEFINES UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(NIGHTGLASS_WARNINGS -Wall -Wextra -Wpedantic -Wno-unknown-pragmas)

# The platform libraries, in link order; D3DX is delay-loaded.
include(D3DXDelayLoad)
include(WineEnvironment)
set(NIGHTGLASS_PLATFORM_LIBS
  ${NIGHTGLASS_D3DX_LIBRARY} d3d9 dsound dxguid winmm strmiids ole32 oleaut32 uuid comctl32 gdiplus shlwapi)

function(nightglass_settings target)
  target_compile_definitions(${target} PRIVATE ${NIGHTGLASS_DEFINES})
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:${NIGHTGLASS_WARNINGS}>)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

