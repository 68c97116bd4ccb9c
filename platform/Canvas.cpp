#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

// Far enough outside any picture that clipping there changes no visible pixel,
// near enough that every coordinate fits the rasteriser's integers.
constexpr double kReach = 65536.0;

struct Box {
    double left, top, right, bottom;
};

Box reachOf(const QImage& picture)
{
    return {-kReach, -kReach, picture.width() + kReach, picture.height() + kReach};
}

// False for NaN too.
bool inside(double x, double y, const Box& box)
{
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

// Liang-Barsky: shortens the segment to the part inside the box; false if none.
bool clip(double& x1, double& y1, double& x2, double& y2, const Box& box)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double enter = 0.0;
    double leave = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - box.left, box.right - x1, y1 - box.top, box.bottom - y1};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        if (enter > leave)
            return false;
    }
    if (leave < 1.0) {
        x2 = x1 + leave * dx;
        y2 = y1 + leave * dy;
    }
    if (enter > 0.0) {
        x1 += enter * dx;
        y1 += enter * dy;
    }
    return true;
}

int pixel(double coordinate) // only for values already inside the reach
{
    return static_cast<int>(std::lround(coordinate));
}

} // namespace

Canvas::Canvas(QImage& target) : picture(target), painter(&target)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    pen = QPen(Qt::black, 1);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    setBrushSolid(true);
}

void Canvas::setPen(QColor color, int width, bool roundEnds)
{
    pen.setColor(color);
    rounded = roundEnds;
    setPenWidth(width);
}

void Canvas::setPenWidth(int width)
{
    forgetLastLine();
    const bool wide = rounded && width > 1;
    pen.setCapStyle(wide ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(wide ? Qt::RoundJoin : Qt::BevelJoin);
    pen.setWidth(width);
    painter.setPen(pen);
}

void Canvas::setBrushSolid(bool solid)
{
    forgetLastLine();
    painter.setBrush(solid ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
}

void Canvas::fillWhite()
{
    forgetLastLine();
    painter.fillRect(picture.rect(), Qt::white);
}

void Canvas::line(double x1, double y1, double x2, double y2)
{
    x1 = std::trunc(x1);
    y1 = std::trunc(y1);
    x2 = std::trunc(x2);
    y2 = std::trunc(y2);
    const Box box = reachOf(picture);
    if (inside(x1, y1, box) && inside(x2, y2, box)) {
        // The usual case, a segment of a curve: clipping would change nothing,
        // and each coordinate is already a whole number that an int holds.
        const QLine segment(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2),
                            static_cast<int>(y2));
        if (lastLineRepeatable && segment == lastLine)
            return;
        painter.drawLine(segment);
        lastLine = segment;
        lastLineRepeatable = pen.color().alpha() == 255;
        return;
    }
    forgetLastLine();
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    if (!clip(x1, y1, x2, y2, box))
        return;
    painter.drawLine(pixel(x1), pixel(y1), pixel(x2), pixel(y2));
}

void Canvas::rectangle(double x1, double y1, double x2, double y2)
{
    forgetLastLine();
    const Box box = reachOf(picture);
    double corner[4] = {x1, y1, x2, y2};
    for (int k = 0; k < 4; ++k) {
        if (!std::isfinite(corner[k]))
            return;
        // Moving a far edge farther in stays invisible and exactly so.
        const bool horizontal = k % 2 == 0;
        corner[k] = std::clamp(std::trunc(corner[k]), horizontal ? box.left : box.top,
                               horizontal ? box.right : box.bottom);
    }
    const int left = pixel(std::min(corner[0], corner[2]));
    const int right = pixel(std::max(corner[0], corner[2]));
    const int top = pixel(std::min(corner[1], corner[3]));
    const int bottom = pixel(std::max(corner[1], corner[3]));
    if (right - left < 1 || bottom - top < 1)
        return;
    // The outline covers columns left to right - 1 and rows top to bottom - 1.
    painter.drawRect(left, top, right - left - 1, bottom - top - 1);
}
