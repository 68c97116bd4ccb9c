// Every input that ever broke a fuzzer's property, replayed through the same
// checks (fuzz/Properties.cpp), with what each one taught.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "engine/Conversions.h"
#include "fuzz/Properties.h"

namespace {

template <std::size_t N> std::string bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1); // keeps embedded NULs
}

TEST(Regression, NumberInputs)
{
    // The first eight bytes are -1,7976931348623157E308, the largest double
    // negated: FloatToStr wrote it rounded up past the largest double, and
    // StrToFloat refused the text as too large.
    for (const std::string& input :
         {bytes("\xff\xff\xff\xff\xff\xff\xef\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff"
                "\xff\xff\xff\xff"
                "b\x00\xff"
                "1.;")})
        EXPECT_EQ(numberFault(input), "") << input;
}

TEST(Regression, TheLargestDoubleReadsBack)
{
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(FloatToStr(largest), "1,79769313486232E308");
    EXPECT_EQ(StrToFloat("1,79769313486232E308"), largest);
    EXPECT_EQ(StrToFloat("-1,79769313486232E308"), -largest);
    EXPECT_EQ(StrToFloat("0,179769313486232E309"), largest);
    EXPECT_EQ(StrToFloat("1,7976931348623159E308"), largest); // past rounding to the largest
    for (const char* beyond : {"1,797693134862321E308", "1,79769313486233E308", "1,8E308", "2E308"})
        EXPECT_THROW(StrToFloat(beyond), EConvertError) << beyond;
}

} // namespace
