# The dispatcher fed with arbitrary state chunks, event lists, parameter values and blocks.
if(TARGET vesmar_effect)
  vesmar_fuzzer(vesmar_vst_fuzzer SOURCES vst/DispatcherFuzzer.cpp LIBS vesmar_effect)
  # scripts/test-all.sh runs the targets listed in fuzzers.txt from the build directory's root.
  set_target_properties(vesmar_vst_fuzzer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
