# The readers of files a user hands vsthost, each with its round trip: MIDI files, WAV (the codec
# of the Windows build), .fxp programs and .fxb banks, and state files loaded into Vesmar.
vesmar_fuzzer(vesmar_vsthost_smf_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/vsthost/SmfFuzzer.cpp
  LIBS vesmar_vsthost_tool)
vesmar_fuzzer(vesmar_vsthost_wav_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/vsthost/WavFuzzer.cpp
  LIBS vesmar_vsthost_tool)
vesmar_fuzzer(vesmar_vsthost_fxp_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/vsthost/PresetFuzzer.cpp
  LIBS vesmar_vsthost_tool)
target_compile_definitions(vesmar_vsthost_fxp_fuzzer PRIVATE VESMAR_FUZZ_BANK=0)
vesmar_fuzzer(vesmar_vsthost_fxb_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/vsthost/PresetFuzzer.cpp
  LIBS vesmar_vsthost_tool)
target_compile_definitions(vesmar_vsthost_fxb_fuzzer PRIVATE VESMAR_FUZZ_BANK=1)
if(TARGET vesmar_effect)
  vesmar_fuzzer(vesmar_vsthost_state_fuzzer
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/vsthost/StateFileFuzzer.cpp
    LIBS vesmar_vsthost_tool vesmar_effect vesmar_vst vesmar_editor)
endif()
