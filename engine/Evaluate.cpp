// Evaluation. Converting the text to postfix and reading its number words
// costs far more than working the words out, and the graph window evaluates
// the same text for every sample, so the conversion, compiled into a Program,
// is kept while the text is the one it was made from: converting anew would
// give the same words and leave the text as this one left it.

#include <utility>

#include "engine/Expression.h"

double Expression::evaluate(double x, double y, double z, double ans)
{
    if (compiled && text == compiledFrom) {
        if (!convertedAsIs)
            text = convertedText; // what toPostfix would have left
    } else {
        compiled = false;
        std::string from = text;
        program.compile(*this, toPostfix());
        compiledFrom = std::move(from);
        convertedText = text;
        convertedAsIs = compiledFrom == convertedText;
        compiled = true;
    }
    return program.run(x, y, z, ans, static_cast<double>(errorValue));
}
