#include "engine/Expression.h"

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

bool Expression::isFunction(const std::string& word)
{
    return word == "sin" || word == "cos" || word == "sqrt" || word == "tan" || word == "log" ||
           word == "ln";
}

bool Expression::isNamedValue(const std::string& word)
{
    return word == "x" || word == "y" || word == "z" || word == "pi" || word == "e" ||
           word == "ans";
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
    text = std::move(newText);
}

std::string Expression::normalize()
{
    std::string result;
    result.reserve(text.size() * 2);
    char previous = ' '; // nearest character before the current one that is not a space
    for (const char c : text) {
        if (c == ' ')
            continue;
        if (c == '(' && (isDigit(previous) || previous == ')')) {
            result += " * ( "; // implicit multiplication: 2(3) means 2 * (3)
        } else if (isOperator(c) || c == '(' || c == ')') {
            if (!result.empty() && result.back() != ' ')
                result += ' ';
            result += c;
            result += ' ';
        } else {
            result += c;
        }
        previous = c;
    }
    return result;
}
