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
    // White always reaches 4.58 against a dark face, so the search ends.
    QColor lighter = color;
    for (int lightness = color.lightness(); lightness <= 255; ++lightness) {
        lighter = QColor::fromHsl(color.hslHue(), color.hslSaturation(), lightness);
        if (contrastRatio(lighter, face) >= ratio)
            break;
    }
    return lighter;
}

QColor buttonFace(const QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = QRect(QPoint(0, 0), button->size());
    QImage face(option.rect.size(), QImage::Format_ARGB32);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    button->style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, button);
    painter.end();
    QColor nearest = button->palette().color(QPalette::Button);
    double least = 22;
    for (int y = face.height() / 4; y < face.height() * 3 / 4; ++y) {
        const QColor shade = face.pixelColor(face.width() / 2, y);
        const double ratio =
            std::max(contrastRatio(shade, Qt::white), contrastRatio(shade, Qt::black));
        if (shade.alpha() == 255 && ratio < least) {
            least = ratio;
            nearest = shade;
        }
    }
    return nearest;
}

void followPalette(QWidget* widget, std::function<void()> update)
{
    update();
    new PaletteWatcher(widget, std::move(update));
}
