// The picture's mouse: coordinates under the pointer, the trace square on the
// curve, and the zoom box.

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "calculator/untCalc.h"
#include "graph/Curve.h"
#include "graph/Graf.h"
#include "platform/Canvas.h"

namespace {

const QColor kMarker(0, 128, 0);
constexpr double kHalfSquare = 4;
constexpr int kBandWidth = 2;

// Truncation toward zero into a pixel member, saturating instead of
// overflowing; a value without a number gives 0.
std::int32_t truncated(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::trunc(std::fmax(lowest, std::fmin(highest, value))));
}

std::string pixels(double distance)
{
    return FloatToStr(std::fabs(std::trunc(distance)));
}

} // namespace

std::string TForm2::readout(double x, double y) const
{
    return "X: " + FloatToStr(x) + "     Y: " + FloatToStr(y);
}

// Until a redraw of this run has finished there is nothing to draw over.
bool TForm2::restorePicture()
{
    if (plotted.isNull())
        return false;
    Image1->picture() = plotted;
    Image1->update();
    return true;
}

void TForm2::Image1MouseDown(Qt::MouseButton button, int x, int y)
{
    PointX = x;
    PointY = y;
    if (button == Qt::LeftButton)
        bandDrawn = false;
}

void TForm2::Image1MouseMove(Qt::MouseButtons buttons, int x, int y)
{
    if (!(buttons & Qt::LeftButton)) {
        StatusBar1->showMessage(QString::fromStdString(readout(worldX(x), worldY(y))));
        return;
    }
    if (Trace->isChecked()) {
        PointX = worldX(x);
        PointY = Curve(SampleCount)(PointX);
        const double px = pixelX(PointX);
        const double py = pixelY(PointY);
        if (restorePicture()) {
            Canvas canvas(Image1->picture());
            canvas.setPen(kMarker, TrackBar1->value() + 1, true);
            canvas.setBrushSolid(true);
            canvas.rectangle(px - kHalfSquare, py - kHalfSquare, px + kHalfSquare,
                             py + kHalfSquare);
        }
        const bool valued =
            !std::isnan(PointY) && PointY != static_cast<double>(Form1->graphExpression.errorValue);
        const std::string text =
            valued ? readout(PointX, PointY) : "X: " + FloatToStr(PointX) + "     Y: ";
        StatusBar1->showMessage(QString::fromStdString(text));
        return;
    }
    if (restorePicture()) {
        Canvas canvas(Image1->picture());
        canvas.setBrushSolid(false);
        canvas.setPen(kMarker, kBandWidth);
        canvas.rectangle(std::trunc(PointX), std::trunc(PointY), x, y);
    }
    StatusBar1->showMessage(
        QString::fromStdString("X: " + pixels(PointX - x) + "     Y: " + pixels(PointY - y)));
    DragX = x;
    DragY = y;
    bandDrawn = true;
}

void TForm2::Image1MouseUp(Qt::MouseButton button, int, int)
{
    // Only the release of a left-button drag zooms: a click, or another
    // button, would zoom to a corner left over from an earlier box.
    if (button != Qt::LeftButton)
        return;
    const bool dragged = std::exchange(bandDrawn, false);
    if (Trace->isChecked() || !dragged)
        return;
    // Make (PointX, PointY) the top-left corner and (DragX, DragY) the bottom-right.
    if (DragX < PointX) {
        const double far = DragX;
        DragX = truncated(PointX);
        PointX = far;
    }
    if (DragY < PointY) {
        const double far = DragY;
        DragY = truncated(PointY);
        PointY = far;
    }
    const double oldX = TamMaxX;
    const double oldY = TamMaxY;
    TamMaxX = std::fabs(std::trunc(PointX - DragX)) * TamMaxX / pictureWidth();
    TamMaxY = std::fabs(std::trunc(PointY - DragY)) * TamMaxY / pictureHeight();
    if (TamMaxX == 0)
        TamMaxX = kSmallestRange;
    if (TamMaxY == 0)
        TamMaxY = kSmallestRange;
    OriginX = oldX / TamMaxX * (OriginX - PointX);
    OriginY = oldY / TamMaxY * (OriginY - PointY);
    FormShow();
}
