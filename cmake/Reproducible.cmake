# One commit builds the same program in any folder: the compiler writes the
# source folder as "." and the build folder as "build" wherever it records a
# path (debug information, __FILE__), so neither the binary nor its build id,
# which is a digest of it, depends on where it was built. A debugger started
# in the source folder still finds the sources. The build folder's mapping
# comes second, so it wins when the build folder is inside the sources.
include(CheckCXXCompilerFlag)

check_cxx_compiler_flag(-ffile-prefix-map=/a=b CALC_CXX_HAS_FILE_PREFIX_MAP)
if(CALC_CXX_HAS_FILE_PREFIX_MAP)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
endif()
