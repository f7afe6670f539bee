# The LV2 plug-in's run() beside the VST 2 module's callback, both loaded as hosts load them
# (Linux: where the LV2 module is built).
if(NOT TARGET vesmar_lv2_plugin)
  return()
endif()
add_executable(vesmar_lv2_bench ${CMAKE_CURRENT_LIST_DIR}/lv2/Lv2Bench.cpp)
target_link_libraries(vesmar_lv2_bench PRIVATE vesmar_hostlib vesmar_lv2host)
vesmar_warnings(vesmar_lv2_bench)
target_compile_definitions(vesmar_lv2_bench PRIVATE VESMAR_PLUGIN_PATH="$<TARGET_FILE:vesmar_plugin>"
  VESMAR_LV2_BUNDLE="${VESMAR_LV2_BUNDLE}" VESMAR_LV2_URI="https://darvo.audio/plugins/vesmar")
add_dependencies(vesmar_lv2_bench vesmar_plugin vesmar_lv2_bundle)
