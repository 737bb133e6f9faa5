# Shared part of the two MinGW toolchain files; VELMORA_MINGW_ARCH is x86_64 or i686.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VELMORA_MINGW_ARCH})
set(_triple ${VELMORA_MINGW_ARCH}-w64-mingw32)

# The -posix compilers: the -win32 ones lack std::thread and std::mutex, which GoogleTest uses.
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

# libjpeg-turbo built by tools/bootstrap lives beside the MinGW sysroot.
get_filename_component(_repo ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${_repo}/.cache/libjpeg-turbo/${VELMORA_MINGW_ARCH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in: the program must start on a Windows machine with nothing installed,
# so neither libstdc++, libgcc nor winpthread may be left as DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Only the 64-bit programs can run here, under Wine.
if(VELMORA_MINGW_ARCH STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${_repo}/tools/wine/wine-run)
endif()
