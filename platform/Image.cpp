#include "platform/Image.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>

#include "platform/Guard.h"

namespace {

QString nameOf(const std::string& fileName)
{
    return QString::fromStdString(fileName);
}

std::string fullPath(const std::string& fileName)
{
    return QFileInfo(nameOf(fileName)).absoluteFilePath().toStdString();
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

void TImage::SaveToFile(const std::string& fileName)
{
    // Written beside the old file and renamed over it: a failed save leaves
    // the last good picture in place.
    QSaveFile file(nameOf(fileName));
    if (!file.open(QIODevice::WriteOnly) || !bitmap.save(&file, "BMP") || !file.commit())
        throw EFCreateError("Cannot create file \"" + fullPath(fileName) + "\". " +
                            file.errorString().toStdString());
}

void TImage::LoadFromFile(const std::string& fileName)
{
    QImageReader reader(nameOf(fileName), "BMP");
    QImage loaded = reader.read();
    if (loaded.isNull())
        throw EFOpenError("Cannot open file \"" + fullPath(fileName) + "\". " +
                          reader.errorString().toStdString());
    // The control keeps its size whatever the file holds.
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    painter.drawImage(0, 0, loaded);
    painter.end();
    update();
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
