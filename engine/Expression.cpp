#include "engine/Expression.h"

#include <string_view>
#include <utility>

#include "engine/IteratorString.h"

namespace {

constexpr std::int32_t kErrorValue = -1215752191;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool isMatchingPair(char opening, char closing)
{
    return (opening == '(' && closing == ')') || (opening == '[' && closing == ']') ||
           (opening == '{' && closing == '}');
}

Expression::Expression() : errorValue(kErrorValue), operators(10) {}

Expression::Expression(const char* initialText)
    : errorValue(kErrorValue), operators(10), text(initialText)
{
}

Expression::~Expression() = default;

bool Expression::isOperator(char c)
{
    return c == '+' || c == '-' || c == '/' || c == '*' || c == '^';
}

// Words are compared as string_views: the comparison with a literal then
// inlines to a length test and a short memcmp, which matters on the graph
// window's hot path (every sample converts and evaluates anew).

bool Expression::isFunction(const std::string& word)
{
    const std::string_view w = word;
    return w == "sin" || w == "cos" || w == "sqrt" || w == "tan" || w == "log" || w == "ln";
}

bool Expression::isNamedValue(const std::string& word)
{
    const std::string_view w = word;
    return w == "x" || w == "y" || w == "z" || w == "pi" || w == "e" || w == "ans";
}

bool Expression::isNumber(const std::string& word)
{
    bool comma = false;
    bool exponent = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        if (c == '_') {
            if (i != 0 || word.size() == 1)
                return false;
        } else if (c == ',') {
            if (comma)
                return false;
            comma = true;
        } else if (c == 'E') {
            if (exponent)
                return false;
            exponent = true;
        } else if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

int Expression::priority(const std::string& word)
{
    if (!word.empty()) {
        switch (word[0]) {
        case '+':
        case '-': return 1;
        case '*':
        case '/': return 2;
        case '^': return 3;
        default: break;
        }
    }
    return isFunction(word) ? 4 : 0;
}

void Expression::setText(std::string newText)
{
    text.set(std::move(newText));
}

std::string Expression::normalize()
{
    // Written through a pointer into room for the longest outcome: no
    // character grows into more than five (" * ( ").
    const std::string& source = text.get();
    std::string result(source.size() * 5, '\0');
    char* const begin = result.data();
    char* out = begin;
    char previous = ' '; // nearest character before the current one that is not a space
    for (const char c : source) {
        if (c == ' ')
            continue;
        if (c == '(' && (isDigit(previous) || previous == ')')) {
            // implicit multiplication: 2(3) means 2 * (3)
            for (const char m : {' ', '*', ' ', '(', ' '})
                *out++ = m;
        } else if (c == '(' || c == ')' || isOperator(c)) {
            if (out != begin && out[-1] != ' ')
                *out++ = ' ';
            *out++ = c;
            *out++ = ' ';
        } else {
            *out++ = c;
        }
        previous = c;
    }
    result.resize(static_cast<std::size_t>(out - begin));
    return result;
}
