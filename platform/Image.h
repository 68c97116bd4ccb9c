#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

#include "engine/Conversions.h"

// A file that cannot be written.
class EFCreateError : public Exception {
public:
    using Exception::Exception;
};

// An image control: shows a picture of fixed size and reports the mouse in
// picture pixels, with moves reported even when no button is held.
class TImage : public QWidget {
public:
    TImage(QWidget* parent, int width, int height);

    QImage& picture() { return bitmap; }
    const QImage& picture() const { return bitmap; }

    // Saves the picture as a 24-bit BMP file, replacing any file of that name.
    void SaveToFile(const std::string& fileName) const;

    std::function<void(Qt::MouseButton, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButtons, int x, int y)> OnMouseMove;
    std::function<void(Qt::MouseButton, int x, int y)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage bitmap;
};
