// Infix to postfix with an operator stack: operands go straight to the output,
// operators and functions wait until something of equal or lower priority,
// a ")" or the end releases them.

#include "engine/Expression.h"
#include "engine/IteratorString.h"

namespace {

bool isOpening(const std::string& word)
{
    return word.size() == 1 && word[0] == '(';
}

void write(std::string& output, const std::string& word)
{
    if (!output.empty())
        output += ' ';
    output += word;
}

} // namespace

std::string Expression::toPostfix()
{
    text.set(normalize());
    // Words left behind by a conversion that failed must not reach this one.
    while (!operators.isEmpty())
        operators.pop();

    IteratorString words(text.get());
    std::string output;
    output.reserve(text.get().size());
    while (words.hasMore()) {
        std::string word = words.current();
        words.next();
        const char first = word.empty() ? '\0' : word[0];
        if ((first != '\0' && isOperator(first)) || isFunction(word)) {
            const int incoming = priority(word);
            while (!operators.isEmpty()) {
                const std::string& waiting = operators.peek();
                if (isOpening(waiting) || priority(waiting) < incoming)
                    break;
                write(output, operators.pop());
            }
            operators.push(word);
        } else if (first == '(') {
            operators.push(word);
        } else if (first == ')') {
            while (!isOpening(operators.peek()))
                write(output, operators.pop());
            operators.pop();
        } else {
            write(output, word);
        }
    }
    while (!operators.isEmpty())
        write(output, operators.pop());
    return output;
}
