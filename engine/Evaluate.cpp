// Evaluation. Converting the text to postfix and reading its number words
// costs far more than working the words out, and the graph window evaluates
// the same text for every sample, so the conversion, compiled into a Program,
// is kept while the text is the one it was made from: converting anew would
// give the same words and leave the text as this one left it.

#include <utility>

#include "engine/Expression.h"

void Expression::changeText(std::string newText)
{
    text = std::move(newText);
    keptFits = kept.made && kept.leftAsIs && text == kept.from;
}

double Expression::evaluate(double x, double y, double z, double ans)
{
    if (!keptFits)
        convertForEvaluation();
    return kept.program.run(x, y, z, ans, static_cast<double>(errorValue));
}

std::size_t Expression::evaluateEach(const double* xs, double* values, std::size_t n, double y,
                                     double z, double ans)
{
    if (!keptFits)
        return 0;
    return kept.program.runEach(xs, values, n, y, z, ans, static_cast<double>(errorValue));
}

void Expression::convertForEvaluation()
{
    if (kept.made && text == kept.from) {
        changeText(kept.left); // what converting again would leave
        return;
    }
    kept.made = false; // until the program is whole
    std::string from = text;
    kept.program.compile(*this, toPostfix());
    kept.from = std::move(from);
    kept.left = text;
    kept.leftAsIs = kept.from == kept.left;
    kept.made = true;
    keptFits = kept.leftAsIs; // the text is kept.left now
}
