#include "platform/Image.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

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

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
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
    // Written to a new file beside the old one and renamed over it, so a
    // failed save leaves the last good picture and a reader never sees half a
    // file. Unlike QSaveFile, the file is not forced to disk first: that wait
    // cost more than the rest of the save, and every redraw makes it anew.
    const auto failure = [&fileName](const std::string& reason) {
        return EFCreateError("Cannot create file \"" + fullPath(fileName) + "\". " + reason);
    };
    QTemporaryFile file(nameOf(fileName) + QStringLiteral(".XXXXXX"));
    if (!file.open())
        throw failure(file.errorString().toStdString());
    // A replaced picture keeps its permissions; a new one gets a new file's.
    struct stat existing {};
    const mode_t mode = ::stat(fileName.c_str(), &existing) == 0 ? existing.st_mode & 07777
                                                                 : 0666 & ~currentUmask();
    if (::fchmod(file.handle(), mode) != 0 || !bitmap.save(&file, "BMP") || !file.flush())
        throw failure(file.errorString().toStdString());
    if (std::rename(QFile::encodeName(file.fileName()).constData(), fileName.c_str()) != 0)
        throw failure(std::strerror(errno));
    file.setAutoRemove(false);
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
