#pragma once

#include <cstddef>
#include <string_view>

// Characters from..to (to not included) of a text.
struct TextSpan {
    std::size_t from = 0;
    std::size_t to = 0;
};

// The whole number at a place in a text, as a double click should select it:
// a sign ("_", or "-" where no operand ends just before it, so that the "-"
// of "2-3" stays subtraction), digits and decimal commas, and an exponent
// "E" with its own sign ("-1,5E-7"); or "INF" and "NAN" with their sign. The
// character after the place counts first, then the one before it, so a place
// at either end of a number finds it. An empty span where there is none.
TextSpan NumberAt(std::string_view text, std::size_t place);
