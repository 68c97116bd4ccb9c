#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>
#include <vector>

// The curve in words, for those who cannot see it: the points of it a person
// looks at first and what is said of a point, of the view and of the whole
// curve. It works on the curve's values at the picture's columns, NaN where
// the expression has none, and needs no window.
namespace Reading {

// What a column is besides its value. A crossing of y = 0 goes to the column
// nearer the zero; an extremum to the middle of a level stretch; an edge of a
// gap to the last column with a value before it and the first after it.
enum class Kind { Plain, CrossesZero, Maximum, Minimum, BeforeGap, AfterGap };

// Where a value lies against the view.
enum class Place { InView, Above, Below };

// The kind of every column. A jump from one sign to the other that grows on
// both sides towards it is a pole, as in tan(x) and 1/x: no crossing, and the
// columns beside it no extrema.
std::vector<Kind> pointsOfInterest(const std::vector<double>& values);

// The first column after `from` (before it, going back) of a kind other than
// plain, or -1.
int nextPoint(const std::vector<Kind>& kinds, int from, bool forwards);

// A number as a person would say it: four significant digits are enough to
// tell one point or view from the next, fifteen would take longer to hear
// than to see.
std::string spoken(double value);

class Words {
    Q_DECLARE_TR_FUNCTIONS(Reading)

public:
    // "x 2,36, y 0,875", then where the point lies and what it is: "x 3,14,
    // y 0, crosses zero", "x 0,04, y 25, above the view, before a gap"; a
    // column without a value: "x 3, no value".
    static QString point(double x, double y, bool valued, Place place, Kind kind);
    // There is no point of interest further that way.
    static QString noneFurther(bool forwards);
    // "x from -8,333 to 8,333, y from -10 to 10"
    static QString view(double left, double right, double bottom, double top);
    // "Graph of sin(x)*x, " and the view.
    static QString graphOf(const QString& function, const QString& view);
    // What the mouse and the keys do on the plot.
    static QString plotTip();
    static QString step(double step);
    // The crossings of y = 0, the highest and lowest values within the view
    // (y from bottom to top) and where, and the gaps: "crosses zero 6 times;
    // highest 7,916 at x 7,96; lowest -4,814 at x -4,92".
    static QString summary(const std::vector<double>& values, const std::vector<Kind>& kinds,
                           const std::vector<double>& xs, double bottom, double top);
};

} // namespace Reading
