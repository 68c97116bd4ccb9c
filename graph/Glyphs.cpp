#include "graph/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

#include "platform/Palette.h"

namespace Glyphs {

namespace {

constexpr int kSize = 32; // drawn large, shown small: sharp on dense screens too
constexpr double kEdgeContrast = 3.0;

QColor edge(QColor color, QColor face)
{
    return readableOn(color, face, kEdgeContrast);
}

QIcon paint(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return {pixmap};
}

QPolygonF rotated(const QPolygonF& shape, qreal degrees)
{
    QTransform turn;
    turn.translate(kSize / 2.0, kSize / 2.0);
    turn.rotate(degrees);
    turn.translate(-kSize / 2.0, -kSize / 2.0);
    return turn.map(shape);
}

} // namespace

QIcon arrow(Direction direction, QColor face)
{
    // An arrow pointing up, turned to its direction.
    const QPolygonF up({{16, 3}, {28, 16}, {20, 16}, {20, 29}, {12, 29}, {12, 16}, {4, 16}});
    const qreal degrees = direction == Direction::Up      ? 0
                          : direction == Direction::Right ? 90
                          : direction == Direction::Down  ? 180
                                                          : 270;
    return paint([&](QPainter& p) {
        p.setPen(QPen(edge(QColor(0, 0, 96), face), 1.5));
        p.setBrush(QColor(40, 90, 200));
        p.drawPolygon(rotated(up, degrees));
    });
}

QIcon magnifier(bool plus, QColor face)
{
    return paint([plus, face](QPainter& p) {
        p.setPen(QPen(edge(QColor(90, 60, 20), face), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 20), QPointF(29, 29));
        p.setPen(QPen(edge(Qt::black, face), 2.5));
        p.setBrush(QColor(220, 240, 255));
        p.drawEllipse(QPointF(13, 13), 10, 10);
        // The sign lies on the glass, which is light whatever the face.
        p.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(8, 13), QPointF(18, 13));
        if (plus)
            p.drawLine(QPointF(13, 8), QPointF(13, 18));
    });
}

QIcon slantedTriangle(bool up, QColor face)
{
    // A right triangle leaning over: a rising slope for finer, a falling one for coarser.
    const QPolygonF rising({{3, 28}, {29, 28}, {29, 4}});
    const QPolygonF falling({{3, 4}, {3, 28}, {29, 28}});
    return paint([&](QPainter& p) {
        p.setPen(QPen(edge(QColor(0, 70, 0), face), 1.5));
        p.setBrush(QColor(60, 170, 60));
        p.drawPolygon(up ? rising : falling);
    });
}

} // namespace Glyphs
