#pragma once

#include <exception>
#include <string>

// The number texts of the program. The decimal mark is always ",", whatever
// the user's regional settings or the C locale say.

// Base of the failures whose text is shown to the user as it stands.
class Exception : public std::exception {
public:
    explicit Exception(std::string text) : text_(std::move(text)) {}
    const char* what() const noexcept override { return text_.c_str(); }
    const std::string& message() const noexcept { return text_; }

private:
    std::string text_;
};

// A text that is not a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside what it indexes (an empty word read by the evaluation).
class ERangeError : public Exception {
public:
    using Exception::Exception;
};

// Reads a number: optional blanks around, optional sign, digits with at most
// one "," (at least one digit), optional exponent "E"/"e" with optional sign;
// or "INF", "-INF", "NAN" in any case. Throws EConvertError otherwise.
double StrToFloat(const std::string& text);

// As StrToFloat, but reports a text that is no number by returning false.
bool TryStrToFloat(const std::string& text, double& value);

// Writes a number in general format with at most 15 significant digits.
std::string FloatToStr(double value);
