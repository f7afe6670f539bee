# vesmar_warnings(target): our own code builds with these warnings and must stay warning-free.
# -Wsign-conversion keeps every signed/unsigned change of an index or size visible: each one is
# either typed right or cast where the value is known to fit.
# Shadowing is checked between locals only: the controls and editors take constructor arguments
# named after the fields they initialise (plug, rect, paramIndex, ...), which is intended.
function(vesmar_warnings target)
  # Locals-only shadowing is GCC's; clang (the fuzz build) would only report the flag as unknown.
  target_compile_options(${target} PRIVATE -Wall -Wextra $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local> -Wsign-conversion
                                           -Wnon-virtual-dtor -Woverloaded-virtual)
  # GCC 12's optimiser reports overlapping copies inside libstdc++'s own string concatenation
  # (a character literal plus a std::string) that cannot happen; fixed in GCC 13.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# vesmar_library(name SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One static library per folder; the folder itself is the include root for its users
# (#include "plugbase/IParameter.h").
function(vesmar_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  vesmar_warnings(${name})
endfunction()

# vesmar_gtest(name SOURCES ... [LIBS ...] [LABELS ...] [RESOURCE_LOCK lock])
# A GoogleTest executable registered with ctest; cross-compiled, it runs under Wine. Tests that
# share a resource (the X display and its pointer) name the same lock, so they never overlap.
function(vesmar_gtest name)
  cmake_parse_arguments(ARG "" "RESOURCE_LOCK" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  vesmar_warnings(${name})
  set(lock)
  if(ARG_RESOURCE_LOCK)
    set(lock RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES LABELS "${ARG_LABELS}" ${lock})
endfunction()
