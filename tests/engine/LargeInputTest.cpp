// Long and deeply nested expressions: every step must stay linear and
// iterative (no recursion to overflow, no rescans that turn quadratic), and
// the stacks must grow as far as the text needs.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/Conversions.h"
#include "engine/Expression.h"
#include "engine/IteratorString.h"

namespace {

std::string repeat(const std::string& piece, int times)
{
    std::string out;
    out.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Validates, converts and evaluates at x = x; the postfix text goes to *postfix.
double run(const std::string& text, std::string* postfix = nullptr, double x = 0)
{
    Expression e(text.c_str());
    EXPECT_TRUE(e.validate()) << text.substr(0, 60);
    const std::string converted = e.toPostfix();
    if (postfix)
        *postfix = converted;
    return e.evaluate(x, 0, 0, 0);
}

int wordCount(const std::string& text)
{
    int n = 0;
    for (IteratorString words(text); words.hasMore(); words.next())
        ++n;
    return n;
}

TEST(LargeInput, LongChainsOfEqualPriority)
{
    std::string postfix;
    const std::string sum = repeat("1+", 50000) + "1"; // 100 001 characters
    EXPECT_EQ(run(sum, &postfix), 50001);
    EXPECT_EQ(postfix, "1 1 +" + repeat(" 1 +", 49999)); // each + leaves at once

    const std::string mixed = repeat("3-1+", 25000) + "0"; // alternating, still left to right
    EXPECT_EQ(run(mixed), 50000);

    // Left-associative powers: ((2^1)^1)... stays 2; right-associative would too,
    // so the postfix order is what tells them apart.
    const std::string powers = "2" + repeat("^1", 10000);
    EXPECT_EQ(run(powers, &postfix), 2);
    EXPECT_EQ(postfix, "2" + repeat(" 1 ^", 10000));
    EXPECT_EQ(run("2^3^2" + repeat("*1", 10000)), 64);

    const std::string quotients = "1024" + repeat("/2", 10) + repeat("*1/1", 5000);
    EXPECT_EQ(run(quotients), 1);
}

TEST(LargeInput, DeepParenthesesAndRightNestedChains)
{
    std::string postfix;
    const std::string wrapped = std::string(10000, '(') + "7" + std::string(10000, ')');
    Expression balanced(wrapped.c_str());
    EXPECT_TRUE(balanced.bracketsBalanced()); // the bracket stack holds 10 000 openings
    EXPECT_EQ(run(wrapped, &postfix), 7);
    EXPECT_EQ(postfix, "7");

    // 1+(1+(1+...)): every "+" and "(" waits, 20 000 words on the operator
    // stack; the postfix text then holds all 10 001 operands before the first
    // "+", so the evaluation stack holds 10 001 values at once.
    const std::string right = repeat("1+(", 10000) + "1" + std::string(10000, ')');
    EXPECT_EQ(run(right, &postfix), 10001);
    EXPECT_EQ(postfix, "1" + repeat(" 1", 10000) + repeat(" +", 10000));

    // 1/x-(1/x-(...)) in blocks of x as x by x, on either side of the depth
    // the blocks are given room for (x by x beyond it).
    for (const int depth : {300, 700}) {
        const std::string nested = repeat("1/x-(", depth) + "x" + std::string(depth, ')');
        Expression e(nested.c_str());
        ASSERT_TRUE(e.validate());
        e.evaluate(0, 0, 0, 0); // converts
        double xs[70];
        double values[70];
        for (int i = 0; i < 70; ++i)
            xs[i] = (i - 35) / 7.0;
        ASSERT_EQ(e.evaluateEach(xs, values, 70, 0, 0, 0), 70u) << depth;
        for (int i = 0; i < 70; ++i)
            EXPECT_EQ(values[i], e.evaluate(xs[i], 0, 0, 0)) << depth << " " << xs[i];
    }

    // The operand order matters here: 1-(1-(1-...)) alternates between 0 and 1.
    EXPECT_EQ(run(repeat("1-(", 10000) + "1" + std::string(10000, ')')), 1);
    EXPECT_EQ(run(repeat("1-(", 9999) + "1" + std::string(9999, ')')), 0);

    // Implicit multiplication at depth: 2(1(1(...))) and (1)(1)(1)... with its empty words.
    EXPECT_EQ(run("2" + repeat("(1", 10000) + std::string(10000, ')')), 2);
    EXPECT_EQ(run(repeat("(1)", 10000), &postfix), 1);
    EXPECT_EQ(wordCount(postfix), 19999);

    const std::string unbalanced = std::string(100000, '(');
    Expression open(unbalanced.c_str());
    EXPECT_FALSE(open.validate());
    Expression closing(std::string(100000, ')').c_str());
    EXPECT_FALSE(closing.validate());
}

TEST(LargeInput, NestedFunctions)
{
    std::string postfix;
    double sine = 1.25;
    double root = 1e300;
    for (int i = 0; i < 1000; ++i) {
        sine = std::sin(sine);
        root = std::sqrt(root);
    }
    EXPECT_EQ(run(repeat("sin(", 1000) + "x" + std::string(1000, ')'), &postfix, 1.25), sine);
    EXPECT_EQ(postfix, "x" + repeat(" sin", 1000));
    EXPECT_EQ(run(repeat("sqrt(", 1000) + "x" + std::string(1000, ')'), nullptr, 1e300), root);

    // Alternating functions and operators inside each level.
    // cos(2*cos(2*...cos(2*x)+1...)+1)+1
    double inner = std::cos(2 * 0.5);
    for (int i = 1; i < 1000; ++i)
        inner = std::cos(2 * inner + 1);
    EXPECT_EQ(run(repeat("cos(2*", 1000) + "x" + repeat(")+1", 1000), nullptr, 0.5), inner + 1);
}

// The most memory the process has held, in KiB.
long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A long text costs little more than its words: a million characters of
// x+x+... validated, compiled and swept over the graph's 501 x take at most 26
// bytes a character at the peak, as before the program's steps doubled in
// size and were copied once more to fuse them (it took 55).
TEST(LargeInput, MemoryOfALongText)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's memory is not the program's";
#endif
    Expression e((repeat("x+", 499999) + "x").c_str());
    const long before = peakKiB();
    ASSERT_TRUE(e.validate());
    EXPECT_EQ(e.evaluate(2, 0, 0, 0), 1000000);
    std::vector<double> xs(501, 1);
    EXPECT_EQ(e.evaluateEach(xs.data(), xs.data(), xs.size(), 0, 0, 0), xs.size());
    EXPECT_EQ(xs[500], 500000);
    EXPECT_LE(peakKiB() - before, 1000000 * 26 / 1024);
}

TEST(LargeInput, LongWordsAndSpaces)
{
    EXPECT_EQ(run("0," + repeat("0", 99997) + "1E99997"), 0.1);
    EXPECT_EQ(run("0," + repeat("0", 99998) + "1"), 0);        // far below the smallest double
    EXPECT_EQ(run("1" + std::string(100000, ' ') + "+ 2"), 3); // spaces vanish

    Expression huge(("1" + repeat("0", 99999)).c_str());
    ASSERT_TRUE(huge.validate());
    EXPECT_THROW(huge.evaluate(0, 0, 0, 0), EConvertError); // no double holds it
}

TEST(LargeInput, StacksGrowByDoubling)
{
    Stack<double> values(10);
    for (int i = 0; i < 10000; ++i)
        values.push(i);
    EXPECT_EQ(values.size(), 10000);
    EXPECT_EQ(values.allocated(), 10240); // 10 doubled ten times
    for (int i = 9999; i >= 0; --i)
        ASSERT_EQ(values.pop(), i);
    EXPECT_TRUE(values.isEmpty());

    Stack<std::string> words(10);
    for (int i = 0; i < 10000; ++i)
        words.push(std::to_string(i));
    EXPECT_EQ(words.allocated(), 10240);
    EXPECT_EQ(words.top(), "9999");
    EXPECT_EQ(words.pop(), "9999");
    EXPECT_EQ(words.pop(), "9998");
}

} // namespace
