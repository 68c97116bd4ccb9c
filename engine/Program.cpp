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
    // At most one step a word, and an End, or a Fail with its failure (after
    // a TestDivisor): the room is made once, not grown by copies, and a long
    // text's program takes only the pages its steps fill.
    steps = std::vector<Step>();
    steps.reserve(static_cast<std::size_t>(std::count(postfix.begin(), postfix.end(), ' ')) + 4);
    failure = nullptr;
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
            steps.emplace_back(Op::End);
    }
    stack.assign(static_cast<std::size_t>(deepest), 0.0);
    levels = static_cast<std::size_t>(deepest);
    lanes.clear();
    const steps::Build& build = steps::chosenBuild();
    steps::link(steps.data(), build);
    enter(build);
}

// A program of one value costs no loop. Otherwise the accumulator starts as
// x, so a first step that pushes x has nothing left to do but put the
// accumulator's starting value on the stack, at the bottom, where no step
// reads it: run starts past it, with the stack one level up, as that Push
// would have left it.
void Program::enter(const steps::Build& build)
{
    if (steps.size() == 2 && steps[0].op == Op::Push && steps[1].op == Op::End) {
        runner = steps::pushedValue;
        entry = steps.data();
        entryStack = stack.data();
        return;
    }
    const std::size_t passed = steps[0].op == Op::Push && steps[0].cell == 0 ? 1 : 0;
    runner = build.run;
    entry = steps.data() + passed;
    entryStack = stack.data() + passed;
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
    steps.emplace_back(Op::Push, cell);
    ++depth;
}

void Program::compileOperator(Op op, Op withCell)
{
    if (depth < 2) {
        // The divisor is popped, and tested, before the missing dividend.
        if (op == Op::Divide && depth == 1)
            steps.emplace_back(Op::TestDivisor);
        fail(std::make_exception_ptr(ExceptionError("Stack is Empty")));
        return;
    }
    --depth;
    if (steps.back().op != Op::Push) {
        steps.emplace_back(op);
        return;
    }
    steps.back().op = withCell; // the value just pushed is the right operand
    if (steps.back().cell >= kFirstConstant)
        foldLastTwo(); // a constant: with a constant before it, the two make one
    fuseLastTwo();
}

void Program::compileFunction(Op op)
{
    if (depth < 1) {
        fail(std::make_exception_ptr(ExceptionError("Stack is Empty")));
        return;
    }
    steps.emplace_back(op);
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
// steps stay, to give the error value when a run reaches them; the error
// value is the one result that changes with the error cell, so the two steps
// are run with two.
void Program::foldLastTwo()
{
    const std::size_t n = steps.size();
    if (n < 2 || steps[n - 2].op != Op::Push || steps[n - 2].cell < kFirstConstant)
        return;
    Step tail[] = {steps[n - 2], steps[n - 1], Step(Op::End)};
    const steps::Build& build = steps::chosenBuild();
    steps::link(tail, build);
    const auto withError = [&](double error) {
        cells[steps::kErrorCell] = error;
        const double value = build.run(tail, cells.data(), stack.data());
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    };
    const std::uint64_t bits = withError(0);
    if (withError(1) != bits)
        return;
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    steps.pop_back();
    steps.back().cell = constant(value);
}

// The last two steps as one where one step does as well: a whole power of a
// constant exponent, and the shapes most texts have (x^2 pushed, 1/x, 2*x+1).
// PushQuotient and MultiplyAdd keep the second step as their second slot.
void Program::fuseLastTwo()
{
    Step& last = steps.back();
    if (last.op == Op::PowerCell && last.cell >= kFirstConstant) {
        const double exponent = cells[last.cell];
        if (exponent >= 2 && exponent <= 16 && exponent == std::floor(exponent)) {
            last.op = Op::WholePower;
            last.exponent = static_cast<std::uint8_t>(exponent);
        }
    }
    if (steps.size() < 2)
        return;
    Step& before = steps[steps.size() - 2];
    if (before.op == Op::Push && last.op == Op::WholePower) {
        before = Step(Op::PushWholePower, before.cell, last.exponent);
        steps.pop_back();
    } else if (before.op == Op::Push && last.op == Op::DivideCell) {
        before.op = Op::PushQuotient;
    } else if (before.op == Op::MultiplyCell && last.op == Op::AddCell) {
        before.op = Op::MultiplyAdd;
    }
}

void Program::fail(std::exception_ptr met)
{
    failure = std::move(met);
    steps.emplace_back(Op::Fail);
    steps.emplace_back().failure = &failure;
}
