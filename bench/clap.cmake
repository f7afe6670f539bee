# The CLAP module's process call beside the VST 2 module's float callback, both built modules
# loaded through the host libraries.
if(TARGET vesmar_clap_plugin AND TARGET vesmar_claphost)
  vesmar_format_bench(vesmar_clap_bench SOURCE ${CMAKE_CURRENT_LIST_DIR}/clap/ClapBench.cpp LIBS vesmar_claphost
    DEFINITIONS VESMAR_CLAP_PATH="$<TARGET_FILE:vesmar_clap_plugin>" DEPENDS vesmar_clap_plugin)
endif()
