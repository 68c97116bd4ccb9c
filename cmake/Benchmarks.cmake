# Benchmarks are built when CALC_BENCH is on (or empty, with the tests) and
# Google Benchmark is found; CTest never runs them. calc_add_benchmark puts every benchmark executable in
# <build>/bench and under the target "benchmarks", which is what bench/run
# builds and runs, so a benchmark added anywhere in the tree is picked up.
if(CALC_BENCH STREQUAL "")
  set(CALC_BENCH ${CALC_TESTS})
endif()
if(CALC_BENCH)
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    message(STATUS "Google Benchmark not found: no benchmarks")
  endif()
endif()

if(CALC_BENCH AND benchmark_FOUND)
  add_custom_target(benchmarks)
endif()

# calc_add_benchmark(name SOURCES file... [LIBRARIES lib...]): a Google Benchmark
# executable; nothing happens when benchmarks are not built.
function(calc_add_benchmark name)
  if(NOT TARGET benchmarks)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 BENCH "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${BENCH_SOURCES})
  target_link_libraries(${name} PRIVATE ${BENCH_LIBRARIES} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
  add_dependencies(benchmarks ${name})
endfunction()
