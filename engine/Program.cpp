// Postfix evaluation, compiled once per text. Undefined results (division by
// zero, roots and logarithms out of domain, tan at ±pi/2) return the error
// value; malformed postfix texts throw.

#include "engine/Program.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>

#include "engine/Conversions.h"
#include "engine/Expression.h"
#include "engine/IteratorString.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kE = 2.718281828459045;
constexpr std::uint32_t kFirstConstant = steps::kFirstConstant;

double numberValue(const std::string& word)
{
    if (word[0] == '_')
        return -StrToFloat(word.substr(1));
    return StrToFloat(word);
}

} // namespace

std::size_t Program::runEach(const double* xs, double* values, std::size_t n, double y, double z,
                             double ans, double error)
{
    if (levels > steps::kMostLevels) { // too deep for the room of blocks: x by x
        for (std::size_t i = 0; i < n; ++i) {
            try {
                values[i] = run(xs[i], y, z, ans, error);
            } catch (const Exception&) {
                return i;
            } catch (const ExceptionError&) {
                return i;
            }
        }
        return n;
    }
    if (lanes.empty()) {
        lanes.assign((levels + 1) * steps::kLanes, 0.0);
        sources.assign(levels, nullptr);
    }
    cells[1] = y;
    cells[2] = z;
    cells[3] = ans;
    const steps::Lanes room{cells.data(), lanes.data(), sources.data(),
                            lanes.data() + levels * steps::kLanes};
    return steps::runLanes(steps.data(), room, xs, values, n, error);
}

void Program::compile(Expression& rules, const std::string& postfix)
{
    steps.clear();
    cells.assign(kFirstConstant, 0.0);
    stack.assign(1, 0.0); // enough for the constants worked out on the way
    depth = 0;
    int deepest = 1;
    IteratorString words(postfix);
    while (words.hasMore() && !failed()) {
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
    if (!failed()) {
        if (depth == 0)
            fail(std::make_exception_ptr(ExceptionError("Stack is Empty")));
        else
            steps.push_back({Op::End, 0, 0, 0});
    }
    stack.assign(static_cast<std::size_t>(deepest), 0.0);
    fuse();
    steps::link(steps.data());
    levels = static_cast<std::size_t>(deepest);
    lanes.clear();
    const bool oneValue = steps.size() == 2 && steps[0].op == Op::Push && steps[1].op == Op::End;
    const std::size_t skipped = !oneValue && steps[0].op == Op::Push && steps[0].cell == 0 ? 1 : 0;
    runner = oneValue ? steps::pushedValue : steps::chosenRun();
    entry = steps.data() + skipped;
    entryStack = stack.data() + skipped;
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
    steps.push_back({Op::Push, 0, cell, 0});
    ++depth;
}

void Program::compileOperator(Op op, Op withCell)
{
    if (depth < 2) {
        // The divisor is popped, and tested, before the missing dividend.
        if (op == Op::Divide && depth == 1)
            steps.push_back({Op::TestDivisor, 0, 0, 0});
        fail(std::make_exception_ptr(ExceptionError("Stack is Empty")));
        return;
    }
    --depth;
    if (steps.back().op != Op::Push) {
        steps.push_back({op, 0, 0, 0});
        return;
    }
    steps.back().op = withCell; // the value just pushed is the right operand
    if (steps.back().cell >= kFirstConstant)
        foldLastTwo(); // a constant: with a constant before it, the two make one
}

void Program::compileFunction(Op op)
{
    if (depth < 1) {
        fail(std::make_exception_ptr(ExceptionError("Stack is Empty")));
        return;
    }
    steps.push_back({op, 0, 0, 0});
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
    if (n < 2 || steps[n - 2].op != Op::Push || steps[n - 2].cell < kFirstConstant)
        return;
    // A NaN no step makes from constants: an undefined result gives it.
    constexpr std::uint64_t kUndefinedBits = 0x7ffc0ffee0000029;
    double undefined = 0;
    std::memcpy(&undefined, &kUndefinedBits, sizeof undefined);
    Step tail[] = {steps[n - 2], steps[n - 1], {Op::End, 0, 0, 0}};
    steps::link(tail);
    cells[steps::kErrorCell] = undefined;
    const double value = steps::chosenRun()(tail, cells.data(), stack.data());
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    if (bits == kUndefinedBits)
        return;
    steps.pop_back();
    steps.back().cell = constant(value);
}

// Pairs of steps that one step does as well: a whole power of a constant
// exponent, and the shapes most texts have (x^2 pushed, 1/x, 2*x+1).
void Program::fuse()
{
    std::vector<Step> fused;
    fused.reserve(steps.size());
    for (Step step : steps) {
        if (step.op == Op::PowerCell && step.cell >= kFirstConstant) {
            const double exponent = cells[step.cell];
            if (exponent >= 2 && exponent <= 16 && exponent == std::floor(exponent)) {
                step.op = Op::WholePower;
                step.exponent = static_cast<std::uint8_t>(exponent);
            }
        }
        Step* const last = fused.empty() ? nullptr : &fused.back();
        if (last != nullptr && last->op == Op::Push && step.op == Op::WholePower)
            *last = {Op::PushWholePower, step.exponent, last->cell, 0};
        else if (last != nullptr && last->op == Op::Push && step.op == Op::DivideCell)
            *last = {Op::PushQuotient, 0, last->cell, step.cell};
        else if (last != nullptr && last->op == Op::MultiplyCell && step.op == Op::AddCell)
            *last = {Op::MultiplyAdd, 0, last->cell, step.cell};
        else
            fused.push_back(step);
    }
    steps = std::move(fused);
}

void Program::fail(std::exception_ptr met)
{
    steps.push_back({Op::Fail, 0, 0, 0, nullptr, std::move(met)});
}
