# The CLAP module's process call beside the VST 2 module's float callback, both built modules
# loaded through the host libraries. It times itself, so it also runs under Wine.
if(TARGET vesmar_clap_plugin AND TARGET vesmar_claphost)
  add_executable(vesmar_clap_bench ${CMAKE_CURRENT_LIST_DIR}/clap/ClapBench.cpp)
  target_link_libraries(vesmar_clap_bench PRIVATE vesmar_claphost)
  vesmar_warnings(vesmar_clap_bench)
  target_compile_definitions(vesmar_clap_bench PRIVATE VESMAR_PLUGIN_PATH="$<TARGET_FILE:vesmar_plugin>"
                             VESMAR_CLAP_PATH="$<TARGET_FILE:vesmar_clap_plugin>")
  add_dependencies(vesmar_clap_bench vesmar_plugin vesmar_clap_plugin)
  if(VESMAR_WINDOWS)
    target_link_options(vesmar_clap_bench PRIVATE -static)
  endif()
endif()
