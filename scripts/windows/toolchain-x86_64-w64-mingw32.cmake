# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the POSIX thread
# model, for std::thread in the tests). QUIBBIX_WINDOWS_PREFIX names the folder
# the dependencies were built into; scripts/windows/build.sh passes it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${triple}-gcc-posix ${triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${triple}-g++-posix ${triple}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${triple}-windres REQUIRED)
set(CMAKE_AR ${triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-ranlib CACHE FILEPATH "")

# Search the dependency prefix and the toolchain's own sysroot only.
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
if(DEFINED QUIBBIX_WINDOWS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${QUIBBIX_WINDOWS_PREFIX})
  list(PREPEND CMAKE_PREFIX_PATH ${QUIBBIX_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
