// The picture's mouse: coordinates under the pointer, the trace square on the
// curve, and the zoom box.

#include <QGuiApplication>
#include <QStyleHints>
#include <cmath>
#include <utility>

#include "calculator/untCalc.h"
#include "graph/Curve.h"
#include "graph/Graf.h"
#include "platform/Canvas.h"

namespace {

const QColor kMarker(0, 128, 0);
constexpr double kHalfSquare = 4;
constexpr int kBandWidth = 2;

// The distance between two pixel positions, as the status bar shows it.
std::string pixels(int from, int to)
{
    return FloatToStr(std::fabs(static_cast<double>(from) - to));
}

} // namespace

std::string TForm2::readout(double x, double y) const
{
    return "X: " + FloatToStr(x) + "     Y: " + FloatToStr(y);
}

// Until a redraw of this run has finished there is nothing to draw over.
bool TForm2::restorePicture()
{
    if (plotted.picture.isNull())
        return false;
    Image1->setPictures(plotted);
    return true;
}

bool TForm2::movedFarFromCorner(int x, int y) const
{
    const int distance = (QPoint(x, y) - QPoint(CornerX, CornerY)).manhattanLength();
    return distance >= QGuiApplication::styleHints()->startDragDistance();
}

void TForm2::Image1MouseDown(Qt::MouseButton button, int x, int y)
{
    if (button != Qt::LeftButton)
        return;
    CornerX = x;
    CornerY = y;
    leftPress = LeftPress::Click;
}

void TForm2::Image1MouseMove(Qt::MouseButtons buttons, int x, int y)
{
    const bool left = buttons & Qt::LeftButton;
    if (left && Trace->isChecked()) {
        trace(x);
        return;
    }
    if (left && leftPress == LeftPress::Click && movedFarFromCorner(x, y))
        leftPress = LeftPress::Drag;
    if (left && leftPress == LeftPress::Drag) {
        dragBox(x, y);
        return;
    }
    StatusBar1->showMessage(QString::fromStdString(readout(worldX(x), worldY(y))));
}

void TForm2::trace(int x)
{
    tracedColumn = x;
    PointX = worldX(x);
    PointY = Curve(SampleCount)(PointX);
    const double px = pixelX(PointX);
    const double py = pixelY(PointY);
    if (restorePicture()) {
        Canvas canvas(*Image1);
        canvas.setPen(kMarker, TrackBar1->value() + 1, true);
        canvas.setBrushSolid(true);
        canvas.rectangle(px - kHalfSquare, py - kHalfSquare, px + kHalfSquare, py + kHalfSquare);
    }
    const bool valued =
        !std::isnan(PointY) && PointY != static_cast<double>(Form1->graphExpression.errorValue);
    const std::string text =
        valued ? readout(PointX, PointY) : "X: " + FloatToStr(PointX) + "     Y: ";
    StatusBar1->showMessage(QString::fromStdString(text));
}

void TForm2::dragBox(int x, int y)
{
    if (restorePicture()) {
        Canvas canvas(*Image1);
        canvas.setBrushSolid(false);
        canvas.setPen(kMarker, kBandWidth);
        canvas.rectangle(CornerX, CornerY, x, y);
    }
    StatusBar1->showMessage(
        QString::fromStdString("X: " + pixels(CornerX, x) + "     Y: " + pixels(CornerY, y)));
    DragX = x;
    DragY = y;
}

void TForm2::Image1MouseUp(Qt::MouseButton button, int, int)
{
    if (button != Qt::LeftButton)
        return;
    const bool dragged = std::exchange(leftPress, LeftPress::None) == LeftPress::Drag;
    if (dragged && !Trace->isChecked())
        zoomToBox();
}

void TForm2::zoomToBox()
{
    // Make the corner the box's top-left and (DragX, DragY) its bottom-right.
    if (DragX < CornerX)
        std::swap(DragX, CornerX);
    if (DragY < CornerY)
        std::swap(DragY, CornerY);
    const double oldX = TamMaxX;
    const double oldY = TamMaxY;
    TamMaxX = (static_cast<double>(DragX) - CornerX) * TamMaxX / pictureWidth();
    TamMaxY = (static_cast<double>(DragY) - CornerY) * TamMaxY / pictureHeight();
    if (TamMaxX == 0)
        TamMaxX = kSmallestRange;
    if (TamMaxY == 0)
        TamMaxY = kSmallestRange;
    OriginX = oldX / TamMaxX * (OriginX - CornerX);
    OriginY = oldY / TamMaxY * (OriginY - CornerY);
    FormShow();
    tellView();
}
