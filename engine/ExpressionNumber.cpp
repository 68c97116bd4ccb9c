#include "engine/ExpressionNumber.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The run of digits from `at`; `at` moves past it.
std::string_view digitsAt(std::string_view text, std::size_t& at)
{
    const std::size_t from = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return text.substr(from, at - from);
}

} // namespace

std::string ExpressionNumber(std::string_view text)
{
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++at;
    const std::string_view whole = digitsAt(text, at);
    std::string_view fraction;
    if (at < text.size() && text[at] == ',') {
        ++at;
        fraction = digitsAt(text, at);
        if (fraction.empty())
            return std::string(text);
    }
    bool negativeExponent = false;
    std::string_view exponent;
    if (at < text.size() && text[at] == 'E') {
        ++at;
        negativeExponent = at < text.size() && text[at] == '-';
        if (negativeExponent)
            ++at;
        exponent = digitsAt(text, at);
        if (exponent.empty() || exponent.size() > 3) // no double's exponent has more
            return std::string(text);
    }
    if (whole.empty() || at != text.size())
        return std::string(text);

    std::string out = negative ? "_" : "";
    if (!negativeExponent) {
        out += text.substr(negative ? 1 : 0);
        return out;
    }
    // The decimal mark moves left by the exponent: digits d1 d2 ... with the
    // mark after `point` of them, or "0," and zeros where that is before the first.
    std::string digits(whole);
    digits += fraction;
    const int point = static_cast<int>(whole.size()) - std::stoi(std::string(exponent));
    if (point > 0) {
        const auto split = static_cast<std::size_t>(point);
        out += digits.substr(0, split);
        if (split < digits.size())
            out += "," + digits.substr(split);
    } else {
        out += "0,";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
    }
    return out;
}
