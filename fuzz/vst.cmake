# The dispatcher fed with arbitrary state chunks, event lists, parameter values and blocks.
if(TARGET vesmar_effect)
  vesmar_fuzzer(vesmar_vst_fuzzer SOURCES vst/DispatcherFuzzer.cpp LIBS vesmar_effect vesmar_vst vesmar_editor vesmar_hostlib)
endif()
