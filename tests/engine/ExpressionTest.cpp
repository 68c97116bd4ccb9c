#include <gtest/gtest.h>

#include <string>

#include "engine/Expression.h"

namespace {

std::string normalized(const char* text)
{
    Expression e(text);
    return e.normalize();
}

TEST(Expression, WordClasses)
{
    Expression e;
    struct Case {
        const char* word;
        bool number;
    };
    for (const Case& c : {Case{"", true},
                          {"_", false},
                          {"_5", true},
                          {"5_", false},
                          {"1,2,3", false},
                          {"1E2E3", false},
                          {"E", true},
                          {"1E5", true},
                          {"1e5", false},
                          {"1.5", false},
                          {"12a", false},
                          {"1E5,2", true},
                          {"1E_5", false},
                          {",", true},
                          {"_E", true}})
        EXPECT_EQ(e.isNumber(c.word), c.number) << c.word;

    for (const char* f : {"sin", "cos", "sqrt", "tan", "log", "ln"})
        EXPECT_TRUE(e.isFunction(f)) << f;
    for (const char* notF : {"sin(", "Sin", "exp", ""})
        EXPECT_FALSE(e.isFunction(notF)) << notF;
    for (const char* v : {"x", "y", "z", "pi", "e", "ans"})
        EXPECT_TRUE(e.isNamedValue(v)) << v;
    for (const char* notV : {"ANS", "X", "PI", "E"})
        EXPECT_FALSE(e.isNamedValue(notV)) << notV;
    for (const char c : std::string("+-*/^"))
        EXPECT_TRUE(e.isOperator(c));
    for (const char c : std::string(" (_,E%"))
        EXPECT_FALSE(e.isOperator(c));
}

TEST(Expression, Priorities)
{
    Expression e;
    EXPECT_EQ(e.priority("+"), 1);
    EXPECT_EQ(e.priority("-"), 1);
    EXPECT_EQ(e.priority("*"), 2);
    EXPECT_EQ(e.priority("/"), 2);
    EXPECT_EQ(e.priority("^"), 3);
    EXPECT_EQ(e.priority("ln"), 4);
    EXPECT_EQ(e.priority("sqrt"), 4);
    EXPECT_EQ(e.priority("("), 0);
    EXPECT_EQ(e.priority("x"), 0);
    EXPECT_EQ(e.priority(""), 0);
}

TEST(Expression, Normalize)
{
    EXPECT_EQ(normalized(""), "");
    EXPECT_EQ(normalized("   "), "");
    EXPECT_EQ(normalized("(2)"), "( 2 ) ");
    EXPECT_EQ(normalized("2 (3)"), "2 * ( 3 ) ");
    EXPECT_EQ(normalized(")("), ")  * ( ");
    EXPECT_EQ(normalized("x(2)"), "x ( 2 ) ");
    EXPECT_EQ(normalized("[1+2]"), "[1 + 2]");
    EXPECT_EQ(normalized("2(3+4)"), "2 * ( 3 + 4 ) ");
    EXPECT_EQ(normalized("(1)(2)"), "( 1 )  * ( 2 ) ");
    EXPECT_EQ(normalized("( 1 )  * ( 2 ) "), "( 1 ) * ( 2 ) ");
    EXPECT_EQ(normalized("sin(x)^2"), "sin ( x ) ^ 2");
    EXPECT_EQ(normalized("-5"), "- 5");
    EXPECT_EQ(normalized("_2,5*x"), "_2,5 * x");
    EXPECT_EQ(normalized("pi(2)"), "pi ( 2 ) ");
    EXPECT_EQ(normalized("1 2\t+"), "12\t + ");
}

TEST(Expression, SetTextAndValidateLeaveNormalisedText)
{
    Expression e;
    e.setText("1+2");
    EXPECT_EQ(e.getText(), "1+2");
    EXPECT_TRUE(e.validate());
    EXPECT_EQ(e.getText(), "1 + 2");
    e.setText("(1]");
    EXPECT_FALSE(e.validate());
    EXPECT_EQ(e.getText(), "(1]"); // a failed bracket check leaves the text alone
    e.setText("2x");
    EXPECT_FALSE(e.validate());
    EXPECT_EQ(e.getText(), "2x");
    EXPECT_EQ(e.errorValue, -1215752191);
}

// Rules are looked up through the object, so a subclass changes every step.
class WithoutSine : public Expression {
public:
    using Expression::Expression;
    bool isFunction(const std::string& word) override
    {
        return word != "sin" && Expression::isFunction(word);
    }
};

TEST(Expression, OperationsUseTheObjectsOwnRules)
{
    WithoutSine e("sin(1)");
    EXPECT_FALSE(e.validate());
    WithoutSine f("cos(0)");
    EXPECT_TRUE(f.validate());
    EXPECT_EQ(f.evaluate(0, 0, 0, 0), 1.0);
}

} // namespace
