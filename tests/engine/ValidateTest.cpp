#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/Expression.h"

namespace {

bool valid(const std::string& text)
{
    Expression e(text.c_str());
    return e.validate();
}

struct Verdict {
    const char* text;
    bool accepted;
};

TEST(Validate, Verdicts)
{
    for (const Verdict& c :
         {Verdict{"", false}, {"   ", false},   {"1+2", true},
          {"-5", false},      {"_5*x", true},   {"2+", false},
          {"2*-3", false},    {"2*_3", true},   {"(2*)", false},
          {"(+2)", false},    {"()", false},    {"1+(2)", true},
          {"2(3)", true},     {"(1)(2)", true}, {"sin(x)", true},
          {"sin x", false},   {"sqrt", false},  {"sin(-1)", false},
          {"sin(_1)", true},  {"sin(2", false}, {"(1]", false},
          {"[1+2]", false},   {"1.5", false},   {"1,5E3", true},
          {",", true},        {"2x", false},    {"ANS", false},
          {"1 2", true},      {"2^3^2", true},  {"ln(e)*log(2)+tan(pi)-cos(y)/sqrt(z)^ans", true},
          {")(", false},      {"((1))", true},  {"(", false},
          {"x*", false},      {"5)", false},    {"sin()", false},
          {"\xe9", false},    {"{1}", false}}) {
        EXPECT_EQ(valid(c.text), c.accepted) << '"' << c.text << '"';
    }
}

// Two operands with nothing between them used to pass and evaluate to the last
// one alone; they are refused now, while implicit multiplication still works.
TEST(Validate, RefusesOperandsWithoutOperator)
{
    for (const char* text : {"pi(2)", "(1)2", "(1)sin(2)", "2,(3)", "x(2)", "(1)x", "(2)(3)4",
                             "e(1)", "ans(1)", "(1)(2)pi"})
        EXPECT_FALSE(valid(text)) << text;

    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c : {Case{"2(3)", 6},
                          {"(1)(2)", 2},
                          {"sin(x)(2)", 2 * std::sin(1.5)},
                          {"2(3)(4)", 24},
                          {"(2)(3)(4)", 24},
                          {"2 (3)", 6}}) {
        Expression e(c.text);
        ASSERT_TRUE(e.validate()) << c.text;
        EXPECT_DOUBLE_EQ(e.evaluate(1.5, 0, 0, 0), c.value) << c.text;
    }
}

TEST(Validate, IsStableAndBracketsAreChecked)
{
    Expression e("2(3)+(1)(2)");
    const bool first = e.validate();
    const std::string text = e.getText();
    EXPECT_EQ(e.validate(), first);
    EXPECT_EQ(e.getText(), "2 * ( 3 ) + ( 1 ) * ( 2 ) ");
    EXPECT_NE(text, e.getText()); // the double space collapses on the second pass

    EXPECT_TRUE(isMatchingPair('(', ')'));
    EXPECT_TRUE(isMatchingPair('[', ']'));
    EXPECT_TRUE(isMatchingPair('{', '}'));
    EXPECT_FALSE(isMatchingPair('(', ']'));
    EXPECT_FALSE(isMatchingPair('<', '>'));
    Expression deep((std::string(25, '[') + std::string(25, ']')).c_str());
    EXPECT_TRUE(deep.bracketsBalanced()); // the bracket stack grows past 10
    Expression crossed("([)]");
    EXPECT_FALSE(crossed.bracketsBalanced());
}

} // namespace
