#include "engine/NumberAt.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isWordAt(std::string_view text, std::size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if ((text[at + i] & ~0x20) != word[i])
            return false;
    const std::size_t after = at + word.size();
    return after == text.size() || !isLetter(text[after]);
}

// The end of the number that starts at `from`, or `from` where none does.
std::size_t numberEnd(std::string_view text, std::size_t from, bool withSign)
{
    std::size_t i = withSign ? from + 1 : from;
    if (isWordAt(text, i, "INF") || isWordAt(text, i, "NAN"))
        return i + 3;
    bool digits = false;
    for (; i < text.size() && (isDigit(text[i]) || text[i] == ','); ++i)
        digits = digits || isDigit(text[i]);
    if (!digits)
        return from;
    std::size_t e = i + 1; // past an exponent mark, if there is one
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        if (e < text.size() && (text[e] == '-' || text[e] == '+'))
            ++e;
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e]))
                ++e;
            i = e;
        }
    }
    return i;
}

} // namespace

TextSpan NumberAt(std::string_view text, std::size_t place)
{
    TextSpan before;
    bool operandEnds = false; // the last character that is no blank ends an operand
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const bool sign = c == '_' || (c == '-' && !operandEnds);
        const std::size_t end = (i > 0 && isLetter(text[i - 1])) ? i : numberEnd(text, i, sign);
        if (end > i) {
            if (i <= place && place < end)
                return {i, end};
            if (end == place)
                before = {i, end};
            operandEnds = true;
            i = end;
            continue;
        }
        if (c != ' ')
            operandEnds = isDigit(c) || isLetter(c) || c == ')' || c == ',' || c == '.';
        ++i;
    }
    return before;
}
