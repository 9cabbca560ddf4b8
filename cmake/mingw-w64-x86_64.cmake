# Cross-compiles 64-bit Windows binaries with Debian's mingw-w64 (posix threads)
# and runs them under Wine where CMake needs to run a target program.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NIGHTGLASS_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${NIGHTGLASS_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NIGHTGLASS_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${NIGHTGLASS_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NIGHTGLASS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Everything links statically so the .scr needs no DLL beside the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

find_program(NIGHTGLASS_WINE wine)
if(NIGHTGLASS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${NIGHTGLASS_WINE})
endif()
