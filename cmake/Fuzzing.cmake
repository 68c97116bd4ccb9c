# CALC_FUZZ adds the libFuzzer targets of fuzz/. Only clang has libFuzzer;
# with another compiler the option is switched off with a warning. Every
# target gets coverage instrumentation (and the runtime it calls), so the
# fuzzers see inside the libraries they call; only the fuzz targets link
# libFuzzer's main.
option(CALC_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(CALC_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(WARNING "CALC_FUZZ needs clang; the fuzz targets are not built with ${CMAKE_CXX_COMPILER_ID}")
  set(CALC_FUZZ OFF CACHE BOOL "Build the libFuzzer targets (needs clang)" FORCE)
endif()

if(CALC_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
  add_link_options(-fsanitize=fuzzer-no-link)
endif()

