# DecodePng over arbitrary bytes (also into a reused caller bitmap).
vesmar_fuzzer(vesmar_fuzz_png
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/raster/DecodePngFuzzer.cpp
  LIBS vesmar_raster)
