// The plot in words, for those who cannot see it: the function and the view.

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "calculator/untCalc.h"
#include "graph/Graf.h"

namespace {

// A bound as a person would say it: four significant digits are enough to
// tell one view from the next, fifteen would take longer to hear than to see.
QString spoken(double value)
{
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.4g", value);
    return QString::fromStdString(FloatToStr(std::strtod(digits, nullptr) + 0.0)); // + 0.0: no "-0"
}

} // namespace

void TForm2::describePlot()
{
    // As typed: the checked text has a space around every word.
    std::string function = Form1->graphExpression.getText();
    function.erase(std::remove(function.begin(), function.end(), ' '), function.end());
    Image1->setAccessibleDescription(tr("Graph of %1, x from %2 to %3, y from %4 to %5")
                                         .arg(QString::fromStdString(function), spoken(worldX(0)),
                                              spoken(worldX(pictureWidth())),
                                              spoken(worldY(pictureHeight())), spoken(worldY(0))));
}
