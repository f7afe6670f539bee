# Blit per mode and FillRect against a plain memcpy of the same bytes, and a rotated bilinear
# blit of a knob-sized image.
vesmar_benchmark(vesmar_raster_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/raster/RasterBench.cpp
  LIBS vesmar_raster)

# Knob value text from a warm and a cold glyph cache, against a Blit of the same area.
vesmar_benchmark(vesmar_text_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/raster/TextBench.cpp
  LIBS vesmar_raster)
