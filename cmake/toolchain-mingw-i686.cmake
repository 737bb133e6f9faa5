# Cross-compiles for 32-bit Windows with MinGW-w64. Built and linked only: these machines'
# kernels cannot execute 32-bit code.
set(VELMORA_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
