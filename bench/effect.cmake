# The effect's audio callbacks and start-up, driven through the built module by the host library.
# It times itself, so it builds without the benchmark library and runs under Wine as well.
add_executable(vesmar_effect_bench ${CMAKE_CURRENT_LIST_DIR}/effect/EffectBench.cpp)
target_link_libraries(vesmar_effect_bench PRIVATE vesmar_hostlib)
vesmar_warnings(vesmar_effect_bench)
target_compile_definitions(vesmar_effect_bench PRIVATE VESMAR_PLUGIN_PATH="$<TARGET_FILE:vesmar_plugin>")
add_dependencies(vesmar_effect_bench vesmar_plugin)
if(VESMAR_WINDOWS)
  target_link_options(vesmar_effect_bench PRIVATE -static)
endif()
