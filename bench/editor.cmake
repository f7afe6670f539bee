# A test editor (background plus ten controls): one full repaint and one idle tick with a single
# small dirty control, each beside a plain copy of the same pixels.
vesmar_benchmark(vesmar_editor_bench
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/editor/TestEditorBench.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/HeadlessEditor.cpp
  LIBS vesmar_editor)

# The effect's editor on its back buffer: a full repaint, an idle tick (only the pan bar dirty) and
# one knob-drag step, against copying the back buffer's bytes with memcpy.
if(TARGET benchmark::benchmark)
  vesmar_benchmark(vesmar_effect_editor_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor/EffectEditorBench.cpp
    LIBS vesmar_effect)
  target_include_directories(vesmar_effect_editor_bench PRIVATE ${PROJECT_SOURCE_DIR})
  include(VesmarResources)
  vesmar_editor_images(vesmar_effect_editor_bench)
endif()
