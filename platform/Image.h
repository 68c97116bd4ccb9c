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
// picture pixels, with moves reported even when no button is held. Given a
// focus policy, it reports the keys pressed while it has the keyboard and
// shows that it has it by a frame over the picture's edge, drawn on the
// screen only, never in the picture.
//
// The picture has one pixel per unit; it is what SaveToFile writes. On a screen
// with more device pixels per unit (a scale of 1.25, 2, a Wayland buffer scale)
// the control shows a second picture of the same drawing made at the screen's
// resolution (Canvas draws both), so that lines stay sharp instead of being
// blown up. When the ratio changes, OnRatioChange asks for a new drawing.
class TImage : public QWidget {
public:
    TImage(QWidget* parent, int width, int height);

    struct Pictures {
        QImage picture;
        QImage screen; // null at one device pixel per unit
    };

    QImage& picture() { return made().picture; }
    const QImage& picture() const { return made().picture; }
    QImage& screenPicture() { return shown.screen; }
    const QImage& screenPicture() const { return shown.screen; }

    // Blank pictures to draw on (their pixels are not set), the screen one at
    // the control's current device pixel ratio.
    void newPictures();
    const Pictures& pictures() const { return made(); }
    // Shows kept pictures again. Where the pictures shown are a copy of these
    // very ones, only what was drawn over since is copied back: restoring the
    // whole of a dense screen's picture for every trace move cost ten times
    // the rest of the move.
    void setPictures(const Pictures& pictures);
    // Tells what part of the picture (in its pixels) a drawing changed.
    void damage(const QRect& area) { damaged |= area; }

    // Saves the picture as a 24-bit BMP file, replacing any file of that name.
    void SaveToFile(const std::string& fileName) const;

    std::function<void(Qt::MouseButton, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButtons, int x, int y)> OnMouseMove;
    std::function<void(Qt::MouseButton, int x, int y)> OnMouseUp;
    std::function<void()> OnRatioChange;
    // True when the key was used; any other goes on to the window.
    std::function<bool(const QKeyEvent& key)> OnKeyDown;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The pictures, the first one white until drawn on, made on first use: a
    // window built at start but not yet shown holds no pixels.
    Pictures& made() const;
    double drawnRatio() const;
    void paintFocusFrame(QPainter& painter) const;
    void checkRatio();

    QSize pictureSize;
    mutable Pictures shown;
    qint64 shownFrom = 0; // the cache key of the picture those shown are a copy of
    QRect damaged;
    // The last ratio a new drawing was asked for: asked once per change, so
    // that a drawing that cannot match the screen is not asked for again and again.
    double askedRatio = 0;
};
