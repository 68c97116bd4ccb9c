# Every target is built with the protections Debian builds its archive with
# (dpkg-buildflags, hardening=+all): the program reads what a person types and
# writes into folders others may share. Each flag is kept only where the
# compiler and linker accept it (-fcf-protection exists on x86 only). The flags
# go in front of the user's (CMAKE_CXX_FLAGS, CMAKE_C_FLAGS for the generated
# Wayland code, and CMAKE_EXE_LINKER_FLAGS, which CMake fills from CXXFLAGS,
# CFLAGS and LDFLAGS), so that a flag the user passes has the last word. The
# tree builds executables and static libraries only, and every static library
# ends up in an executable, so -fPIE is asked for everywhere (not the -fPIC of
# shared libraries, under which a call to one of our functions may be
# interposed, so it is not inlined). It holds where Qt is not linked: Qt 6,
# built with reduce-relocations, adds -fPIC to every target that links it (an
# interface option of Qt6::Core, after ours, so it wins; its headers refuse
# -fPIE). The engine, its tests, the fuzzers and the engine benchmark are built
# -fPIE; platform, calculator, graph, the window tests and graph_bench -fPIC.
# Every executable is still linked -pie.
# Include this after Sanitizers.
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)

set(calc_hardening_compile
    -fPIE                     # the loader may place the program anywhere (with -pie)
    -fstack-protector-strong  # a canary in every function with an array or an addressed local
    -fstack-clash-protection  # large stack frames touched page by page, never jumped over
    -fcf-protection)          # indirect jumps and returns land only where they may (CET)
set(calc_hardening_link
    -pie
    -Wl,-z,relro  # the relocated data read-only once loaded...
    -Wl,-z,now)   # ...which needs every symbol bound at start-up

foreach(flag IN LISTS calc_hardening_compile)
  string(MAKE_C_IDENTIFIER "CALC_CXX_HAS${flag}" accepted)
  check_cxx_compiler_flag(${flag} ${accepted})
  if(${accepted})
    string(PREPEND CMAKE_CXX_FLAGS "${flag} ")
    string(PREPEND CMAKE_C_FLAGS "${flag} ")
  endif()
endforeach()
foreach(flag IN LISTS calc_hardening_link)
  string(MAKE_C_IDENTIFIER "CALC_LINKER_HAS${flag}" accepted)
  check_linker_flag(CXX ${flag} ${accepted})
  if(${accepted})
    string(PREPEND CMAKE_EXE_LINKER_FLAGS "${flag} ")
  endif()
endforeach()

# glibc's checked string and memory functions work only when optimising, and
# they hide calls from the sanitizers' own, stricter checks. A level the user
# sets (or unsets) in CMAKE_CXX_FLAGS is kept.
if(NOT CALC_SANITIZE AND NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
  add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
