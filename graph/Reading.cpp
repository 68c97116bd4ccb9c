#include "graph/Reading.h"

#include <QStringList>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/Conversions.h"

namespace Reading {

namespace {

using Values = std::vector<double>;

bool valued(const Values& v, std::ptrdiff_t c)
{
    return c >= 0 && c < static_cast<std::ptrdiff_t>(v.size()) && !std::isnan(v[c]);
}

// From one strict sign to the other between columns c - 1 and c.
bool signChanges(const Values& v, std::ptrdiff_t c)
{
    return valued(v, c - 1) && valued(v, c) &&
           ((v[c - 1] < 0 && v[c] > 0) || (v[c - 1] > 0 && v[c] < 0));
}

bool poleBetween(const Values& v, std::ptrdiff_t c)
{
    return signChanges(v, c) && valued(v, c - 2) && valued(v, c + 1) &&
           std::fabs(v[c - 1]) > std::fabs(v[c - 2]) && std::fabs(v[c]) > std::fabs(v[c + 1]);
}

QString text(const std::string& number)
{
    return QString::fromStdString(number);
}

QString number(double value)
{
    return text(spoken(value));
}

} // namespace

std::vector<Kind> pointsOfInterest(const Values& v)
{
    const auto n = static_cast<std::ptrdiff_t>(v.size());
    std::vector<Kind> kinds(v.size(), Kind::Plain);
    for (std::ptrdiff_t c = 0; c < n; ++c) {
        if (valued(v, c) && c + 1 < n && !valued(v, c + 1))
            kinds[c] = Kind::BeforeGap;
        if (valued(v, c) && c > 0 && !valued(v, c - 1))
            kinds[c] = Kind::AfterGap;
    }
    // Stretches of one value (a single column is one) with a value on both
    // sides: an extremum where both sides lie lower or both higher, a
    // crossing where a stretch of zeros lies between the two signs.
    for (std::ptrdiff_t a = 0, b = 0; a < n; a = b + 1) {
        b = a;
        if (!valued(v, a))
            continue;
        while (b + 1 < n && v[b + 1] == v[a])
            ++b;
        if (!valued(v, a - 1) || !valued(v, b + 1) || poleBetween(v, a) || poleBetween(v, b + 1))
            continue;
        const double before = v[a - 1];
        const double after = v[b + 1];
        const std::ptrdiff_t middle = a + (b - a) / 2;
        if (before < v[a] && after < v[a])
            kinds[middle] = Kind::Maximum;
        else if (before > v[a] && after > v[a])
            kinds[middle] = Kind::Minimum;
        else if (v[a] == 0 && ((before < 0 && after > 0) || (before > 0 && after < 0)))
            kinds[middle] = Kind::CrossesZero;
    }
    for (std::ptrdiff_t c = 1; c < n; ++c)
        if (signChanges(v, c) && !poleBetween(v, c))
            kinds[std::fabs(v[c - 1]) <= std::fabs(v[c]) ? c - 1 : c] = Kind::CrossesZero;
    return kinds;
}

int nextPoint(const std::vector<Kind>& kinds, int from, bool forwards)
{
    const int n = static_cast<int>(kinds.size());
    for (int c = forwards ? from + 1 : from - 1; c >= 0 && c < n; c += forwards ? 1 : -1)
        if (kinds[static_cast<std::size_t>(c)] != Kind::Plain)
            return c;
    return -1;
}

std::string spoken(double value)
{
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.4g", value);
    return FloatToStr(std::strtod(digits, nullptr) + 0.0); // + 0.0: no "-0"
}

QString Words::point(double x, double y, bool valued, Place place, Kind kind)
{
    if (!valued)
        return tr("x %1, no value").arg(number(x));
    QStringList parts{tr("x %1, y %2").arg(number(x), number(y))};
    if (place == Place::Above)
        parts << tr("above the view");
    else if (place == Place::Below)
        parts << tr("below the view");
    static const char* const kKinds[] = {"",
                                         QT_TR_NOOP("crosses zero"),
                                         QT_TR_NOOP("maximum"),
                                         QT_TR_NOOP("minimum"),
                                         QT_TR_NOOP("before a gap"),
                                         QT_TR_NOOP("after a gap")};
    if (kind != Kind::Plain)
        parts << tr(kKinds[static_cast<int>(kind)]);
    return parts.join(QStringLiteral(", "));
}

QString Words::noneFurther(bool forwards)
{
    return forwards ? tr("no more points to the right") : tr("no more points to the left");
}

QString Words::view(double left, double right, double bottom, double top)
{
    return tr("x from %1 to %2, y from %3 to %4")
        .arg(number(left), number(right), number(bottom), number(top));
}

QString Words::graphOf(const QString& function, const QString& view)
{
    return tr("Graph of %1, %2").arg(function, view);
}

QString Words::plotTip()
{
    return tr("Dragging traces the curve or draws a zoom box, as Trace or ZoomBox says.\n"
              "Keys: Left and Right walk the curve (with Shift, 10 columns), Home and End go to "
              "its ends, Ctrl+Left and Ctrl+Right (or Page Up and Page Down) jump to its zeros, "
              "peaks and gaps, and S plays it as sound.");
}

QString Words::step(double step)
{
    return tr("step %1").arg(number(step));
}

QString Words::summary(const Values& values, const std::vector<Kind>& kinds, const Values& xs,
                       double bottom, double top)
{
    const double low = std::fmin(bottom, top);
    const double high = std::fmax(bottom, top);
    std::ptrdiff_t highest = -1;
    std::ptrdiff_t lowest = -1;
    bool anyValue = false;
    bool anyAbove = false;
    bool anyBelow = false;
    int crossings = 0;
    int gaps = 0;
    for (std::ptrdiff_t c = 0; c < static_cast<std::ptrdiff_t>(values.size()); ++c) {
        crossings += kinds[c] == Kind::CrossesZero ? 1 : 0;
        if (!valued(values, c)) {
            gaps += valued(values, c - 1) || c == 0 ? 1 : 0;
            continue;
        }
        anyValue = true;
        anyAbove = anyAbove || values[c] > high;
        anyBelow = anyBelow || values[c] < low;
        if (values[c] < low || values[c] > high)
            continue;
        if (highest < 0 || values[c] > values[highest])
            highest = c;
        if (lowest < 0 || values[c] < values[lowest])
            lowest = c;
    }
    if (!anyValue)
        return tr("no value in view");
    QStringList parts;
    if (crossings == 0)
        parts << tr("does not cross zero");
    else if (crossings == 1)
        parts << tr("crosses zero once");
    else
        parts << tr("crosses zero %1 times").arg(crossings);
    if (highest < 0 && anyAbove && anyBelow)
        parts << tr("above and below the view");
    else if (highest < 0)
        parts << (anyAbove ? tr("above the view") : tr("below the view"));
    else if (values[highest] == values[lowest])
        parts << tr("y %1 throughout").arg(number(values[highest]));
    else
        parts << tr("highest %1 at x %2").arg(number(values[highest]), number(xs[highest]))
              << tr("lowest %1 at x %2").arg(number(values[lowest]), number(xs[lowest]));
    if (highest >= 0 && anyAbove)
        parts << tr("goes above the view");
    if (highest >= 0 && anyBelow)
        parts << tr("goes below the view");
    if (gaps == 1)
        parts << tr("one gap");
    else if (gaps > 1)
        parts << tr("%1 gaps").arg(gaps);
    return parts.join(QStringLiteral("; "));
}

} // namespace Reading
