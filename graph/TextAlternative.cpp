// The plot in words, for those who cannot see it: the function and the view,
// set by every redraw. What the curve does in the view is added when a screen
// reader asks (plotDescription, Keys.cpp), so that a redraw costs no more.

#include <algorithm>

#include "calculator/untCalc.h"
#include "graph/Graf.h"

void TForm2::describePlot()
{
    // As typed: the checked text has a space around every word.
    std::string function = Form1->graphExpression.getText();
    function.erase(std::remove(function.begin(), function.end(), ' '), function.end());
    const QString view =
        Reading::Words::view(worldX(0), worldX(pictureWidth()), worldY(pictureHeight()), worldY(0));
    Image1->setAccessibleDescription(
        Reading::Words::graphOf(QString::fromStdString(function), view));
}
