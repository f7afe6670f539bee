# The VST 3 module's audio callback beside the VST 2 module's, and its start-up (self-timed, so it
# runs under Wine as well).
if(TARGET vesmar_vst3_plugin)
  add_executable(vesmar_vst3_bench ${CMAKE_CURRENT_LIST_DIR}/effect/Vst3Bench.cpp)
  target_link_libraries(vesmar_vst3_bench PRIVATE vesmar_vst3host)
  vesmar_warnings(vesmar_vst3_bench)
  target_compile_definitions(vesmar_vst3_bench PRIVATE VESMAR_PLUGIN_PATH="$<TARGET_FILE:vesmar_plugin>"
                             VESMAR_VST3_BUNDLE="${CMAKE_BINARY_DIR}/Vesmar.vst3")
  add_dependencies(vesmar_vst3_bench vesmar_plugin vesmar_vst3_plugin)
  if(VESMAR_WINDOWS)
    target_link_options(vesmar_vst3_bench PRIVATE -static)
  endif()
endif()
