# The effect's audio callbacks and start-up, driven through the built module by the host library.
vesmar_benchmark(vesmar_effect_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/effect/EffectBench.cpp LIBS vesmar_hostlib)
target_compile_definitions(vesmar_effect_bench PRIVATE VESMAR_PLUGIN_PATH="$<TARGET_FILE:vesmar_plugin>")
add_dependencies(vesmar_effect_bench vesmar_plugin)
