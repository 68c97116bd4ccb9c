#include <gtest/gtest.h>

#include <string>

#include "engine/Expression.h"

namespace {

std::string postfixOf(const char* text)
{
    Expression e(text);
    EXPECT_TRUE(e.validate()) << text;
    return e.toPostfix();
}

TEST(Postfix, Texts)
{
    struct Case {
        const char* infix;
        const char* postfix;
    };
    for (const Case& c : {Case{"1+2*3", "1 2 3 * +"},
                          {"1+2*3/4", "1 2 3 * 4 / +"},
                          {"1-2+3", "1 2 - 3 +"},
                          {"2^3^2", "2 3 ^ 2 ^"},
                          {"(1+2)*3", "1 2 + 3 *"},
                          {"2(3+4)", "2 3 4 + *"},
                          {"sin(x)^2", "x sin 2 ^"},
                          {"tan(1)+2", "1 tan 2 +"},
                          {"sqrt(2*(3+1))", "2 3 1 + * sqrt"},
                          {"_2,5*x-ans", "_2,5 x * ans -"},
                          {"(1)(2)", "1 2 *"},
                          {"7", "7"},
                          {"pi", "pi"},
                          {"2*3^2+1", "2 3 2 ^ * 1 +"},
                          {"sin(cos(1))", "1 cos sin"},
                          {"2*sqrt(9)", "2 9 sqrt *"},
                          {"ln(2)*3", "2 ln 3 *"},
                          {"sin(x)*cos(x/2)+sqrt(x^2+1)-ln(x^2+2)",
                           "x sin x 2 / cos * x 2 ^ 1 + sqrt + x 2 ^ 2 + ln -"}})
        EXPECT_EQ(postfixOf(c.infix), c.postfix) << c.infix;
}

TEST(Postfix, RepeatsAndLeavesTheStackEmpty)
{
    Expression e("1+2*3");
    ASSERT_TRUE(e.validate());
    EXPECT_EQ(e.toPostfix(), "1 2 3 * +");
    EXPECT_EQ(e.toPostfix(), "1 2 3 * +");

    Expression empty("");
    EXPECT_EQ(empty.toPostfix(), "");
}

TEST(Postfix, UnmatchedCloseThrowsAndLeavesNothingBehind)
{
    Expression e("1)+2");
    try {
        e.toPostfix();
        FAIL() << "no exception";
    } catch (const ExceptionError& error) {
        EXPECT_EQ(error.message, "Stack is Empty");
    }
    EXPECT_EQ(e.getText(), "1 ) + 2");
    e.setText("3*4");
    EXPECT_EQ(e.toPostfix(), "3 4 *");
}

TEST(Postfix, TwoOperandsWithoutOperatorWhenNotValidated)
{
    Expression e("pi(2)");
    EXPECT_EQ(e.toPostfix(), "pi 2");
    Expression raw("(1)(2)"); // not validated: the empty word reaches the output
    EXPECT_EQ(raw.toPostfix(), "1  2 *");
}

} // namespace
