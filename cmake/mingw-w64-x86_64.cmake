# Cross-building for 64-bit Windows with Debian's mingw-w64, posix thread model (the one whose
# libstdc++ has std::thread and std::mutex):
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MR3X_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MR3X_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MR3X_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${MR3X_MINGW}-windres)

# Headers, libraries and packages come from the Windows side only (the target's own root and
# whatever the caller adds to CMAKE_FIND_ROOT_PATH or CMAKE_PREFIX_PATH); programs from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${MR3X_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry their C++ runtime, so they run where no MinGW DLLs are installed.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
