// Syntax check: bracket balance over the raw text, then word rules over the
// normalised text, looking at each word together with the one after it.

#include "engine/Expression.h"
#include "engine/IteratorString.h"

bool Expression::bracketsBalanced()
{
    Stack<char> open(10);
    for (const char c : text.get()) {
        if (c == '(' || c == '[' || c == '{') {
            open.push(c);
        } else if (c == ')' || c == ']' || c == '}') {
            if (open.isEmpty() || !isMatchingPair(open.pop(), c))
                return false;
        }
    }
    return open.isEmpty();
}

bool Expression::validate()
{
    if (!bracketsBalanced())
        return false;
    text.set(normalize());
    IteratorString words(text.get());
    if (!words.hasMore())
        return false;
    const std::string first = words.current();
    if (!first.empty() && isOperator(first[0]))
        return false; // negative numbers are written _5, never -5

    // Set while the last non-empty word was an operand (number, named value or ")"):
    // another operand, "(" or a function may not follow it without an operator.
    // The empty word of ")  * (" is skipped over.
    bool afterOperand = false;
    while (words.hasMore()) {
        const std::string word = words.current();
        const bool isOp = !word.empty() && isOperator(word[0]);
        const bool opens = !word.empty() && word[0] == '(';
        words.next();
        const std::string following = words.current();
        const char next = following.empty() ? '\0' : following[0];
        const bool nextIsOp = next != '\0' && isOperator(next);

        if (isOp && !words.hasMore())
            return false;
        if (opens && nextIsOp)
            return false;
        if (isOp && (nextIsOp || next == ')'))
            return false;
        if (opens && next == ')')
            return false;

        if (word.empty())
            continue; // a number word by the rules below, and invisible to the operand rule
        const bool named = isNamedValue(word);
        const bool function = !named && isFunction(word);
        bool operand = named || word == ")";
        if (word.size() == 1 && (isOp || opens || word[0] == ')')) {
            // a single operator or parenthesis
        } else if (function) {
            if (next != '(')
                return false;
        } else if (!named) {
            if (!isNumber(word))
                return false;
            operand = true;
        }
        if (afterOperand && (named || function || opens || (operand && word != ")")))
            return false;
        afterOperand = operand;
    }
    return true;
}
