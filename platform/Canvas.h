#pragma once

#include <QColor>
#include <QImage>
#include <QLine>
#include <QPainter>

// Drawing on a picture with a pen and a brush. Coordinates are doubles and are
// truncated toward zero like pixel positions; everything far outside the
// picture is clipped in double precision before any conversion to an integer,
// so no value, however large or non-finite, is ever converted unsafely.
class Canvas {
public:
    explicit Canvas(QImage& picture);

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
    void forgetLastLine() { lastLineRepeatable = false; }

    QImage& picture;
    QPainter painter;
    QPen pen;
    bool rounded = false;
    // The last line drawn, while drawing it again would change no pixel: the
    // pen is opaque and nothing else was drawn since. A curve sampled finer
    // than its pixels draws the same short segment many times over.
    QLine lastLine;
    bool lastLineRepeatable = false;
};
