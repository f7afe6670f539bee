# The VST 3 module's audio callback beside the VST 2 module's, and its start-up.
if(TARGET vesmar_vst3_plugin)
  vesmar_format_bench(vesmar_vst3_bench SOURCE ${CMAKE_CURRENT_LIST_DIR}/effect/Vst3Bench.cpp LIBS vesmar_vst3host
    DEFINITIONS VESMAR_VST3_BUNDLE="${CMAKE_BINARY_DIR}/Vesmar.vst3" DEPENDS vesmar_vst3_plugin)
endif()
