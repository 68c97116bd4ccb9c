#include "platform/Image.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <cstring>
#include <system_error>

#include "platform/Bmp.h"
#include "platform/Guard.h"
#include "platform/Palette.h"
#include "platform/ReplaceFile.h"

namespace {

std::string fullPath(const std::string& fileName)
{
    return QFileInfo(QString::fromStdString(fileName)).absoluteFilePath().toStdString();
}

QPoint positionOf(const QMouseEvent* event)
{
    return event->position().toPoint();
}

} // namespace

TImage::TImage(QWidget* parent, int width, int height) : QWidget(parent), pictureSize(width, height)
{
    setFixedSize(width, height);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TImage::Pictures& TImage::made() const
{
    if (shown.picture.isNull() && !pictureSize.isEmpty()) {
        shown.picture = QImage(pictureSize, QImage::Format_RGB32);
        shown.picture.fill(Qt::white);
    }
    return shown;
}

void TImage::newPictures()
{
    made();
    shownFrom = 0;
    const QSize size = shown.picture.size();
    // Pictures kept elsewhere share these pixels; new ones leave them alone.
    if (!shown.picture.isDetached())
        shown.picture = QImage(size, shown.picture.format());
    const double ratio = devicePixelRatioF();
    if (ratio == 1) {
        shown.screen = QImage();
        return;
    }
    const QSize device(static_cast<int>(std::ceil(size.width() * ratio)),
                       static_cast<int>(std::ceil(size.height() * ratio)));
    if (shown.screen.size() != device || !shown.screen.isDetached())
        shown.screen = QImage(device, QImage::Format_RGB32);
    shown.screen.setDevicePixelRatio(ratio);
}

namespace {

bool sameKind(const QImage& a, const QImage& b)
{
    return a.size() == b.size() && a.format() == b.format() &&
           a.bytesPerLine() == b.bytesPerLine() && a.devicePixelRatio() == b.devicePixelRatio();
}

// The rows and columns of an area from one picture into another of the same kind.
void copyArea(QImage& target, const QImage& source, QRect area)
{
    area &= source.rect();
    const std::ptrdiff_t bytes = source.depth() / 8;
    const std::ptrdiff_t from = area.left() * bytes;
    const auto length = static_cast<std::size_t>(area.width() * bytes);
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(target.scanLine(y) + from, source.constScanLine(y) + from, length);
}

// An area of the picture on the screen's picture, whole pixels that cover it.
QRect onScreen(const QRect& area, double ratio)
{
    return QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio)
        .toAlignedRect();
}

} // namespace

void TImage::setPictures(const Pictures& pictures)
{
    const auto own = [](const QImage& mine, const QImage& kept) {
        return mine.isDetached() && sameKind(mine, kept);
    };
    const bool copy =
        shownFrom == pictures.picture.cacheKey() && own(shown.picture, pictures.picture) &&
        (pictures.screen.isNull() ? shown.screen.isNull() : own(shown.screen, pictures.screen));
    if (copy) {
        copyArea(shown.picture, pictures.picture, damaged);
        if (!shown.screen.isNull())
            copyArea(shown.screen, pictures.screen,
                     onScreen(damaged, shown.screen.devicePixelRatio()));
    } else {
        shown = pictures; // shared until drawn over
    }
    shownFrom = pictures.picture.cacheKey();
    damaged = QRect();
    update();
}

void TImage::SaveToFile(const std::string& fileName) const
{
    // Encoded whole first, so that the file is written in one go, and before
    // anything is written, so that a failure leaves the old file. It is not
    // forced to disk: that wait cost more than the rest of the save, and
    // every redraw saves anew.
    const auto cannotCreate = [&fileName](const std::string& reason) {
        return EFCreateError("Cannot create file \"" + fullPath(fileName) + "\". " + reason);
    };
    std::string bytes;
    try {
        bytes = encodeBmp(made().picture);
    } catch (const Exception& failure) {
        throw cannotCreate(failure.message()); // the old file stays
    }
    try {
        replaceFile(fileName, bytes);
    } catch (const std::system_error& failure) {
        throw cannotCreate(failure.code().message());
    }
}

double TImage::drawnRatio() const
{
    return shown.screen.isNull() ? 1.0 : shown.screen.devicePixelRatio();
}

void TImage::checkRatio()
{
    const double ratio = devicePixelRatioF();
    if (ratio == drawnRatio() || ratio == askedRatio || !OnRatioChange)
        return;
    askedRatio = ratio;
    // Later, from the event loop: a redraw may open a box, which a paint must not.
    QMetaObject::invokeMethod(
        this, [this] { Guard::run(OnRatioChange); }, Qt::QueuedConnection);
}

bool TImage::event(QEvent* event)
{
    // Sent when the window moves to another screen.
    if (event->type() == QEvent::ScreenChangeInternal)
        checkRatio();
    return QWidget::event(event);
}

void TImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Until a drawing at a new ratio is there, the picture blown up.
    const bool sharp = !shown.screen.isNull() && drawnRatio() == devicePixelRatioF();
    painter.drawImage(0, 0, sharp ? shown.screen : made().picture);
    if (hasFocus())
        paintFocusFrame(painter);
    checkRatio();
}

void TImage::paintFocusFrame(QPainter& painter) const
{
    constexpr int kWidth = 2;
    // The theme's colour for the keyboard's place, where it stands out from
    // the picture's white by at least the 3:1 asked of such marks.
    QColor colour = palette().color(QPalette::Highlight);
    if (contrastRatio(colour, Qt::white) < 3)
        colour = Qt::black;
    const QRegion frame =
        QRegion(rect()).subtracted(rect().adjusted(kWidth, kWidth, -kWidth, -kWidth));
    for (const QRect& band : frame)
        painter.fillRect(band, colour);
}

void TImage::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = positionOf(event);
    if (OnMouseDown)
        Guard::run([&] { OnMouseDown(event->button(), at.x(), at.y()); });
}

void TImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = positionOf(event);
    if (OnMouseMove)
        Guard::run([&] { OnMouseMove(event->buttons(), at.x(), at.y()); });
}

void TImage::keyPressEvent(QKeyEvent* event)
{
    bool used = true; // a key whose handler failed was the picture's all the same
    if (OnKeyDown)
        Guard::run([&] { used = OnKeyDown(*event); });
    if (!OnKeyDown || !used)
        QWidget::keyPressEvent(event);
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = positionOf(event);
    if (OnMouseUp)
        Guard::run([&] { OnMouseUp(event->button(), at.x(), at.y()); });
}
