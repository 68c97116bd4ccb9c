// Properties over many generated texts built from the language's own pieces.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "engine/Conversions.h"
#include "engine/Expression.h"
#include "engine/IteratorString.h"

namespace {

std::string randomText(std::mt19937& rng)
{
    static const char* const pieces[] = {
        "1", "23", "4,5", "_6", "7E2", ",", "E", "_", "x", "y", "z", "pi", "e", "ans", "sin", "cos",
        "tan", "sqrt", "log", "ln", "+", "-", "*", "/", "^", "(", ")", "(", ")", " ", "  ", "[",
        "]", "{", "}", "0", "ANS", ".", "\t", "q", "9,", "1E5,2",
        // squares, steps that take a value with them, and deep stacks
        "^2", "x^2", "2", "(x-(y/(z*(2^(", "2)))",
        // whole powers and the pairs of steps made one: x^n pushed, c/x, a*x+c
        "^3", "x^5", "^16", "^17", "1/x", "*x+"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 14);
    std::string text;
    for (int n = length(rng); n > 0; --n)
        text += pieces[pick(rng)];
    return text;
}

bool hasEmptyWordOrParenthesis(const std::string& postfix)
{
    if (postfix.find_first_of("()") != std::string::npos)
        return true;
    IteratorString words(postfix);
    while (words.hasMore()) {
        if (words.current().empty())
            return true;
        words.next();
    }
    return !postfix.empty() && postfix.back() == ' ';
}

TEST(Properties, AcceptedTextsConvertAndEvaluateCleanly)
{
    std::mt19937 rng(20261207);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double values[][4] = {{1.5, -2, 0, 3}, {inf, -inf, nan, 0}, {0, 0, 0, 0}};
    int accepted = 0;
    for (int round = 0; round < 40000; ++round) {
        const std::string text = randomText(rng);
        Expression e(text.c_str());
        bool verdict = false;
        ASSERT_NO_THROW(verdict = e.validate()) << text;
        const std::string once = e.getText();
        EXPECT_EQ(e.validate(), verdict) << text;
        if (!verdict)
            continue;
        ++accepted;
        const std::string postfix = e.toPostfix();
        EXPECT_FALSE(hasEmptyWordOrParenthesis(postfix)) << text << " -> " << postfix;
        for (const auto& v : values) {
            try {
                e.evaluate(v[0], v[1], v[2], v[3]);
            } catch (const EConvertError&) {
                // number words such as "," or "E" pass validation but are no numbers
            } catch (...) {
                ADD_FAILURE() << "unexpected exception for " << text << " (" << postfix << ")";
            }
        }
        Expression again(once.c_str());
        EXPECT_TRUE(again.validate()) << once;
    }
    EXPECT_GT(accepted, 1000); // the generator must reach deep into the language
}

// evaluate as it was before it kept its conversion: every call converts the
// text anew, walks the postfix words and reads every number word again.
double evaluateAnew(Expression& e, double x, double y, double z, double ans)
{
    constexpr double kPi = 3.141592653589793;
    const auto error = static_cast<double>(e.errorValue);
    IteratorString words(e.toPostfix());
    Stack<double> values(10);
    while (words.hasMore()) {
        const std::string word = words.current();
        const std::string_view w = word;
        words.next();
        if (word.empty())
            throw ERangeError("Range check error");
        if (e.isOperator(word[0])) {
            const double a = values.pop();
            if (word[0] == '/' && (a == 0.0 || std::isnan(a)))
                return error;
            const double b = values.pop();
            const char op = word[0];
            values.push(op == '+'   ? b + a
                        : op == '-' ? b - a
                        : op == '*' ? b * a
                        : op == '/' ? b / a
                                    : std::pow(b, a));
        } else if (e.isFunction(word)) {
            const double a = values.top();
            if ((w == "tan" && std::fabs(a) == 0.5 * kPi) || (w == "sqrt" && !(a >= 0.0)) ||
                (w != "sin" && w != "cos" && w != "tan" && w != "sqrt" && !(a > 0.0)))
                return error;
            values.pop();
            values.push(w == "sin"    ? std::sin(a)
                        : w == "cos"  ? std::cos(a)
                        : w == "tan"  ? std::tan(a)
                        : w == "sqrt" ? std::sqrt(a)
                        : w == "ln"   ? std::log(a) / std::log(2.718281828459045)
                                      : std::log(a));
        } else if (e.isNamedValue(word)) {
            values.push(w == "x"    ? x
                        : w == "y"  ? y
                        : w == "z"  ? z
                        : w == "pi" ? kPi
                        : w == "e"  ? 2.718281828459045
                                    : ans);
        } else {
            values.push(word[0] == '_' ? -StrToFloat(word.substr(1)) : StrToFloat(word));
        }
    }
    return values.pop();
}

// What a call gave: the value's bits, or the failure's type and message,
// and the text it left in the object.
template <typename Call> std::string outcome(Expression& e, Call call)
{
    std::string result;
    try {
        const double value = call();
        char bits[sizeof value];
        std::memcpy(bits, &value, sizeof value);
        result = std::isnan(value) ? "NaN" : std::string(bits, sizeof bits);
    } catch (const ExceptionError& failure) {
        result = "ExceptionError " + failure.message;
    } catch (const EConvertError& failure) {
        result = std::string("EConvertError ") + failure.what();
    } catch (const ERangeError& failure) {
        result = std::string("ERangeError ") + failure.what();
    }
    return result + " | " + e.getText();
}

// 20 000, or CALC_PROPERTY_ROUNDS where each round costs far more (under valgrind).
int rounds()
{
    const char* const asked = std::getenv("CALC_PROPERTY_ROUNDS");
    return asked != nullptr ? std::atoi(asked) : 20000;
}

// Kept conversions give what converting anew gives, for well-formed and
// malformed texts alike, on the first call, on later calls and after the
// text has changed and come back.
TEST(Properties, EvaluateGivesWhatConvertingAnewGives)
{
    std::mt19937 rng(7);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // x: a square that pow rounds the other way than x*x (0.4994 ULP from a midpoint)
    const double values[][4] = {
        {1.5, -2, 0, 3}, {0, 0, 0, 0}, {inf, -inf, nan, 1E300}, {1.3660274677964837, 1E-160, 2, 0}};
    // x across poles (0, ±pi/2), domain edges, the extremes and NaN
    const double grid[] = {-inf,
                           -1E300,
                           -2,
                           -0.5 * 3.141592653589793,
                           -1,
                           -0.0,
                           0,
                           1E-300,
                           0.5,
                           1,
                           0.5 * 3.141592653589793,
                           1.3660274677964837,
                           2,
                           1E300,
                           inf,
                           nan};
    std::size_t gridTaken = 0;
    const int roundCount = rounds();
    for (int round = 0; round < roundCount; ++round) {
        const std::string text = randomText(rng);
        const std::string other = randomText(rng);
        Expression kept(text.c_str());
        Expression anew(text.c_str());
        for (int pass = 0; pass < 3; ++pass) {
            if (pass == 2) {
                kept.setText(other);
                outcome(kept, [&] { return kept.evaluate(0, 0, 0, 0); });
                kept.setText(text);
                anew.setText(text);
            }
            for (const auto& v : values)
                ASSERT_EQ(outcome(kept, [&] { return kept.evaluate(v[0], v[1], v[2], v[3]); }),
                          outcome(anew, [&] { return evaluateAnew(anew, v[0], v[1], v[2], v[3]); }))
                    << "text «" << text << "», pass " << pass;
        }
        // evaluateEach gives what evaluating x by x gives, and stops only
        // before an x that fails (or at once, where nothing is kept): over
        // more x than one block of its loop, the grid in runs of 5 from a
        // different place each round.
        constexpr std::size_t kSweep = 150;
        double sweep[kSweep];
        std::size_t at[kSweep]; // the place in grid
        for (std::size_t i = 0; i < kSweep; ++i) {
            at[i] = (i / 5 + static_cast<std::size_t>(round)) % std::size(grid);
            sweep[i] = grid[at[i]];
        }
        double each[kSweep];
        const std::size_t taken = kept.evaluateEach(sweep, each, kSweep, -2, 0.5, inf);
        gridTaken += taken;
        double inPlace[kSweep]; // and the same with the values written over the x
        std::memcpy(inPlace, sweep, sizeof sweep);
        ASSERT_EQ(kept.evaluateEach(inPlace, inPlace, kSweep, -2, 0.5, inf), taken) << text;
        EXPECT_EQ(std::memcmp(inPlace, each, taken * sizeof(double)), 0) << "in place: " << text;
        std::string expected[std::size(grid)];
        for (std::size_t i = 0; i < taken; ++i) {
            if (expected[at[i]].empty())
                expected[at[i]] =
                    outcome(anew, [&] { return evaluateAnew(anew, sweep[i], -2, 0.5, inf); });
            ASSERT_EQ(outcome(kept, [&] { return each[i]; }), expected[at[i]])
                << "text «" << text << "», x " << sweep[i] << " at " << i;
        }
        if (taken > 0 && taken < kSweep) {
            EXPECT_ANY_THROW(evaluateAnew(anew, sweep[taken], -2, 0.5, inf)) << text;
        }
    }
    EXPECT_GT(gridTaken, 2.5 * roundCount); // the row must reach well-formed texts
}

} // namespace
