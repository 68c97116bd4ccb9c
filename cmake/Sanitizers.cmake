# CALC_SANITIZE builds every target of the tree, present and future, with
# AddressSanitizer and UndefinedBehaviorSanitizer. Any finding aborts the
# program, so a test that trips one fails. Include this before the first
# add_subdirectory so that every target picks the flags up.
option(CALC_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(CALC_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang|AppleClang)$")
    message(FATAL_ERROR "CALC_SANITIZE needs gcc or clang, not ${CMAKE_CXX_COMPILER_ID}")
  endif()
  set(CALC_SANITIZER_FLAGS
      -fsanitize=address,undefined
      -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${CALC_SANITIZER_FLAGS})
  add_link_options(${CALC_SANITIZER_FLAGS})
endif()
