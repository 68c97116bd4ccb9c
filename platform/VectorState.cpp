#include "platform/VectorState.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace {

__attribute__((target("avx"))) void zeroUpperHalves()
{
    _mm256_zeroupper();
}

} // namespace

void clearVectorState()
{
    // Only where the processor and the system both use AVX.
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        zeroUpperHalves();
}

#else

void clearVectorState() {}

#endif
