// Postfix evaluation on a stack of doubles. Undefined results (division by
// zero, roots and logarithms out of domain, tan at ±pi/2) return errorValue;
// malformed postfix texts throw.

#include <cmath>
#include <string_view>

#include "engine/Expression.h"
#include "engine/IteratorString.h"
#include "platform/Conversions.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kE = 2.718281828459045;

double numberValue(const std::string& word)
{
    if (word[0] == '_')
        return -StrToFloat(word.substr(1));
    return StrToFloat(word);
}

} // namespace

double Expression::evaluate(double x, double y, double z, double ans)
{
    const auto error = static_cast<double>(errorValue);
    IteratorString words(toPostfix());
    Stack<double> values(10);
    while (words.hasMore()) {
        const std::string word = words.current();
        const std::string_view w = word; // compared with literals inline
        words.next();
        if (word.empty())
            throw ERangeError("Range check error");

        if (isOperator(word[0])) {
            const double a = values.pop();
            if (word[0] == '/' && (a == 0.0 || std::isnan(a)))
                return error;
            const double b = values.pop();
            switch (word[0]) {
            case '+': values.push(b + a); break;
            case '-': values.push(b - a); break;
            case '*': values.push(b * a); break;
            case '/': values.push(b / a); break;
            default: values.push(std::pow(b, a)); break;
            }
        } else if (isFunction(word)) {
            const double a = values.top();
            if (w == "sin") {
                values.pop();
                values.push(std::sin(a));
            } else if (w == "cos") {
                values.pop();
                values.push(std::cos(a));
            } else if (w == "tan") {
                if (std::fabs(a) == 0.5 * kPi)
                    return error;
                values.pop();
                values.push(std::tan(a));
            } else if (w == "sqrt") {
                if (!(a >= 0.0))
                    return error;
                values.pop();
                values.push(std::sqrt(a));
            } else { // "log" and "ln": both the natural logarithm
                if (!(a > 0.0))
                    return error;
                values.pop();
                values.push(w == "ln" ? std::log(a) / std::log(kE) : std::log(a));
            }
        } else if (isNamedValue(word)) {
            if (w == "x")
                values.push(x);
            else if (w == "y")
                values.push(y);
            else if (w == "z")
                values.push(z);
            else if (w == "pi")
                values.push(kPi);
            else if (w == "e")
                values.push(kE);
            else
                values.push(ans);
        } else {
            values.push(numberValue(word));
        }
    }
    return values.pop();
}
