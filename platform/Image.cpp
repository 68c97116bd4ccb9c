#include "platform/Image.h"

#include <QBuffer>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <system_error>

#include "platform/Guard.h"
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

TImage::TImage(QWidget* parent, int width, int height)
    : QWidget(parent), bitmap(width, height, QImage::Format_RGB32)
{
    bitmap.fill(Qt::white);
    setFixedSize(width, height);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImage::SaveToFile(const std::string& fileName) const
{
    // Encoded whole first, so that the file is written in one go. It is not
    // forced to disk: that wait cost more than the rest of the save, and
    // every redraw saves anew.
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(bitmap.width()) * bitmap.height() * 3 + 1024);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const auto cannotCreate = [&fileName](const std::string& reason) {
        return EFCreateError("Cannot create file \"" + fullPath(fileName) + "\". " + reason);
    };
    if (!bitmap.save(&buffer, "BMP"))
        throw cannotCreate("The picture could not be encoded as BMP"); // the old file stays
    try {
        replaceFile(fileName, {bytes.constData(), static_cast<std::size_t>(bytes.size())});
    } catch (const std::system_error& failure) {
        throw cannotCreate(failure.code().message());
    }
}

void TImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, bitmap);
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

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = positionOf(event);
    if (OnMouseUp)
        Guard::run([&] { OnMouseUp(event->button(), at.x(), at.y()); });
}
