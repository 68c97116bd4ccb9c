// Properties over many generated texts built from the language's own pieces.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "engine/Expression.h"
#include "engine/IteratorString.h"
#include "platform/Conversions.h"

namespace {

std::string randomText(std::mt19937& rng)
{
    static const char* const pieces[] = {
        "1",   "23",  "4,5", "_6",   "7E2", ",",  "E", "_", "x",   "y", "z",  "pi", "e",  "ans",
        "sin", "cos", "tan", "sqrt", "log", "ln", "+", "-", "*",   "/", "^",  "(",  ")",  "(",
        ")",   " ",   "  ",  "[",    "]",   "{",  "}", "0", "ANS", ".", "\t", "q",  "9,", "1E5,2"};
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

} // namespace
