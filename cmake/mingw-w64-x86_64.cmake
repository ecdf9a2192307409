# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads), the
# programs run under Wine. Used by scripts/test.sh --windows:
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELLONIX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELLONIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELLONIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELLONIX_MINGW_TRIPLET}-windres)

# Libraries and packages for Windows only; the build machine's programs.
set(CMAKE_FIND_ROOT_PATH /usr/${VELLONIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the executables need no mingw DLLs beside them under Wine
# or on a Windows machine.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# ctest and custom commands run the built programs through Wine.
find_program(VELLONIX_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VELLONIX_WINE})
