# State chunks from the host: program and bank loaders of the plug-in core.
vesmar_fuzzer(vesmar_plugbase_chunk_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/plugbase/ChunkFuzzer.cpp
  LIBS vesmar_plugbase)
