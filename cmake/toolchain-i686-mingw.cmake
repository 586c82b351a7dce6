# Cross build of the 32-bit Windows library with MinGW-w64.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(_mingw_prefix i686-w64-mingw32)

# Prefer the win32 thread model: its runtime needs no winpthread DLL.
find_program(CMAKE_C_COMPILER NAMES ${_mingw_prefix}-gcc-win32 ${_mingw_prefix}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_mingw_prefix}-g++-win32 ${_mingw_prefix}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_mingw_prefix}-windres REQUIRED)
find_program(CMAKE_AR NAMES ${_mingw_prefix}-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES ${_mingw_prefix}-ranlib REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# x87 intermediates would make results differ from the host's SSE2 arithmetic.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# Link the compiler runtime statically so that the DLL and the test programs
# load with nothing beside them but system DLLs (also under wine). -static
# also pulls in winpthread statically should a posix-thread toolchain be used.
set(_mingw_static "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_mingw_static}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_mingw_static}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_mingw_static}")

# Run cross-built test programs through wine when wine is installed. Give wine
# a prefix of its own (WINEPREFIX, WINEARCH=win32); scripts/test does.
find_program(_mingw_wine NAMES wine)
if(_mingw_wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
