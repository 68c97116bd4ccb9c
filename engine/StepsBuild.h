#pragma once

// Included first by the files compiled once for each build of the steps
// (RunOne.cpp, RunLanes.cpp; engine/CMakeLists.txt compiles them twice): it
// names the build being compiled, CALC_BUILD, the namespace its functions go
// in (steps::baseline, or steps::fma where CALC_STEPS_FMA is defined), and for
// the FMA build lets every function written after it use FMA and AVX2.
//
// Only those: the standard headers the builds use are included here, before
// the target is set, so that their inline functions keep the baseline
// instruction set. Each build emits its own copies of the ones it does not
// inline (at -O0, all of them), and the linker keeps one copy of each for the
// whole program: were the FMA build's copies compiled for AVX, the baseline
// loop could end up calling AVX code on a processor without it. Everything of
// a build's own is in its namespace, so nothing it defines stands in for the
// other's. A file built twice ends with CALC_BUILD_END.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>

#if defined(CALC_STEPS_FMA)
#define CALC_BUILD fma
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,fma"))), apply_to = function)
#define CALC_BUILD_END _Pragma("clang attribute pop")
#else
#pragma GCC target("avx2,fma")
#define CALC_BUILD_END
#endif
#else
#define CALC_BUILD baseline
#define CALC_BUILD_END
#endif
