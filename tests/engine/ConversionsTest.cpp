#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "engine/Conversions.h"
#include "engine/Expression.h"
#include "engine/ExpressionNumber.h"
#include "engine/NumberAt.h"

namespace {

std::string refusal(const std::string& text)
{
    try {
        StrToFloat(text);
    } catch (const EConvertError& e) {
        return e.what();
    }
    return "accepted";
}

TEST(Conversions, FloatToStrGeneralFormat)
{
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c : {Case{0, "0"},
                          {-0.0, "0"},
                          {3.5, "3,5"},
                          {-2.5, "-2,5"},
                          {14, "14"},
                          {16.666666666666668, "16,6666666666667"},
                          {18.518518518518519, "18,5185185185185"},
                          {100000000000000, "100000000000000"},
                          {1e15, "1E15"},
                          {1e20, "1E20"},
                          {1.5e-7, "1,5E-7"},
                          {0.00001, "0,00001"},
                          {0.0001, "0,0001"},
                          {9.99999e-6, "9,99999E-6"},
                          {-1215752191, "-1215752191"},
                          {0.1 + 0.2, "0,3"},
                          {123456789012345678.0, "1,23456789012346E17"},
                          {999999999999999.9, "1E15"},
                          {1.7976931348623157e308, "1,79769313486232E308"},
                          {5e-324, "4,94065645841247E-324"},
                          {-1e-300, "-1E-300"},
                          {0.5, "0,5"},
                          {std::numeric_limits<double>::infinity(), "INF"},
                          {-std::numeric_limits<double>::infinity(), "-INF"},
                          {std::numeric_limits<double>::quiet_NaN(), "NAN"}})
        EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
}

TEST(Conversions, StrToFloatReadsWhatPeopleType)
{
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c : {Case{"0", 0},
                          {"3,5", 3.5},
                          {"-2,5", -2.5},
                          {"+14", 14},
                          {"1,", 1},
                          {",5", 0.5},
                          {"  7  ", 7},
                          {"1E15", 1e15},
                          {"1,5E-7", 1.5e-7},
                          {"2e3", 2000},
                          {"2E+3", 2000},
                          {"16,6666666666667", 16.6666666666667},
                          {"1E-400", 0},
                          {"007", 7},
                          {"0E999999999999999999", 0}})
        EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;
    EXPECT_EQ(StrToFloat("INF"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(StrToFloat("inf"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(StrToFloat("-Inf"), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(StrToFloat("NaN")));
    EXPECT_TRUE(std::signbit(StrToFloat("-0")));
}

TEST(Conversions, StrToFloatRefusals)
{
    EXPECT_EQ(refusal(""), "'' is not a valid floating point value");
    EXPECT_EQ(refusal(" x "), "' x ' is not a valid floating point value");
    for (const char* text : {",",     "   ",  "-",     "+",      "1.5",
                             "1,2,3", "1e",   "1E+",   "E5",     "1E5,2",
                             "--1",   "1 2",  "_5",    "0x10",   "INFINITY",
                             "-NAN",  "ERRO", "1E400", "-1E309", "1E99999999999999999999",
                             "12a"})
        EXPECT_NE(refusal(text), "accepted") << text;
}

// Short plain decimals take a quicker road than the rest; both must agree
// with a correctly rounded reading, here the C library's in the "C" locale.
TEST(Conversions, ShortDecimalsAreCorrectlyRounded)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> length(1, 17);
    for (int i = 0; i < 200000; ++i) {
        const int n = length(rng);
        std::uniform_int_distribution<int> mark(-1, n);
        const int comma = mark(rng); // -1: none
        std::string text;
        for (int d = 0; d < n; ++d) {
            if (d == comma)
                text += ',';
            text += static_cast<char>('0' + digit(rng));
        }
        if (comma == n)
            text += ',';
        std::string dotted = text;
        if (comma >= 0)
            dotted[static_cast<std::size_t>(comma)] = '.';
        ASSERT_EQ(StrToFloat(text), std::strtod(dotted.c_str(), nullptr)) << text;
    }
    for (const char* text :
         {"0,1", "0,3", "999999999999999", "9999999999999999", "0,000000000000001",
          "123456789012,345", "9007199254740993", "1,0000000000000002"}) {
        std::string dotted = text;
        std::replace(dotted.begin(), dotted.end(), ',', '.');
        EXPECT_EQ(StrToFloat(text), std::strtod(dotted.c_str(), nullptr)) << text;
    }
}

TEST(Conversions, RoundTripsAndIgnoresTheLocale)
{
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 100000; ++i) {
        double v;
        const std::uint64_t b = bits(rng);
        static_assert(sizeof v == sizeof b);
        std::memcpy(&v, &b, sizeof v);
        const std::string text = FloatToStr(v);
        ASSERT_EQ(FloatToStr(StrToFloat(text)), text) << text;
        if (std::isfinite(v)) { // pasted into an expression, a number shown is the same double
            Expression pasted(ExpressionNumber(text).c_str());
            ASSERT_TRUE(pasted.validate()) << text;
            const double value = pasted.evaluate(0, 0, 0, 0);
            ASSERT_TRUE(value == StrToFloat(text) && std::signbit(value) == (v < 0)) << text;
        }
    }
    for (const auto& [shown, pasted] :
         {std::pair{"123,4E-2", "1,234"}, {"-INF", "-INF"}, {"2-6", "2-6"}, {"1E-1000", "1E-1000"}})
        EXPECT_EQ(ExpressionNumber(shown), pasted);
    for (double v : {0.1, 1.0 / 3, 2.0 / 3, 1e-5, 123.456, 1e14 + 0.5, -7e-8})
        EXPECT_EQ(FloatToStr(StrToFloat(FloatToStr(v))), FloatToStr(v));

    // A comma-decimal locale in the C library must change nothing, if the machine has one.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "C.UTF-8")) {
        EXPECT_EQ(FloatToStr(2.5), "2,5");
        EXPECT_EQ(StrToFloat("2,5"), 2.5);
        std::setlocale(LC_ALL, "C");
    }
}

// "|" marks the place double-clicked; what a double click selects follows.
TEST(Conversions, NumberAtTakesTheWholeNumber)
{
    struct Case {
        std::string marked;
        std::string number;
    };
    for (const Case& c : {Case{"0,142857|142857143", "0,142857142857143"},
                          {"-|3", "-3"},
                          {"2-|3", "3"},
                          {"x*-|1,5E-7+1", "-1,5E-7"},
                          {"1,5E-|7", "1,5E-7"},
                          {"2*_3|", "_3"},
                          {"3|E", "3"},
                          {"7|+8", "7"},
                          {"Y: -|INF", "-INF"},
                          {"s|in(2)", ""},
                          {"x|2", ""},
                          {",|+1", ""},
                          {"|", ""}}) {
        const std::size_t place = c.marked.find('|');
        const std::string text = c.marked.substr(0, place) + c.marked.substr(place + 1);
        const TextSpan span = NumberAt(text, place);
        EXPECT_EQ(text.substr(span.from, span.to - span.from), c.number) << c.marked;
    }
}

} // namespace
