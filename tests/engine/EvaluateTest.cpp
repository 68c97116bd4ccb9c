#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <new>
#include <string>
#include <utility>

#include "engine/Conversions.h"
#include "engine/Expression.h"

namespace {

constexpr double kError = -1215752191.0;

// Evaluates a text as written, without validation, the way a caller that
// bypasses validate would; x = 3.
double run(const std::string& text, double x = 3)
{
    Expression e(text.c_str());
    return e.evaluate(x, 0, 0, 0);
}

std::string failure(const std::string& text)
{
    try {
        run(text);
    } catch (const ExceptionError& e) {
        return "ExceptionError: " + e.message;
    } catch (const EConvertError& e) {
        return std::string("EConvertError: ") + e.what();
    } catch (const ERangeError&) {
        return "ERangeError";
    }
    return "value";
}

TEST(Evaluate, Values)
{
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c : {Case{"7-2", 5},
                          {"7/2", 3.5},
                          {"2^3^2", 64},
                          {"2^_3", 0.125},
                          {"_8^3", -512},
                          {"0^0", 1},
                          {"x*2", 6},
                          {"pi", 3.141592653589793},
                          {"e", 2.718281828459045},
                          {"_2,5", -2.5},
                          {"0,5+,5", 1},
                          {"1E3", 1000},
                          {"1,5E3", 1500},
                          {"sqrt(0)", 0},
                          {"log(1)", 0},
                          {"log(e)", 1},
                          {"ln(e)", 1},
                          {"log(100)", 4.605170185988092},
                          {"_1215752191", kError},
                          {"2(3+4)", 14},
                          {"sin(0)+cos(0)", 1},
                          {"tan(0)", 0},
                          {"1+2*3-4/2", 5}})
        EXPECT_DOUBLE_EQ(run(c.text), c.value) << c.text;

    Expression vars("x+y*10+z*100+ans*1000");
    EXPECT_EQ(vars.evaluate(1, 2, 3, 4), 4321);

    // A product and a sum are rounded one after the other, never fused into an
    // FMA: (1 + 2^-30)^2 - (1 + 2^-29) is 2^-60 exactly, 0 rounded twice.
    const double near1 = 1 + 0x1p-30;
    for (const char* text : {"x*y+z", "z+x*y", "x*y+z*1", "(x*y)-(0-z)"}) {
        Expression fused(text);
        ASSERT_TRUE(fused.validate()) << text; // normalised: evaluateEach may run it
        EXPECT_EQ(fused.evaluate(near1, near1, -(1 + 0x1p-29), 0), 0) << text;
        const double xs[] = {near1, near1};
        double values[2] = {1, 1};
        EXPECT_EQ(fused.evaluateEach(xs, values, 2, near1, -(1 + 0x1p-29), 0), 2u);
        EXPECT_EQ(values[1], 0) << text;
    }
}

TEST(Evaluate, DomainErrorsGiveTheErrorValue)
{
    for (const char* text :
         {"5/0", "0/0", "5/_0", "sqrt(_4)", "log(0)", "log(_1)", "ln(0)", "ln(_1)", "tan(pi/2)",
          "tan(pi/_2)", "tan(0-pi/2)", "5/0+1", "sqrt(0-x)", "1/(x-3)"})
        EXPECT_EQ(run(text), kError) << text;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    Expression e("1/x");
    EXPECT_EQ(e.evaluate(nan, 0, 0, 0), kError);
    Expression r("sqrt(x)");
    EXPECT_EQ(r.evaluate(nan, 0, 0, 0), kError);
    Expression l("ln(x)");
    EXPECT_EQ(l.evaluate(nan, 0, 0, 0), kError);
    // Outside those tests the library's answer goes through unchanged.
    Expression p("x^0,5");
    EXPECT_TRUE(std::isnan(p.evaluate(-1, 0, 0, 0)));
}

TEST(Evaluate, MalformedTextsThrow)
{
    EXPECT_EQ(failure("1 +"), "ExceptionError: Stack is Empty");
    EXPECT_EQ(failure("sin"), "ExceptionError: Stack is Empty");
    EXPECT_EQ(failure(""), "ExceptionError: Stack is Empty");
    // The divisor is tested before the dividend is popped.
    EXPECT_EQ(failure("/ 0"), "value");
    EXPECT_EQ(failure("/ 1"), "ExceptionError: Stack is Empty");
    EXPECT_EQ(failure(","), "EConvertError: ',' is not a valid floating point value");
    EXPECT_EQ(failure("E"), "EConvertError: 'E' is not a valid floating point value");
    EXPECT_EQ(failure("1E5,2"), "EConvertError: '1E5,2' is not a valid floating point value");
    EXPECT_EQ(failure("_E"), "EConvertError: 'E' is not a valid floating point value");
    EXPECT_EQ(failure("(1)(2)"), "ERangeError"); // the empty word of an unvalidated text
    // A domain error met first returns the error value before the failing word.
    EXPECT_EQ(failure("1/0+,"), "value");
    EXPECT_EQ(failure("1/1+,"), "EConvertError: ',' is not a valid floating point value");
}

TEST(Evaluate, ExtraOperandsAreDiscardedAndStacksGrow)
{
    EXPECT_EQ(run("1 2"), 12); // spaces vanish in normalisation: one number
    Expression e("pi(2)");     // not validated: the postfix «pi 2» leaves pi below
    EXPECT_EQ(e.evaluate(0, 0, 0, 0), 2);

    std::string sum = "1";
    for (int i = 2; i <= 11; ++i)
        sum += "+(" + std::to_string(i);
    sum += std::string(10, ')');
    const std::string nested = std::string(10, '(') + "1" + std::string(10, ')');
    EXPECT_EQ(run(sum), 66);
    EXPECT_EQ(run(nested), 1);
}

TEST(Evaluate, ObjectStaysUsableAfterAFailure)
{
    Expression e(",+1");
    EXPECT_THROW(e.evaluate(0, 0, 0, 0), EConvertError);
    e.setText("2*x");
    EXPECT_EQ(e.evaluate(4, 0, 0, 0), 8);
    EXPECT_EQ(e.getText(), "2 * x");

    // Memory running out while compiling belongs to no word: nothing is kept.
    struct OutOfMemoryOnce : Expression {
        using Expression::Expression;
        bool isNamedValue(const std::string& word) override
        {
            if (std::exchange(once, false))
                throw std::bad_alloc();
            return Expression::isNamedValue(word);
        }
        bool once = true;
    };
    OutOfMemoryOnce m("x+1");
    EXPECT_THROW(m.evaluate(2, 0, 0, 0), std::bad_alloc);
    EXPECT_EQ(m.evaluate(2, 0, 0, 0), 3);
}

} // namespace
