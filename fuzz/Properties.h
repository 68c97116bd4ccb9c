#pragma once

#include <string>

// The properties the fuzzers check, one function a fuzzer. Each returns an
// empty string when the input keeps every property, otherwise what broke.
// The unit tests replay every input that ever broke one through the same
// functions (tests/engine/RegressionTest.cpp).

// Arbitrary bytes as an expression: validation never throws and is stable,
// every accepted text converts to a clean postfix text, and its evaluation
// ends in a value or in the conversion error of a number word such as ","
// (which validation lets through), never in anything else.
std::string expressionFault(const std::string& input);

// Arbitrary bytes as a number text: StrToFloat returns a value or throws
// EConvertError; texts in the plain form (digits, one ",", an exponent) give
// exactly what the C library reads from the same text with a "."; and the
// first eight bytes read as a double, like every value read, survive
// FloatToStr, StrToFloat, FloatToStr unchanged.
std::string numberFault(const std::string& input);
