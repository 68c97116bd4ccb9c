#include "fuzz/Properties.h"

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "engine/Conversions.h"
#include "engine/Expression.h"
#include "engine/IteratorString.h"

namespace {

// A broken property, carried out of the checks below.
struct Fault {
    const char* what;
};

bool validates(Expression& e)
{
    try {
        return e.validate();
    } catch (...) {
        throw Fault{"validate threw"};
    }
}

void checkPostfix(const std::string& postfix)
{
    if (postfix.find_first_of("()") != std::string::npos)
        throw Fault{"postfix text holds a parenthesis"};
    if (!postfix.empty() && postfix.back() == ' ')
        throw Fault{"postfix text ends with a space"};
    for (IteratorString words(postfix); words.hasMore(); words.next())
        if (words.current().empty())
            throw Fault{"postfix text holds an empty word"};
}

void checkEvaluation(Expression& e)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double arguments[][4] = {{1.5, -2, 0, 3}, {inf, -inf, nan, 0}};
    for (const auto& a : arguments) {
        try {
            e.evaluate(a[0], a[1], a[2], a[3]);
        } catch (const EConvertError&) {
            // a number word that is no number
        } catch (...) {
            throw Fault{"evaluate of an accepted text threw something else than EConvertError"};
        }
    }
}

void checkExpression(const std::string& input)
{
    Expression e;
    e.setText(input);
    const bool verdict = validates(e);

    // The first validation may leave the text normalised; validating that
    // text again must agree. Normalising a normalised text collapses the
    // double space of ")  * (" once, so the texts are compared from the
    // second validation on.
    if (validates(e) != verdict)
        throw Fault{"second validation disagrees"};
    const std::string second = e.getText();
    if (validates(e) != verdict)
        throw Fault{"third validation disagrees"};
    if (e.getText() != second)
        throw Fault{"third validation changed the text"};
    if (!verdict)
        return;

    std::string postfix;
    try {
        postfix = e.toPostfix();
    } catch (...) {
        throw Fault{"toPostfix of an accepted text threw"};
    }
    checkPostfix(postfix);
    checkEvaluation(e);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// digits [, digits] [E|e [+|-] digits], at least one mantissa digit: the
// form strtod reads the same way once "," becomes ".". Signs, blanks, INF
// and NAN are left to the unit tests.
bool isPlain(const std::string& text)
{
    std::size_t i = 0;
    std::size_t mantissa = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        ++mantissa;
    if (i < text.size() && text[i] == ',')
        for (++i; i < text.size() && isDigit(text[i]); ++i)
            ++mantissa;
    if (mantissa == 0)
        return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == start)
            return false;
    }
    return i == text.size();
}

void compareWithTheCLibrary(const std::string& text, double value)
{
    std::string dotted = text;
    const std::size_t comma = dotted.find(',');
    if (comma != std::string::npos)
        dotted[comma] = '.';
    errno = 0;
    const double expected = std::strtod(dotted.c_str(), nullptr);
    if (errno == ERANGE)
        return; // out of range: refusing or giving zero are both this program's choices
    if (value != expected)
        throw Fault{"StrToFloat differs from strtod"};
}

void checkRoundTrip(double v)
{
    const std::string text = FloatToStr(v);
    std::string again;
    try {
        again = FloatToStr(StrToFloat(text));
    } catch (...) {
        throw Fault{"StrToFloat refused what FloatToStr wrote"};
    }
    if (again != text)
        throw Fault{"FloatToStr(StrToFloat(FloatToStr(v))) != FloatToStr(v)"};
}

void checkNumber(const std::string& input)
{
    try {
        const double value = StrToFloat(input);
        if (isPlain(input))
            compareWithTheCLibrary(input, value);
        checkRoundTrip(value);
    } catch (const EConvertError&) {
        // not a number
    } catch (const Fault&) {
        throw;
    } catch (...) {
        throw Fault{"StrToFloat threw something else than EConvertError"};
    }
    if (input.size() >= sizeof(double)) {
        double v;
        std::memcpy(&v, input.data(), sizeof v);
        checkRoundTrip(v);
    }
}

template <typename Check> std::string faultOf(Check check, const std::string& input)
{
    try {
        check(input);
    } catch (const Fault& fault) {
        return fault.what;
    }
    return {};
}

} // namespace

std::string expressionFault(const std::string& input)
{
    return faultOf(checkExpression, input);
}

std::string numberFault(const std::string& input)
{
    return faultOf(checkNumber, input);
}
