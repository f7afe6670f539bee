# The LV2 plug-in's run() beside the VST 2 module's callback, both loaded as hosts load them
# (Linux: where the LV2 module is built).
if(TARGET vesmar_lv2_plugin)
  vesmar_format_bench(vesmar_lv2_bench SOURCE ${CMAKE_CURRENT_LIST_DIR}/lv2/Lv2Bench.cpp
    LIBS vesmar_hostlib vesmar_lv2host DEPENDS vesmar_lv2_bundle
    DEFINITIONS VESMAR_LV2_BUNDLE="${VESMAR_LV2_BUNDLE}" VESMAR_LV2_URI="https://darvo.audio/plugins/vesmar")
endif()
