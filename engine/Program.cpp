// Postfix evaluation, compiled once per text. Undefined results (division by
// zero, roots and logarithms out of domain, tan at ±pi/2) return the error
// value; malformed postfix texts throw.

#include "engine/Program.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>

#include "engine/Conversions.h"
#include "engine/Expression.h"
#include "engine/IteratorString.h"
#include "engine/Power.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kE = 2.718281828459045;
constexpr std::uint32_t kNamedCells = 4; // x, y, z, ans

double numberValue(const std::string& word)
{
    if (word[0] == '_')
        return -StrToFloat(word.substr(1));
    return StrToFloat(word);
}

bool undefinedDivisor(double a)
{
    return a == 0.0 || std::isnan(a);
}

} // namespace

// Row i holds Op i, and there is a row for every Op up to End, the last.
template <std::size_t n> constexpr bool Program::indexedByOp(const Code (&table)[n])
{
    for (std::size_t i = 0; i < n; ++i)
        if (static_cast<std::size_t>(table[i].op) != i)
            return false;
    return n == static_cast<std::size_t>(Op::End) + 1;
}

// The labels alone, one pointer apart, so that a jump indexes them directly.
template <std::size_t n>
constexpr std::array<const void*, n> Program::labelsOf(const Code (&table)[n])
{
    std::array<const void*, n> labels{};
    for (std::size_t i = 0; i < n; ++i)
        labels[i] = table[i].label;
    return labels;
}

// The steps from step on, up to an End or the first undefined result or
// failure. The divisor, and a function's argument, are tested before the
// value under them is touched.
//
// Each step ends in its own jump to the next one (labels as values, which gcc
// and clang have): one shared jump, as a switch in a loop makes, is guessed
// wrong by the processor far more often, the library calls in between
// blurring its history, and that cost as much as the steps themselves.
Program::Outcome Program::execute(const Step* step, const double* cell, double* stack)
{
    // Indexed by Op: each row names its Op, and a row out of place fails to
    // compile.
    static constexpr Code table[] = {
        {Op::Push, &&push},
        {Op::Add, &&add},
        {Op::Subtract, &&subtract},
        {Op::Multiply, &&multiply},
        {Op::Divide, &&divide},
        {Op::Power, &&power},
        {Op::AddCell, &&addCell},
        {Op::SubtractCell, &&subtractCell},
        {Op::MultiplyCell, &&multiplyCell},
        {Op::DivideCell, &&divideCell},
        {Op::PowerCell, &&powerCell},
        {Op::Sin, &&sin},
        {Op::Cos, &&cos},
        {Op::Tan, &&tan},
        {Op::Sqrt, &&sqrt},
        {Op::Log, &&log},
        {Op::Ln, &&ln},
        {Op::TestDivisor, &&testDivisor},
        {Op::Fail, &&fail},
        {Op::End, &&end},
    };
    static_assert(indexedByOp(table), "every Op has its row, in the order of Op");
    static constexpr auto start = labelsOf(table);
    // The analyzer cannot see labelsOf's values, so it jumps anywhere and runs off the steps.
    // NOLINTNEXTLINE(clang-analyzer-core.CallAndMessage)
    const auto code = [](const Step* s) { return start[static_cast<std::size_t>(s->op)]; };

    double* top = stack; // the value under the accumulator's is at top[-1]
    double a = 0;        // the accumulator: the value on top
    goto* code(step);
push:
    *top++ = a;
    a = cell[step->cell];
    goto* code(++step);
add:
    a = *--top + a;
    goto* code(++step);
subtract:
    a = *--top - a;
    goto* code(++step);
multiply:
    a = *--top * a;
    goto* code(++step);
divide:
    if (undefinedDivisor(a))
        return {Verdict::Undefined};
    a = *--top / a;
    goto* code(++step);
power:
    --top;
    a = power(*top, a);
    goto* code(++step);
addCell:
    a += cell[step->cell];
    goto* code(++step);
subtractCell:
    a -= cell[step->cell];
    goto* code(++step);
multiplyCell:
    a *= cell[step->cell];
    goto* code(++step);
divideCell:
    if (undefinedDivisor(cell[step->cell]))
        return {Verdict::Undefined};
    a /= cell[step->cell];
    goto* code(++step);
powerCell:
    a = power(a, cell[step->cell]);
    goto* code(++step);
sin:
    a = std::sin(a);
    goto* code(++step);
cos:
    a = std::cos(a);
    goto* code(++step);
tan:
    if (std::fabs(a) == 0.5 * kPi)
        return {Verdict::Undefined};
    a = std::tan(a);
    goto* code(++step);
sqrt:
    if (!(a >= 0.0))
        return {Verdict::Undefined};
    a = std::sqrt(a);
    goto* code(++step);
log:
    if (!(a > 0.0))
        return {Verdict::Undefined};
    a = std::log(a);
    goto* code(++step);
ln:
    if (!(a > 0.0))
        return {Verdict::Undefined};
    a = std::log(a) / std::log(kE);
    goto* code(++step);
testDivisor:
    if (undefinedDivisor(a))
        return {Verdict::Undefined};
    goto* code(++step);
fail:
    return {Verdict::Failed};
end:
    return {Verdict::Value, a};
}

double Program::runSteps(double error)
{
    const Outcome outcome = execute(steps.data(), cells.data(), stack.data());
    if (outcome.verdict == Verdict::Failed)
        std::rethrow_exception(failure);
    return outcome.verdict == Verdict::Value ? outcome.value : error;
}

std::size_t Program::runEach(const double* xs, double* values, std::size_t n, double y, double z,
                             double ans, double error)
{
    double* const cell = cells.data();
    cell[1] = y;
    cell[2] = z;
    cell[3] = ans;
    for (std::size_t i = 0; i < n; ++i) {
        cell[0] = xs[i];
        const Outcome outcome = execute(steps.data(), cell, stack.data());
        if (outcome.verdict == Verdict::Failed)
            return i;
        values[i] = outcome.verdict == Verdict::Value ? outcome.value : error;
    }
    return n;
}

void Program::compile(Expression& rules, const std::string& postfix)
{
    steps.clear();
    cells.assign(kNamedCells, 0.0);
    stack.assign(1, 0.0); // enough for the constants worked out on the way
    failure = nullptr;
    oneValue = false;
    depth = 0;
    int deepest = 1;
    IteratorString words(postfix);
    while (words.hasMore() && !failure) {
        const std::string word = words.current();
        words.next();
        try {
            compileWord(rules, word);
        } catch (const Exception&) {
            fail(std::current_exception()); // a conversion or range error of this word
        } catch (const ExceptionError&) {
            fail(std::current_exception());
        }
        deepest = std::max(deepest, depth);
    }
    if (!failure) {
        if (depth == 0)
            fail(std::make_exception_ptr(ExceptionError("Stack is Empty")));
        else
            steps.push_back({Op::End, 0});
    }
    stack.assign(static_cast<std::size_t>(deepest), 0.0);
    oneValue = steps.size() == 2 && steps[0].op == Op::Push && steps[1].op == Op::End;
}

void Program::compileWord(Expression& rules, const std::string& word)
{
    if (word.empty())
        throw ERangeError("Range check error");
    if (rules.isOperator(word[0])) {
        struct Entry {
            char word;
            Op op;
            Op withCell;
        };
        static constexpr Entry operators[] = {{'+', Op::Add, Op::AddCell},
                                              {'-', Op::Subtract, Op::SubtractCell},
                                              {'*', Op::Multiply, Op::MultiplyCell},
                                              {'/', Op::Divide, Op::DivideCell}};
        Entry entry{'^', Op::Power, Op::PowerCell};
        for (const Entry& e : operators)
            if (e.word == word[0])
                entry = e;
        compileOperator(entry.op, entry.withCell);
        return;
    }
    struct Entry {
        std::string_view word;
        Op op;
    };
    // A function word of the rules that is none of these is the logarithm "log".
    static constexpr Entry functions[] = {
        {"sin", Op::Sin}, {"cos", Op::Cos}, {"tan", Op::Tan}, {"sqrt", Op::Sqrt}, {"ln", Op::Ln}};
    if (rules.isFunction(word)) {
        Op op = Op::Log;
        for (const Entry& e : functions)
            if (e.word == word)
                op = e.op;
        compileFunction(op);
        return;
    }
    // A named value of the rules that is none of these is "ans".
    static constexpr std::string_view named[] = {"x", "y", "z"};
    std::uint32_t cell = 3;
    if (rules.isNamedValue(word)) {
        for (std::uint32_t i = 0; i < std::size(named); ++i)
            if (named[i] == word)
                cell = i;
        if (word == "pi")
            cell = constant(kPi);
        else if (word == "e")
            cell = constant(kE);
    } else {
        cell = constant(numberValue(word));
    }
    steps.push_back({Op::Push, cell});
    ++depth;
}

void Program::compileOperator(Op op, Op withCell)
{
    if (depth < 2) {
        // The divisor is popped, and tested, before the missing dividend.
        if (op == Op::Divide && depth == 1)
            steps.push_back({Op::TestDivisor, 0});
        fail(std::make_exception_ptr(ExceptionError("Stack is Empty")));
        return;
    }
    --depth;
    if (steps.back().op != Op::Push) {
        steps.push_back({op, 0});
        return;
    }
    steps.back().op = withCell; // the value just pushed is the right operand
    if (steps.back().cell >= kNamedCells)
        foldLastTwo(); // a constant: with a constant before it, the two make one
}

void Program::compileFunction(Op op)
{
    if (depth < 1) {
        fail(std::make_exception_ptr(ExceptionError("Stack is Empty")));
        return;
    }
    steps.push_back({op, 0});
    foldLastTwo();
}

std::uint32_t Program::constant(double value)
{
    cells.push_back(value);
    return static_cast<std::uint32_t>(cells.size() - 1);
}

// The last step, a function or an operator on a constant, worked on a
// constant pushed just before it: the two become the constant they give,
// worked out by the very steps a run takes. Where the result is undefined the
// steps stay, to give the error value when a run reaches them.
void Program::foldLastTwo()
{
    const std::size_t n = steps.size();
    if (n < 2 || steps[n - 2].op != Op::Push || steps[n - 2].cell < kNamedCells)
        return;
    const Step tail[] = {steps[n - 2], steps[n - 1], {Op::End, 0}};
    const Outcome outcome = execute(tail, cells.data(), stack.data());
    if (outcome.verdict != Verdict::Value)
        return;
    steps.pop_back();
    steps.back().cell = constant(outcome.value);
}

void Program::fail(std::exception_ptr met)
{
    failure = std::move(met);
    steps.push_back({Op::Fail, 0});
}
