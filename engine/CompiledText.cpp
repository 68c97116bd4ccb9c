#include "engine/CompiledText.h"

#include "engine/Expression.h"

void CompiledText::set(std::string newText)
{
    text = std::move(newText);
    fits = made && leftAsIs && text == from;
}

void CompiledText::convert(Expression& rules)
{
    if (made && text == from) {
        set(left); // what converting again would leave
        return;
    }
    made = false; // until the program is whole
    std::string converted = text;
    program.compile(rules, rules.toPostfix()); // toPostfix writes the text through set
    from = std::move(converted);
    left = text;
    leftAsIs = from == left;
    made = true;
    fits = leftAsIs; // the text is left now
}

double CompiledText::convertAndEvaluate(Expression& rules, double x, double y, double z, double ans,
                                        const std::int32_t& error)
{
    convert(rules);
    return program.run(x, y, z, ans, static_cast<double>(error));
}
