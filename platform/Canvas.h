#pragma once

#include <QColor>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <optional>

#include "platform/RoundTip.h"

class TImage;

// Drawing on an image control's pictures with a pen and a brush. Coordinates
// are doubles in picture pixels and are truncated toward zero like pixel
// positions; everything far outside the picture is clipped in double
// precision before any conversion to an integer, so no value, however large or
// non-finite, is ever converted unsafely.
//
// Where the control also keeps a picture at the screen's resolution, every
// operation draws there too: positions are resolved at device pixels by the
// same truncation, a pen keeps its width in picture pixels (rounded to whole
// device pixels, so a line has one width along its length) and covers the
// same side of its position, and antialiasing stays off.
class Canvas {
public:
    explicit Canvas(TImage& image);

    struct Box {
        double left, top, right, bottom;
    };

    // A rounded pen wider than a pixel draws round ends and round joins, as
    // wide pens do on the platform the pictures come from, so a curve of
    // many short segments has smooth edges; one pixel wide, it is no different.
    void setPen(QColor color, int width, bool roundEnds = false);
    void setPenWidth(int width);
    void setBrushSolid(bool solid); // solid white, or no fill

    void fillWhite();
    // A straight line between two points; nothing when either is not finite.
    void line(double x1, double y1, double x2, double y2);
    // The rectangle between two corners: outline with the pen, inside with the brush.
    void rectangle(double x1, double y1, double x2, double y2);

private:
    // One picture, at ratio device pixels per picture pixel.
    class Surface {
    public:
        Surface(QImage& picture, double ratio);
        ~Surface();
        Surface(const Surface&) = delete;
        Surface& operator=(const Surface&) = delete;
        double scale() const { return ratio; }
        const Box& reachBox() const { return reach; }
        void setPen(QColor color, int width, bool rounded);
        void setBrush(const QBrush& brush);
        void fillWhite();
        // Coordinates already at this surface's scale.
        void line(double x1, double y1, double x2, double y2);
        void rectangle(int left, int top, int right, int bottom);
        void forgetLastLine() { lastLineRepeatable = false; }

    private:
        void draw(QLine segment);

        QImage& picture;
        QPainter painter;
        double ratio;
        Box reach; // far enough outside the picture that clipping there shows nowhere
        QPen pen;
        bool opaque = true;
        bool flatEnds = true;
        int shift = 0; // moves the pen over the side of its position it covers in picture pixels
        // The last line drawn, while drawing it again would change no pixel:
        // the pen is opaque and nothing else was drawn since. A curve sampled
        // finer than its pixels draws the same short segment many times over.
        QLine lastLine;
        bool lastLineRepeatable = false;
        std::optional<RoundTip> tip; // draws the lines of a wide round pen
    };

    TImage& image;
    Surface plain;
    std::optional<Surface> sharp;
    int penWidth = 1;
    QColor color;
    bool rounded = false;
};
