#pragma once

#include <QImage>
#include <QLine>
#include <vector>

// Draws a line as the tip of a round pen covers it when swept from one end to
// the other: the tip is stamped on every pixel of the line, which gives round
// ends and, between segments that meet, round joins; no antialiasing. The tip
// of width n covers, like Qt's pens, from n div 2 pixels before its position.
// For opaque pens on 32-bit pictures.
class RoundTip {
public:
    explicit RoundTip(int width);

    void draw(QImage& picture, QRgb color, const QLine& line) const;

private:
    struct Target {
        QRgb* rows;
        qsizetype stride; // pixels from one row to the next
        int width;
        int height;
        QRgb color;
    };
    void stamp(const Target& target, int x, int y) const;

    int width;
    std::vector<int> spanLeft; // per row of the tip, the first and last column it covers
    std::vector<int> spanRight;
};
