# Cross-compiling geoxform.dll for 64-bit Windows with MinGW-w64 (the POSIX threading variant,
# which std::thread needs). Programs run under Wine when CMake needs to run them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GEOXFORM_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${GEOXFORM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GEOXFORM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GEOXFORM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GEOXFORM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime libraries are linked in, so that the DLL and the programs need no MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive")

find_program(GEOXFORM_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT GEOXFORM_WINE64)
  find_program(GEOXFORM_WINE64 NAMES wine64 wine)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${GEOXFORM_WINE64})
