# 64-bit Windows with mingw-w64 (posix thread model). Everything links statically so the
# plug-in and the test programs need nothing but Windows system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VESMAR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VESMAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VESMAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VESMAR_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VESMAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# GCC for mingw-w64 cannot align the stack to 32 bytes, so an AVX value spilled to the stack with an
# aligned move can fault (unoptimised builds spill all the time). The assembler turns aligned vector
# moves into unaligned ones, which cost the same on aligned data.
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
