#pragma once

// b^a exactly as std::pow gives it, with a shortcut for a = 2. The product
// p = b*b is b² correctly rounded, and r = fma(b, b, -p) is exactly b² - p.
// glibc's pow (2.28 and later) is within 0.54 ULP of the exact power in
// round-to-nearest: 0.511 ULP for its exp, plus its log's relative error of at
// most 1.5 * 2^-68 times |y log x|, under 1024 ln 2 * 1.5 * 2^-15 = 0.033 ULP.
// When |r| <= 7/16 of an ULP of p, every other double is at least 9/16 of an
// ULP from b², farther than pow may stray, so pow returns p. The shortcut is
// only taken where that reasoning holds without a special case: p normal and
// between 2^-600 and 2^601 (so that r and the ULP are exact and nothing comes
// near underflow or overflow), and p no power of two (just below one, the
// next double down lies only half an ULP away). Everything else, zeros,
// infinities and NaNs included, calls pow.
double power(double b, double a);
