// Postfix evaluation on a stack of doubles, compiled once per text. Undefined
// results (division by zero, roots and logarithms out of domain, tan at
// ±pi/2) return the error value; malformed postfix texts throw.

#include "engine/Program.h"

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

void Program::compile(Expression& rules, const std::string& postfix)
{
    steps.clear();
    failure = nullptr;
    IteratorString words(postfix);
    while (words.hasMore()) {
        const std::string word = words.current();
        words.next();
        Step step{};
        try {
            step = compileWord(rules, word);
        } catch (...) {
            // Raised when the walk gets here; no word after it is ever reached.
            failure = std::current_exception();
            steps.push_back({Op::Fail, 0});
            return;
        }
        steps.push_back(step);
    }
}

Program::Step Program::compileWord(Expression& rules, const std::string& word)
{
    if (word.empty())
        throw ERangeError("Range check error");
    if (rules.isOperator(word[0])) {
        switch (word[0]) {
        case '+': return {Op::Add, 0};
        case '-': return {Op::Subtract, 0};
        case '*': return {Op::Multiply, 0};
        case '/': return {Op::Divide, 0};
        default: return {Op::Power, 0};
        }
    }
    struct Entry {
        std::string_view word;
        Op op;
    };
    // A function word of the rules that is none of these is the logarithm
    // "log", and a named value that is none of these is "ans".
    static constexpr Entry functions[] = {
        {"sin", Op::Sin}, {"cos", Op::Cos}, {"tan", Op::Tan}, {"sqrt", Op::Sqrt}, {"ln", Op::Ln}};
    static constexpr Entry namedValues[] = {
        {"x", Op::X}, {"y", Op::Y}, {"z", Op::Z}, {"pi", Op::Pi}, {"e", Op::E}};
    const auto find = [&word](const auto& table, Op otherwise) -> Step {
        for (const Entry& entry : table)
            if (entry.word == word)
                return {entry.op, 0};
        return {otherwise, 0};
    };
    if (rules.isFunction(word))
        return find(functions, Op::Log);
    if (rules.isNamedValue(word))
        return find(namedValues, Op::Ans);
    return {Op::Number, numberValue(word)};
}

double Program::run(double x, double y, double z, double ans, double error)
{
    while (!values.isEmpty()) // left by a run that ended early or left extra operands
        values.pop();
    for (const Step& step : steps) {
        switch (step.op) {
        case Op::Number: values.push(step.number); break;
        case Op::X: values.push(x); break;
        case Op::Y: values.push(y); break;
        case Op::Z: values.push(z); break;
        case Op::Ans: values.push(ans); break;
        case Op::Pi: values.push(kPi); break;
        case Op::E: values.push(kE); break;
        case Op::Add:
        case Op::Subtract:
        case Op::Multiply:
        case Op::Divide:
        case Op::Power: {
            const double a = values.pop();
            // The divisor is tested before the dividend is popped.
            if (step.op == Op::Divide && (a == 0.0 || std::isnan(a)))
                return error;
            const double b = values.pop();
            switch (step.op) {
            case Op::Add: values.push(b + a); break;
            case Op::Subtract: values.push(b - a); break;
            case Op::Multiply: values.push(b * a); break;
            case Op::Divide: values.push(b / a); break;
            default: values.push(std::pow(b, a)); break;
            }
            break;
        }
        case Op::Sin:
        case Op::Cos:
        case Op::Tan:
        case Op::Sqrt:
        case Op::Log:
        case Op::Ln: {
            // The argument is looked at, and tested, before it is popped.
            const double a = values.top();
            if ((step.op == Op::Tan && std::fabs(a) == 0.5 * kPi) ||
                (step.op == Op::Sqrt && !(a >= 0.0)) ||
                ((step.op == Op::Log || step.op == Op::Ln) && !(a > 0.0)))
                return error;
            values.pop();
            switch (step.op) {
            case Op::Sin: values.push(std::sin(a)); break;
            case Op::Cos: values.push(std::cos(a)); break;
            case Op::Tan: values.push(std::tan(a)); break;
            case Op::Sqrt: values.push(std::sqrt(a)); break;
            case Op::Log: values.push(std::log(a)); break;
            default: values.push(std::log(a) / std::log(kE)); break;
            }
            break;
        }
        case Op::Fail: std::rethrow_exception(failure);
        }
    }
    return values.pop();
}
