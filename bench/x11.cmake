# Vesmar's editor in a real X11 window (Linux): an idle call with only the pan bar dirty and a
# full present, each against a memcpy of the same pixels. It times itself on the wall clock and
# needs an X display (Xvfb will do).
if(NOT VESMAR_WINDOWS)
  add_executable(vesmar_x11_present_bench ${CMAKE_CURRENT_LIST_DIR}/editor/x11/X11PresentBench.cpp)
  target_link_libraries(vesmar_x11_present_bench PRIVATE vesmar_hostlib vesmar_xcb)
  target_include_directories(vesmar_x11_present_bench PRIVATE ${PROJECT_SOURCE_DIR})
  vesmar_warnings(vesmar_x11_present_bench)
  target_compile_definitions(vesmar_x11_present_bench PRIVATE VESMAR_PLUGIN_PATH="$<TARGET_FILE:vesmar_plugin>")
  add_dependencies(vesmar_x11_present_bench vesmar_plugin)
endif()
