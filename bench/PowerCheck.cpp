// The steps' whole powers b^n (n = 2 to 16) against the C library's pow(b, n),
// bit for bit, on many doubles of every kind: the steps take their own
// double-double product where they can prove that pow gives the same, and
// this checks the proof's premise (pow's error bound) where it is tightest.
// Both builds of the steps are checked, one b at a time and in blocks of b (as
// evaluateEach takes them, for x^n and for (x*1)^n, which powers in place),
// the one with FMA where the processor
// has it. Not a test: it takes seconds to minutes, as many as one asks for.
//   power_check [MILLIONS [SEED]]   (default 100 million pairs (b, n), seed 1)
// Prints how many pairs of each kind it checked and every mismatch; exits 1
// on any.

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/Expression.h"
#include "engine/Steps.h"

namespace {

std::mt19937_64 rng;

std::uint64_t below(std::uint64_t n)
{
    return std::uniform_int_distribution<std::uint64_t>(0, n - 1)(rng);
}

double fromBits(std::uint64_t bits)
{
    double d = 0;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::uint64_t bitsOf(double d)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

// An odd x with x*x = a modulo 2^m (a = 1 modulo 8), lifted one bit at a time.
std::uint64_t rootModulo(std::uint64_t a, int m)
{
    std::uint64_t x = 1;
    for (int i = 3; i < m; ++i)
        if (((x * x - a) >> i) & 1)
            x += std::uint64_t{1} << (i - 1);
    return x;
}

// A b whose square lies within 2^-31 ULP of a point at 7/16, 1/2 or 9/16 of
// the way between two doubles: the squares hardest to round, and those at
// power's bound. b = B * 2^e, where B's m - 1 low bits make B*B end in the
// chosen m bits and its high bits are free.
double hardSquare()
{
    const int m = 36 + static_cast<int>(below(14)); // the bits of B*B below its top 53
    const int k = (m + 54) / 2;                     // B's bits: B*B has 53 + m of them
    const std::uint64_t sixteenths[] = {7, 8, 9};
    // 2^-31 ULP, less room for making the target 1 modulo 8 below
    const std::uint64_t reach = (std::uint64_t{1} << (m - 31)) - 8;
    const std::uint64_t target = (sixteenths[below(3)] << (m - 4)) - reach + below(2 * reach);
    const std::uint64_t half = std::uint64_t{1} << (m - 1);
    std::uint64_t low = rootModulo((target & ~std::uint64_t{7}) | 1, m) % half;
    if (below(2) != 0)
        low = half - low; // the other root
    // B*B has 2k bits from B >= 2^(k - 1/2) on: odd m needs those, even m the others.
    const double root2 = std::ldexp(std::sqrt(2.0), k - 1);
    const double from = m % 2 != 0 ? root2 : std::ldexp(1.0, k - 1);
    const double to = m % 2 != 0 ? std::ldexp(1.0, k) : root2;
    for (;;) {
        const auto b =
            static_cast<double>(low + (below(std::uint64_t{1} << (k - m + 1)) << (m - 1)));
        if (b >= from && b < to) {
            const int e =
                static_cast<int>(below(1000)) - 500 - k; // b*b from about 2^-1000 to 2^998
            return (below(2) != 0 ? -1 : 1) * std::ldexp(b, e);
        }
    }
}

using Wide = unsigned __int128;

int bitLength(Wide v)
{
    int n = 0;
    for (; v != 0; v >>= 1)
        ++n;
    return n;
}

// A b = m * 2^e whose n-th power m^n is exact in 54 to 127 bits, so that where
// it lies between two doubles is known exactly (with few bits to spare, often
// at a tie or at 7/16 or 9/16 of the way). Sets where to that, in ULPs.
double exactPower(int n, double& where)
{
    for (;;) {
        const int most = 127 / n; // m's bits
        const int least = (54 + n - 1) / n;
        // the fewest bits half the time: those give the ties
        const int bits =
            below(2) != 0 ? least
                          : least + static_cast<int>(below(static_cast<std::uint64_t>(most) -
                                                           static_cast<std::uint64_t>(least) + 1));
        const std::uint64_t m =
            (std::uint64_t{1} << (bits - 1)) | below(std::uint64_t{1} << (bits - 1)) | 1;
        Wide power = 1;
        for (int k = 0; k < n; ++k)
            power *= m;
        const int length = bitLength(power);
        if (length <= 53)
            continue;
        const int extra = length - 53; // the bits below a double's 53
        const Wide rest = power & ((Wide{1} << extra) - 1);
        where = std::ldexp(static_cast<double>(rest), -extra);
        // e so that b^n lies between about 2^-1000 and 2^1000
        const int e = static_cast<int>(below(2000)) - 1000;
        const double b = std::ldexp(static_cast<double>(m), e / n - bits);
        return below(2) != 0 ? -b : b;
    }
}

// A random b whose n-th power lies between 2^-640 and 2^640: the range the
// shortcut is taken in, and a margin around it.
double inRange(int n)
{
    const double mantissa = 1 + static_cast<double>(below(std::uint64_t{1} << 52)) * 0x1p-52;
    const int e = (static_cast<int>(below(1281)) - 640) / n;
    return (below(2) != 0 ? -1 : 1) * std::ldexp(mantissa, e);
}

double decimal()
{
    static const double tens[] = {1,    1E1,  1E2,  1E3,  1E4,  1E5,  1E6,  1E7,
                                  1E8,  1E9,  1E10, 1E11, 1E12, 1E13, 1E14, 1E15,
                                  1E16, 1E17, 1E18, 1E19, 1E20, 1E21, 1E22};
    const auto digits = static_cast<double>(below(std::uint64_t{1} << (1 + below(50))));
    const double ten = tens[below(23)];
    return below(2) != 0 ? digits / ten : digits * ten; // as typed: 1,25 or 3E4
}

// The x values of a redraw of a random view: a few pans, zooms and steps away
// from the start, both samplings, computed as the graph window computes them.
template <typename Check> void graphView(Check check)
{
    double origin = 250 + 5 * (static_cast<double>(below(201)) - 100);
    double range = 20;
    for (auto zooms = below(40); zooms > 0; --zooms)
        range *= below(2) != 0 ? 1 / 1.2 : 1 / 0.9;
    double step = below(2) != 0 ? 1.0 : 0.5;
    for (auto changes = below(12); changes > 0; --changes)
        step = below(2) != 0 || step - 0.1 < 0.05 ? step + 0.1 : step - 0.1;
    // The column and the interval advance by repeated addition of the step.
    double i = 0;
    while (500 >= i) {
        check((i - origin) * range / 500);
        i += step;
    }
    double w = -125;
    while (w < 125) {
        check(w - step);
        check(w);
        w += step;
    }
}

} // namespace

int main(int argc, char** argv)
{
    const double millions = argc > 1 ? std::atof(argv[1]) : 100;
    const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
    if (!(millions > 0 && millions < 1E6)) {
        std::fprintf(stderr, "usage: power_check [MILLIONS [SEED]]\n");
        return 2;
    }
    rng.seed(seed);
#if defined(__x86_64__) // where the steps are built twice (engine/CMakeLists.txt)
    __builtin_cpu_init();
    const bool fma = __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2");
    const auto withFma = steps::fma::wholePowerOf;
#else
    const bool fma = false;
    const auto withFma = steps::baseline::wholePowerOf;
#endif
    const auto total = static_cast<std::uint64_t>(millions * 1E6);
    std::uint64_t checked = 0;
    std::uint64_t mismatches = 0;
    const auto compare = [&](double b, int n, double mine, double library, const char* how) {
        if (bitsOf(mine) == bitsOf(library) || (std::isnan(mine) && std::isnan(library)))
            return;
        if (++mismatches <= 20)
            std::printf("mismatch: b = %a (%.17g), n = %d%s: %a, pow %a\n", b, b, n, how, mine,
                        library);
    };
    // The blocks of b waiting for each n, and the texts that take them.
    constexpr std::size_t kBlock = 256;
    std::vector<double> waiting[17];
    std::unique_ptr<Expression> texts[17][2];
    for (int n = 2; n <= 16; ++n)
        for (int shape = 0; shape < 2; ++shape) {
            const std::string text = (shape == 0 ? "x^" : "(x*1)^") + std::to_string(n);
            texts[n][shape] = std::make_unique<Expression>(text.c_str());
            texts[n][shape]->validate(); // normalised and compiled: it may run in blocks
            texts[n][shape]->evaluate(0, 0, 0, 0);
        }
    const auto flush = [&](int n) {
        std::vector<double>& bs = waiting[n];
        std::vector<double> values(bs.size());
        for (int shape = 0; shape < 2; ++shape) {
            if (texts[n][shape]->evaluateEach(bs.data(), values.data(), bs.size(), 0, 0, 0) !=
                bs.size())
                std::abort();
            volatile double exponent = n;
            for (std::size_t i = 0; i < bs.size(); ++i)
                compare(bs[i], n, values[i], std::pow(bs[i], exponent),
                        shape == 0 ? " (block)" : " (block, in place)");
        }
        bs.clear();
    };
    const auto check = [&](double b, int n) {
        ++checked;
        volatile double exponent = n; // so that the compiler cannot turn pow(b, n) into products
        const double library = std::pow(b, exponent);
        compare(b, n, steps::baseline::wholePowerOf(b, n), library, "");
        if (fma)
            compare(b, n, withFma(b, n), library, " (FMA)");
        waiting[n].push_back(b);
        if (waiting[n].size() == kBlock)
            flush(n);
    };
    const auto anyN = [] { return 2 + static_cast<int>(below(15)); };
    const auto everyN = [&](double b) {
        for (int n = 2; n <= 16; ++n)
            check(b, n);
    };

    // Each kind runs until the count reaches its share of the total.
    struct Kind {
        const char* name;
        double share;
        std::uint64_t count = 0;
    };
    Kind kinds[] = {{"random bits (every exponent, subnormals, infinities, NaNs)", 0.1},
                    {"b^n within the shortcut's range and around it", 0.3},
                    {"b^n exact in 54 to 127 bits (ties, 7/16 and 9/16 among them)", 0.3},
                    {"squares within 2^-31 ULP of a midpoint or of 7/16 ULP", 0.05},
                    {"integers and decimals, as typed", 0.1},
                    {"powers of two and their neighbours, subnormals", 0.05},
                    {"the graph window's x values", 0.1}};
    std::uint64_t atTie = 0;
    std::uint64_t atBound = 0;
    std::uint64_t nearTieOrBound = 0;
    std::uint64_t nearMidpoint = 0;
    std::uint64_t nearBound = 0;
    const auto sign = [] { return below(2) != 0 ? -1.0 : 1.0; };
    const std::function<void()> next[] = {
        [&] { check(fromBits(rng()), anyN()); },
        [&] {
            const int n = anyN();
            check(inRange(n), n);
        },
        [&] {
            const int n = anyN();
            double where = 0;
            const double b = exactPower(n, where);
            atTie += where == 0.5 ? 1 : 0;
            atBound += where == 0.4375 || where == 0.5625 ? 1 : 0;
            for (const double edge : {0.5, 0.4375, 0.5625})
                nearTieOrBound += where != edge && std::fabs(where - edge) <= 0x1p-20 ? 1 : 0;
            check(b, n);
        },
        [&] {
            const double b = hardSquare();
            const double p = b * b;
            const double t = std::fabs(std::fma(b, b, -p)) / std::ldexp(1.0, std::ilogb(p) - 52);
            nearMidpoint += std::fabs(t - 0.5) <= 0x1p-31 ? 1 : 0;
            nearBound += std::fabs(t - 0.4375) <= 0x1p-31 ? 1 : 0;
            check(b, 2);
        },
        [&] { check(sign() * decimal(), anyN()); },
        [&] { check(sign() * fromBits(below(std::uint64_t{1} << 52)), anyN()); }, // subnormal
        [&] { graphView(everyN); }};
    for (int e = -1074; e <= 1023; ++e) {
        double up = std::ldexp(1.0, e);
        double down = up;
        for (int k = 0; k < 3; ++k) {
            everyN(up);
            everyN(-down);
            up = std::nextafter(up, INFINITY);
            down = std::nextafter(down, 0.0);
        }
    }
    kinds[5].count = checked;
    double share = 0;
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        share += kinds[i].share;
        const std::uint64_t start = checked;
        while (checked < static_cast<std::uint64_t>(share * static_cast<double>(total)))
            next[i]();
        kinds[i].count += checked - start;
    }

    for (int n = 2; n <= 16; ++n)
        flush(n);
    std::printf("whole powers b^n (n = 2..16) against pow(b, n), %" PRIu64
                " pairs (seed %lu), %s:\n",
                checked, seed,
                fma ? "both builds (baseline, FMA), one at a time and in blocks"
                    : "the baseline build only, one at a time and in blocks");
    for (const Kind& kind : kinds)
        std::printf("  %-62s %12" PRIu64 "\n", kind.name, kind.count);
    std::printf("  of the exact powers, %" PRIu64 " at a tie, %" PRIu64
                " at 7/16 or 9/16 ULP, %" PRIu64 " within 2^-20 ULP of one of those\n",
                atTie, atBound, nearTieOrBound);
    std::printf("  of the squares, %" PRIu64 " measured within 2^-31 ULP of a midpoint, %" PRIu64
                " of 7/16 ULP\n",
                nearMidpoint, nearBound);
    std::printf("%" PRIu64 " mismatches\n", mismatches);
    return mismatches == 0 ? 0 : 1;
}
