// Evaluation, by the program the text keeps (engine/CompiledText.h).

#include "engine/Expression.h"

double Expression::evaluate(double x, double y, double z, double ans)
{
    return text.evaluate(*this, x, y, z, ans, errorValue);
}

std::size_t Expression::evaluateEach(const double* xs, double* values, std::size_t n, double y,
                                     double z, double ans)
{
    return text.evaluateEach(xs, values, n, y, z, ans, static_cast<double>(errorValue));
}
