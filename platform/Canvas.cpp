#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/Image.h"
#include "platform/VectorState.h"

using Box = Canvas::Box;

namespace {

// Far enough outside any picture that clipping there changes no visible pixel,
// near enough that every coordinate fits the rasteriser's integers.
constexpr double kReach = 65536.0;

Box reachOf(const QImage& picture)
{
    return {-kReach, -kReach, picture.width() + kReach, picture.height() + kReach};
}

// False for NaN too.
bool inside(double x, double y, const Box& box)
{
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

bool finite(double x1, double y1, double x2, double y2)
{
    return std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2);
}

// Liang-Barsky: shortens a segment of finite ends to the part inside the box;
// false if none. A clipped end is put exactly on the edge it crossed: computed
// as a fraction of a segment that spans far more than the box, it could land
// anywhere in it.
bool clip(double& x1, double& y1, double& x2, double& y2, const Box& box)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (!std::isfinite(dx) || !std::isfinite(dy)) {
        // A span beyond a double's range (from -1E308 to 1E308) is clipped at
        // half the size, where it fits, exactly, and the ends are doubled back.
        double half[4] = {x1 / 2, y1 / 2, x2 / 2, y2 / 2};
        const Box halfBox{box.left / 2, box.top / 2, box.right / 2, box.bottom / 2};
        if (!clip(half[0], half[1], half[2], half[3], halfBox))
            return false;
        x1 = half[0] * 2;
        y1 = half[1] * 2;
        x2 = half[2] * 2;
        y2 = half[3] * 2;
        return true;
    }
    double enter = 0.0;
    double leave = 1.0;
    int enterEdge = -1;
    int leaveEdge = -1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - box.left, box.right - x1, y1 - box.top, box.bottom - y1};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0 && t > enter) {
            enter = t;
            enterEdge = k;
        } else if (p[k] > 0.0 && t < leave) {
            leave = t;
            leaveEdge = k;
        }
        if (enter > leave)
            return false;
    }
    const double edge[4] = {box.left, box.right, box.top, box.bottom};
    const double startX = x1;
    const double startY = y1;
    // The other coordinate is kept within the box, where rounding may have
    // left it a little outside.
    const auto onEdge = [&](int k, double t, double& x, double& y) {
        x = k < 2 ? edge[k] : std::clamp(startX + t * dx, box.left, box.right);
        y = k < 2 ? std::clamp(startY + t * dy, box.top, box.bottom) : edge[k];
    };
    if (leaveEdge >= 0)
        onEdge(leaveEdge, leave, x2, y2);
    if (enterEdge >= 0)
        onEdge(enterEdge, enter, x1, y1);
    return true;
}

int pixel(double coordinate) // only for values already inside the reach
{
    return static_cast<int>(std::lround(coordinate));
}

// A width in picture pixels as whole device pixels, never none.
int devicePixels(double width, double scale)
{
    return std::max(1, pixel(width * scale));
}

} // namespace

Canvas::Surface::Surface(QImage& target, double ratio)
    : picture(target), ratio(ratio), reach(reachOf(target))
{
    // Drawn in device pixels; the ratio is the picture's again when done.
    picture.setDevicePixelRatio(1);
    painter.begin(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    setPen(Qt::black, 1, false);
    setBrush(QBrush(Qt::white));
}

Canvas::Surface::~Surface()
{
    painter.end();
    picture.setDevicePixelRatio(ratio);
}

void Canvas::Surface::setPen(QColor color, int width, bool rounded)
{
    forgetLastLine();
    const int device = ratio == 1 ? width : devicePixels(width, ratio);
    const bool wide = rounded && device > 1;
    pen.setColor(color);
    pen.setCapStyle(wide ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(wide ? Qt::RoundJoin : Qt::BevelJoin);
    pen.setWidth(device);
    painter.setPen(pen);
    opaque = color.alpha() == 255;
    flatEnds = !wide;
    // Qt strokes every wide segment as a polygon, which on a dense screen
    // cost several times the rest of a redraw; the picture saved keeps Qt's
    // pixels.
    if (wide && opaque && ratio != 1)
        tip.emplace(device);
    else
        tip.reset();
    // A pen of w picture pixels covers from w div 2 pixels before its position
    // on; the rasteriser puts a pen of n pixels from n div 2 before it.
    const int before = width / 2;
    shift = device / 2 - pixel(before * ratio);
}

void Canvas::Surface::setBrush(const QBrush& brush)
{
    forgetLastLine();
    painter.setBrush(brush);
}

void Canvas::Surface::fillWhite()
{
    forgetLastLine();
    painter.fillRect(picture.rect(), Qt::white);
}

void Canvas::Surface::line(double x1, double y1, double x2, double y2)
{
    x1 = std::trunc(x1);
    y1 = std::trunc(y1);
    x2 = std::trunc(x2);
    y2 = std::trunc(y2);
    if (inside(x1, y1, reach) && inside(x2, y2, reach)) {
        // The usual case, a segment of a curve: clipping would change nothing,
        // and each coordinate is already a whole number that an int holds.
        const QLine segment(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2),
                            static_cast<int>(y2));
        if (lastLineRepeatable && segment == lastLine)
            return;
        draw(segment);
        lastLine = segment;
        lastLineRepeatable = opaque;
        return;
    }
    forgetLastLine();
    if (!finite(x1, y1, x2, y2))
        return;
    if (!clip(x1, y1, x2, y2, reach))
        return;
    draw(QLine(pixel(x1), pixel(y1), pixel(x2), pixel(y2)));
}

void Canvas::Surface::draw(QLine segment)
{
    // Across the line the pen is moved to cover the side of its position it
    // covers in picture pixels; a flat end stays where the line ends.
    const bool acrossY = std::abs(segment.dx()) >= std::abs(segment.dy());
    segment.translate(flatEnds && acrossY ? 0 : shift, flatEnds && !acrossY ? 0 : shift);
    if (tip) {
        tip->draw(picture, pen.color().rgb(), segment);
        return;
    }
    painter.drawLine(segment);
    clearVectorState(); // the work between two lines is calculation
}

void Canvas::Surface::rectangle(int left, int top, int right, int bottom)
{
    forgetLastLine();
    // The outline covers from the left column and top row to one picture
    // pixel short of the right column and bottom row.
    const int unit = ratio == 1 ? 1 : devicePixels(1, ratio);
    painter.drawRect(left + shift, top + shift, std::max(0, right - unit - left),
                     std::max(0, bottom - unit - top));
}

Canvas::Canvas(TImage& target) : image(target), plain(target.picture(), 1)
{
    QImage& screen = target.screenPicture();
    if (!screen.isNull())
        sharp.emplace(screen, screen.devicePixelRatio());
}

void Canvas::setPen(QColor penColor, int width, bool roundEnds)
{
    color = penColor;
    rounded = roundEnds;
    setPenWidth(width);
}

void Canvas::setPenWidth(int width)
{
    penWidth = width;
    plain.setPen(color, width, rounded);
    if (sharp)
        sharp->setPen(color, width, rounded);
}

void Canvas::setBrushSolid(bool solid)
{
    const QBrush brush = solid ? QBrush(Qt::white) : QBrush(Qt::NoBrush);
    plain.setBrush(brush);
    if (sharp)
        sharp->setBrush(brush);
}

void Canvas::fillWhite()
{
    image.damage(image.picture().rect());
    plain.fillWhite();
    if (sharp)
        sharp->fillWhite();
}

void Canvas::line(double x1, double y1, double x2, double y2)
{
    image.damage(image.picture().rect()); // a curve's lines go everywhere
    plain.line(x1, y1, x2, y2);
    if (!sharp)
        return;
    // The far end of a segment is brought within reach before scaling, where
    // its exact place shows nowhere and the scaled value cannot overflow.
    const Box& box = plain.reachBox();
    if (!finite(x1, y1, x2, y2) ||
        (!(inside(x1, y1, box) && inside(x2, y2, box)) && !clip(x1, y1, x2, y2, box))) {
        sharp->forgetLastLine();
        return;
    }
    const double s = sharp->scale();
    sharp->line(x1 * s, y1 * s, x2 * s, y2 * s);
}

void Canvas::rectangle(double x1, double y1, double x2, double y2)
{
    plain.forgetLastLine();
    if (sharp)
        sharp->forgetLastLine();
    const Box& box = plain.reachBox();
    double corner[4] = {x1, y1, x2, y2};
    for (int k = 0; k < 4; ++k) {
        if (!std::isfinite(corner[k]))
            return;
        // Moving a far edge farther in stays invisible and exactly so.
        const bool horizontal = k % 2 == 0;
        corner[k] = std::clamp(corner[k], horizontal ? box.left : box.top,
                               horizontal ? box.right : box.bottom);
    }
    const double left = std::min(corner[0], corner[2]);
    const double right = std::max(corner[0], corner[2]);
    const double top = std::min(corner[1], corner[3]);
    const double bottom = std::max(corner[1], corner[3]);
    const auto at = [](double coordinate, double scale) {
        return static_cast<int>(std::trunc(coordinate * scale));
    };
    if (at(right, 1) - at(left, 1) < 1 || at(bottom, 1) - at(top, 1) < 1)
        return;
    plain.rectangle(at(left, 1), at(top, 1), at(right, 1), at(bottom, 1));
    // With the pen's width on both sides, and a pixel more for the rounding.
    image.damage(QRect(QPoint(at(left, 1), at(top, 1)), QPoint(at(right, 1), at(bottom, 1)))
                     .adjusted(-penWidth - 1, -penWidth - 1, penWidth + 1, penWidth + 1));
    if (sharp) {
        const double s = sharp->scale();
        sharp->rectangle(at(left, s), at(top, s), at(right, s), at(bottom, s));
    }
}
