#include "engine/Power.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// Out of line so that the one-off check against std::pow runs this very code.
double power(double b, double a)
{
    if (a == 2.0) {
        constexpr std::uint64_t kFraction = (std::uint64_t{1} << 52) - 1;
        constexpr std::uint64_t kLowest = 1023 - 600;  // biased exponents of 2^-600 ...
        constexpr std::uint64_t kHighest = 1023 + 600; // ... and 2^600
        const double p = b * b;
        std::uint64_t bits = 0;
        std::memcpy(&bits, &p, sizeof bits);
        const std::uint64_t exponent = bits >> 52; // with the sign bit, which NaNs may carry
        if (exponent - kLowest <= kHighest - kLowest && (bits & kFraction) != 0) {
            const std::uint64_t ulpBits = (exponent - 52) << 52;
            double ulp = 0;
            std::memcpy(&ulp, &ulpBits, sizeof ulp);
            if (std::fabs(std::fma(b, b, -p)) <= 0.4375 * ulp)
                return p;
        }
    }
    return std::pow(b, a);
}
