# Cross-builds 64-bit Windows programs with Debian's mingw-w64 compilers.
# The POSIX-threads flavour is the one whose libstdc++ has std::thread and
# std::mutex (OpenAL Soft needs them). Programs link the GCC runtime and
# winpthread statically, so the release carries no compiler DLLs.
#
# KELVO_MINGW_PREFIX (cache variable or environment) names the folder the
# Windows builds of the game's libraries were installed into.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELVO_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${KELVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVO_MINGW_TRIPLET}-windres)

if(NOT KELVO_MINGW_PREFIX AND DEFINED ENV{KELVO_MINGW_PREFIX})
  set(KELVO_MINGW_PREFIX $ENV{KELVO_MINGW_PREFIX})
endif()
# try_compile projects see the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KELVO_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${KELVO_MINGW_TRIPLET} ${KELVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
