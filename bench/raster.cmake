# Blit per mode and FillRect against a plain memcpy of the same bytes, and a rotated bilinear
# blit of a knob-sized image.
vesmar_benchmark(vesmar_bench_raster
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/raster/RasterBench.cpp
  LIBS vesmar_raster)
