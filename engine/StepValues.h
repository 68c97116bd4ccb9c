#pragma once

#include "engine/StepsBuild.h"

// What the steps compute beyond the four operations, shared by the loop that
// runs one x (RunOne.cpp) and the one that runs many (RunLanes.cpp), which must
// give the same bits. Both are built twice (see StepsBuild.h), and each build
// takes its own copy, in its own namespace.
namespace steps::CALC_BUILD {

constexpr double kPi = 3.141592653589793;
constexpr double kE = 2.718281828459045;

#if defined(CALC_STEPS_FMA) || defined(__FMA__) || defined(__ARM_FEATURE_FMA)
constexpr int kLargestInline = 16;
#else
constexpr int kLargestInline = 2; // fma is a library call: more than one costs more than pow
#endif

// Function objects rather than functions: passed to the loops over a block,
// they are inlined there even at -O2, where a function's address is not.

// Zero or NaN, in one comparison.
constexpr auto undefinedDivisor = [](double a) { return !std::islessgreater(a, 0.0); };

constexpr auto undefinedTan = [](double a) { return std::fabs(a) == 0.5 * kPi; };

constexpr auto undefinedRoot = [](double a) { return !(a >= 0.0); };

constexpr auto undefinedLog = [](double a) { return !(a > 0.0); };

constexpr auto naturalLog = [](double a) { return std::log(a) / std::log(kE); };

// Whether std::pow(b, n) must give s, where s + t is the exact b^n within
// 2^-44 ULP, as wholePower below computes them for a whole n from 2 to 16.
//
// h + l carries b^k as a double-double: h*b = p + fma(h, b, -p) exactly, and
// l*b joins that remainder with one rounding. Each step adds a relative error
// below 2^-53 * 2^-49 (l stays within k half-ULPs of h), so h + l is b^n within
// 2^-97 relative, 2^-44 ULP; s = h + l rounded and t = l - (s - h) (exact,
// |l| being far below |h|) leave b^n = s + t within that.
//
// glibc's pow (2.28 and later, sysdeps/ieee754/dbl-64/e_pow.c) states its
// worst-case error in round-to-nearest as 0.54 ULP: 0.511 ULP for its exp,
// plus its log's relative error of at most 1.5 * 2^-68 times |y log x|, under
// 1024 ln 2 * 1.5 * 2^-15 = 0.033 ULP. When |t| <= 7/16 of an ULP of s, every
// other double is at least 9/16 - 2^-44 of an ULP from b^n, farther than pow
// may stray, so pow returns s. That reasoning is taken only where it holds
// without a special case: s normal and between 2^-600 and 2^601 (so that every
// partial power, between b and b^n, and every remainder is exact, and nothing
// comes near underflow or overflow), and s no power of two (just below one,
// the next double down lies only half an ULP away). Everything else, zeros,
// infinities and NaNs included, and the ties, is left to pow. The test is
// written without branches, so that a block of powers runs side by side.
[[gnu::always_inline]] inline bool powMustGive(double s, double t)
{
    const double magnitude = std::fabs(s);
    // The distance to the next double toward zero, to which the product rounds:
    // an ULP, or half of one where magnitude is a power of two, which is where
    // gap * 2^53 == magnitude.
    const double gap = magnitude - magnitude * 0x1.fffffffffffffp-1;
    const bool inRange = (magnitude >= 0x1p-600) & (magnitude < 0x1p601); // false for NaN
    return inRange & (gap * 0x1p53 != magnitude) & (std::fabs(t) <= 0.4375 * gap);
}

// The first of b^n's double-double products: b*b = h + l exactly.
[[gnu::always_inline]] inline void square(double b, double& h, double& l)
{
    h = b * b;
    l = std::fma(b, b, -h);
}

// The next: (h + l) * b, within the error above.
[[gnu::always_inline]] inline void timesBase(double b, double& h, double& l)
{
    const double p = h * b;
    l = std::fma(l, b, std::fma(h, b, -p));
    h = p;
}

[[gnu::always_inline]] inline double wholePower(double b, int n)
{
    if (kLargestInline >= 16 || n <= kLargestInline) {
        double h = 0;
        double l = 0;
        square(b, h, l);
        for (int k = 2; k < n; ++k)
            timesBase(b, h, l);
        const double s = h + l;
        if (powMustGive(s, l - (s - h)))
            return s;
    }
    return std::pow(b, static_cast<double>(n));
}

} // namespace steps::CALC_BUILD
