#pragma once

#include <string>
#include <string_view>

// A number as the program shows it ("-1,5E-7", "-6", "2,5E20": an optional
// "-", digits with an optional "," and more digits, an optional "E" with an
// optional "-" and up to three digits) written as an expression of the same
// value: "_" for its sign, and where its exponent is negative, the number in
// full ("_0,00000015"). Both texts are the one decimal value, rounded once to
// a double, so the expression reads back the same double bit for bit, which
// a quotient such as "1,5/1E7" would not always do. Any other text comes back
// as it is.
std::string ExpressionNumber(std::string_view text);
