#include "platform/Palette.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QColor c)
{
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

class PaletteWatcher : public QObject {
public:
    PaletteWatcher(QWidget* widget, std::function<void()> update)
        : QObject(widget), update(std::move(update))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
            update();
        return false;
    }

private:
    std::function<void()> update;
};

} // namespace

double contrastRatio(QColor a, QColor b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(QColor color, QColor face, double ratio)
{
    if (contrastRatio(Qt::white, face) <= contrastRatio(Qt::black, face))
        return color;
    // A thin glyph's smoothed pixels never show its full colour: aimed a tenth
    // higher, its brightest pixels still reach the ratio. Where even white
    // falls short of the aim (it reaches 4.58 on any dark face), white it is.
    const double aim = ratio * 1.1;
    QColor lighter = color;
    for (int lightness = color.lightness(); lightness <= 255; ++lightness) {
        lighter = QColor::fromHsl(color.hslHue(), color.hslSaturation(), lightness);
        if (contrastRatio(lighter, face) >= aim)
            break;
    }
    return lighter;
}

QColor buttonFace(const QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = QRect(QPoint(0, 0), button->size());
    const qreal ratio = button->devicePixelRatioF();
    QImage face(option.rect.size() * ratio, QImage::Format_ARGB32);
    face.setDevicePixelRatio(ratio);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    button->style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, button);
    painter.end();
    // Inside the contents' bounds, the outline's width again: a bevel's light
    // edge. Its rounded corners, which no text reaches, are left out with the
    // outer quarters of the width.
    const int edge = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
    const QRect inside = button->style()
                             ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                             .adjusted(edge, edge, -edge, -edge);
    QRect pixels = QRectF(inside.topLeft() * ratio, inside.size() * ratio).toAlignedRect();
    pixels.adjust(pixels.width() / 4, 0, -pixels.width() / 4, 0);
    QColor nearest = button->palette().color(QPalette::Button);
    double least = 22;
    QRgb last = 0; // transparent, never a shade; a gradient repeats a shade along its rows
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QRgb pixel = face.pixel(x, y);
            if (pixel == last || qAlpha(pixel) != 255)
                continue;
            last = pixel;
            const QColor shade(pixel);
            const double contrast =
                std::max(contrastRatio(shade, Qt::white), contrastRatio(shade, Qt::black));
            if (contrast < least) {
                least = contrast;
                nearest = shade;
            }
        }
    }
    return nearest;
}

void followPalette(QWidget* widget, std::function<void()> update)
{
    update();
    new PaletteWatcher(widget, std::move(update));
}
