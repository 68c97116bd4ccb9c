#pragma once

// b^a exactly as std::pow gives it, with a shortcut for a = 2. The product
// p = b*b is b² correctly rounded, and r = fma(b, b, -p) is exactly b² - p.
// The libm's pow (glibc 2.28 and later) is within 0.54 ULP of b² in
// round-to-nearest, so when |r| <= 3/8 of an ULP of p, every other double is
// more than 5/8 of an ULP from b² and pow must return p. The shortcut is only
// taken where that reasoning holds without a special case: p normal and far
// from underflow and overflow (so that r and the ULP are exact), and p no power
// of two (below one, the next double down lies only half an ULP away).
// Everything else, zeros, infinities and NaNs included, calls pow.
double power(double b, double a);
