# Which platform folder (win/ or posix/) the build picks, and the flags every target shares.
if(WIN32)
  set(VESMAR_WINDOWS ON)
  set(VESMAR_PLATFORM_DIR win)
else()
  set(VESMAR_WINDOWS OFF)
  set(VESMAR_PLATFORM_DIR posix)
endif()

if(VESMAR_WINDOWS AND CMAKE_CROSSCOMPILING)
  # Tests run under Wine with a private prefix in the build tree. The winedbg override matters:
  # with Wine's automatic debugger a crashing test can exit 0.
  set(VESMAR_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix used by the tests")
  set(VESMAR_WINE /usr/lib/wine/wine64 CACHE FILEPATH "wine64 loader")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      /usr/bin/env;WINEDEBUG=-all;WINEPREFIX=${VESMAR_WINEPREFIX};WINEDLLOVERRIDES=winedbg.exe=d;${VESMAR_WINE})
endif()

if(VESMAR_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(VESMAR_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT VESMAR_SANITIZE STREQUAL "")
  message(FATAL_ERROR "VESMAR_SANITIZE must be empty, address or thread")
endif()

if(VESMAR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VESMAR_FUZZ needs clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

# Reproducible binaries: no source or build paths in them (assertion texts, debug information),
# and on Windows no link time in the PE header, so two builds of one commit are byte-identical.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
if(VESMAR_WINDOWS)
  add_link_options(-Wl,--no-insert-timestamp)
endif()
