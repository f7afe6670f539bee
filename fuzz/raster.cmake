# DecodePng over arbitrary bytes (also into a reused caller bitmap).
vesmar_fuzzer(vesmar_raster_png_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/raster/DecodePngFuzzer.cpp
  LIBS vesmar_raster)

# DrawString over arbitrary byte strings, flags, counts and rectangles.
vesmar_fuzzer(vesmar_raster_text_fuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/raster/DrawStringFuzzer.cpp
  LIBS vesmar_raster)
