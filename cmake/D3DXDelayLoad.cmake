# D3DX as a delay-loaded import. d3dx9_43.dll is not part of a fresh Windows
# (the DirectX end-user runtime installs it), and a program that imports it
# the usual way is refused by the loader, with a system message, before any
# of its own code runs. Delay-loaded, the DLL is looked for at the first
# call instead, and the program checks first that it is there
# (host/runtime/D3DXRuntime.cpp) so that it can say so in its own words.
#
# The delay-import library is made at configure time from the toolchain's
# own import library: the same exports. The start-up check binds them all at
# once through the library's descriptor, which dlltool names after the
# library file (__DELAY_IMPORT_DESCRIPTOR_libd3dx9_43_delayed_a): keep the
# file name as it is.
#   NIGHTGLASS_D3DX_LIBRARY: the library to link in place of -ld3dx9.

find_library(NIGHTGLASS_D3DX_IMPORT_LIBRARY NAMES libd3dx9_43.a d3dx9_43 REQUIRED)
if(NOT CMAKE_NM OR NOT CMAKE_DLLTOOL)
  message(FATAL_ERROR "the toolchain's nm and dlltool are needed for the D3DX delay-import library")
endif()

set(NIGHTGLASS_D3DX_DLL d3dx9_43.dll)
set(nightglass_d3dx_def ${CMAKE_BINARY_DIR}/d3dx9_43.def)
set(NIGHTGLASS_D3DX_LIBRARY ${CMAKE_BINARY_DIR}/libd3dx9_43_delayed.a)

if(NOT EXISTS ${NIGHTGLASS_D3DX_LIBRARY} OR ${NIGHTGLASS_D3DX_IMPORT_LIBRARY} IS_NEWER_THAN ${NIGHTGLASS_D3DX_LIBRARY})
  execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${NIGHTGLASS_D3DX_IMPORT_LIBRARY}
                  OUTPUT_VARIABLE symbols RESULT_VARIABLE listed)
  if(NOT listed EQUAL 0)
    message(FATAL_ERROR "could not list the exports of ${NIGHTGLASS_D3DX_IMPORT_LIBRARY}")
  endif()
  # Every function of the import library has a code thunk (type T).
  string(REGEX MATCHALL "[0-9a-fA-F]+ T [A-Za-z_][A-Za-z0-9_]*" thunks "${symbols}")
  set(def "LIBRARY ${NIGHTGLASS_D3DX_DLL}\nEXPORTS\n")
  foreach(thunk IN LISTS thunks)
    string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${thunk}")
    string(APPEND def "    ${name}\n")
  endforeach()
  file(WRITE ${nightglass_d3dx_def} "${def}")
  # Made inside the build folder and named without it: dlltool names the
  # library's symbols after the output path, which must not depend on where
  # the build lives.
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def d3dx9_43.def --dllname ${NIGHTGLASS_D3DX_DLL}
                          --output-delaylib libd3dx9_43_delayed.a
                  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                  RESULT_VARIABLE made)
  if(NOT made EQUAL 0)
    message(FATAL_ERROR "dlltool could not make ${NIGHTGLASS_D3DX_LIBRARY}")
  endif()
endif()
