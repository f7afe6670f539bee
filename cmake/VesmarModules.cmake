# Plug-in modules: one effect library, built once, linked with one format's adapter per module.
#
# Each adapter folder (vst/ today) registers its format with vesmar_plugin_format; the top level
# then builds a module per format with vesmar_plugin_module. Adding a format is a new folder with
# its adapter library, its entry object library (the exported symbols, which call CreateEffect from
# effect/CreateEffect.h) and one vesmar_plugin_format call, and one vesmar_plugin_module call.

# vesmar_plugin_format(FORMAT ADAPTER library ENTRY objects [WINDOWS_DEF file] [SUFFIX suffix])
# ADAPTER: the format's adapter library; ENTRY: the object library holding the module's exported
# entry points; WINDOWS_DEF: the module-definition file naming those exports for the DLL; SUFFIX:
# the module's file suffix when it is not the platform's (".clap", say).
function(vesmar_plugin_format format)
  cmake_parse_arguments(ARG "" "ADAPTER;ENTRY;WINDOWS_DEF;SUFFIX" "" ${ARGN})
  if(NOT ARG_ADAPTER OR NOT ARG_ENTRY)
    message(FATAL_ERROR "vesmar_plugin_format(${format}): ADAPTER and ENTRY are required")
  endif()
  foreach(key ADAPTER ENTRY WINDOWS_DEF SUFFIX)
    set_property(GLOBAL PROPERTY VESMAR_FORMAT_${format}_${key} "${ARG_${key}}")
  endforeach()
endfunction()

# vesmar_plugin_module(target FORMAT format OUTPUT_NAME name [EFFECT library])
# A loadable module of the given format named exactly name (plus the format's or the platform's
# suffix) in the build directory's root, from the effect library (default vesmar_effect; a test
# effect may stand in, defining CreateEffect itself) and the format's adapter. It exports only the
# format's entry points: everything else is hidden, and on Windows it links statically so that the
# DLL needs only system DLLs.
function(vesmar_plugin_module target)
  cmake_parse_arguments(ARG "" "FORMAT;OUTPUT_NAME;EFFECT" "" ${ARGN})
  get_property(adapter GLOBAL PROPERTY VESMAR_FORMAT_${ARG_FORMAT}_ADAPTER)
  get_property(entry GLOBAL PROPERTY VESMAR_FORMAT_${ARG_FORMAT}_ENTRY)
  get_property(def GLOBAL PROPERTY VESMAR_FORMAT_${ARG_FORMAT}_WINDOWS_DEF)
  get_property(suffix GLOBAL PROPERTY VESMAR_FORMAT_${ARG_FORMAT}_SUFFIX)
  if(NOT adapter)
    message(FATAL_ERROR "vesmar_plugin_module(${target}): unknown format '${ARG_FORMAT}'")
  endif()
  if(NOT ARG_EFFECT)
    set(ARG_EFFECT vesmar_effect)
  endif()
  add_library(${target} MODULE)
  target_link_libraries(${target} PRIVATE ${entry} ${ARG_EFFECT} ${adapter})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME "${ARG_OUTPUT_NAME}"
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(suffix)
    set_target_properties(${target} PROPERTIES SUFFIX "${suffix}")
  endif()
  if(VESMAR_WINDOWS)
    if(def)
      target_sources(${target} PRIVATE ${def})
    endif()
    target_link_options(${target} PRIVATE -static)
  else()
    # Symbols of the static libraries stay inside the module.
    target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL)
  endif()
endfunction()
