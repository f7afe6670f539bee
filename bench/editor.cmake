# A test editor (background plus ten controls): one full repaint and one idle tick with a single
# small dirty control, each beside a plain copy of the same pixels.
vesmar_benchmark(vesmar_editor_bench
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/editor/EditorBench.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/HeadlessEditor.cpp
  LIBS vesmar_editor)
