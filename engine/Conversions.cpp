#include "engine/Conversions.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr int kSignificantDigits = 15;
// Exponents beyond this are far outside any double; keeping them bounded
// keeps the arithmetic below free of overflow.
constexpr long long kExponentLimit = 1000000000LL;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool equalsIgnoringCase(const std::string& text, std::size_t from, const char* word)
{
    const std::size_t n = std::strlen(word);
    if (text.size() - from != n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = text[from + i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i])
            return false;
    }
    return true;
}

// The decimal exponent of the leading significant digit of digits × 10^exponent,
// where digits holds the integer part (intCount digits) followed by the fraction.
long long leadingExponent(const std::string& digits, std::size_t intCount, long long exponent)
{
    const std::size_t first = digits.find_first_not_of('0');
    return static_cast<long long>(intCount) - static_cast<long long>(first) - 1 + exponent;
}

// FloatToStr writes the largest double, 1,7976931348623157E308, rounded to
// 15 digits: 1,79769313486232E308, which lies above it. So that every text
// FloatToStr writes reads back, a number up to that text is taken as the
// largest double; anything larger is still refused.
bool withinLargestWritten(const std::string& digits, std::size_t intCount, long long exponent)
{
    static const std::string largest = "179769313486232";
    if (leadingExponent(digits, intCount, exponent) != 308)
        return false;
    const std::size_t first = digits.find_first_not_of('0');
    const std::size_t last = digits.find_last_not_of('0');
    return digits.compare(first, last + 1 - first, largest) <= 0;
}

// The number words of typical expressions ("2", "0,5", "100") are read on
// every evaluation. When the text is only digits with at most one "," and 15
// digits or fewer, its digits form an integer below 2^53 and its divisor a
// power of ten below 10^16: both are exact doubles, and one IEEE division
// rounds their quotient correctly. Anything else returns false and takes the
// general road.
bool readPlainDecimal(const std::string& text, double& value)
{
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (text.size() > static_cast<std::size_t>(kSignificantDigits) + 1)
        return false;
    std::int64_t digits = 0;
    int count = 0;
    int fractionDigits = -1; // -1 until the ","
    for (const char c : text) {
        if (isDigit(c)) {
            digits = digits * 10 + (c - '0');
            ++count;
            if (fractionDigits >= 0)
                ++fractionDigits;
        } else if (c == ',' && fractionDigits < 0) {
            fractionDigits = 0;
        } else {
            return false;
        }
    }
    if (count == 0 || count > kSignificantDigits)
        return false;
    value = static_cast<double>(digits);
    if (fractionDigits > 0)
        value /= kPowersOfTen[fractionDigits];
    return true;
}

} // namespace

bool TryStrToFloat(const std::string& text, double& value)
{
    if (readPlainDecimal(text, value))
        return true;

    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return false;
    const std::size_t end = text.find_last_not_of(' ') + 1;
    const std::string s = text.substr(begin, end - begin);

    std::size_t i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    if (equalsIgnoringCase(s, i, "INF")) {
        value = negative ? -HUGE_VAL : HUGE_VAL;
        return true;
    }
    if (i == 0 && equalsIgnoringCase(s, 0, "NAN")) {
        value = std::nan("");
        return true;
    }

    std::string digits;
    while (i < s.size() && isDigit(s[i]))
        digits += s[i++];
    const std::size_t intCount = digits.size();
    if (i < s.size() && s[i] == ',') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            digits += s[i++];
    }
    if (digits.empty())
        return false;

    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            negativeExponent = s[i] == '-';
            ++i;
        }
        if (i == s.size() || !isDigit(s[i]))
            return false;
        while (i < s.size() && isDigit(s[i])) {
            if (exponent < kExponentLimit)
                exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != s.size())
        return false;

    if (digits.find_first_not_of('0') == std::string::npos) {
        value = negative ? -0.0 : 0.0;
        return true;
    }

    std::string plain = intCount == 0 ? std::string("0") : digits.substr(0, intCount);
    plain += '.';
    plain += digits.substr(intCount);
    plain += 'e';
    plain += std::to_string(exponent);

    double parsed = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold becomes zero; too large is no number we can keep.
        if (withinLargestWritten(digits, intCount, exponent))
            parsed = std::numeric_limits<double>::max();
        else if (leadingExponent(digits, intCount, exponent) >= 0)
            return false;
        else
            parsed = 0.0;
    } else if (result.ec != std::errc() || result.ptr != plain.data() + plain.size()) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

double StrToFloat(const std::string& text)
{
    double value = 0.0;
    if (!TryStrToFloat(text, value))
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return value;
}

std::string FloatToStr(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0.0)
        return "0";

    // d.ddddddddddddddde±x, correctly rounded to 15 significant digits.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string scientific(buffer, result.ptr);
    const std::size_t mark = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, mark - 2);
    const int exponent = std::atoi(scientific.c_str() + mark + 1);
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string out = value < 0 ? "-" : "";
    if (exponent >= kSignificantDigits || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1)
            out += "," + digits.substr(1);
        out += 'E';
        out += std::to_string(exponent);
        return out;
    }
    if (exponent < 0) {
        out += "0,";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        out += digits;
        out.append(integerDigits - digits.size(), '0');
    } else {
        out += digits.substr(0, integerDigits);
        out += "," + digits.substr(integerDigits);
    }
    return out;
}
