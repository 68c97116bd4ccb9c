#include "platform/RoundTip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

RoundTip::RoundTip(int tipWidth) : width(std::max(1, tipWidth))
{
    // The pixels whose centres lie in the circle of the pen's width.
    const double radius = width / 2.0;
    for (int row = 0; row < width; ++row) {
        const double dy = row + 0.5 - radius;
        int left = 0;
        while (left < width && std::pow(left + 0.5 - radius, 2) + dy * dy > radius * radius)
            ++left;
        spanLeft.push_back(left);
        spanRight.push_back(width - 1 - left);
    }
}

void RoundTip::stamp(const Target& target, int x, int y) const
{
    const int left = x - width / 2;
    const int top = y - width / 2;
    for (int row = 0; row < width; ++row) {
        const int line = top + row;
        if (line < 0 || line >= target.height)
            continue;
        const int from = std::max(0, left + spanLeft[static_cast<std::size_t>(row)]);
        const int to = std::min(target.width - 1, left + spanRight[static_cast<std::size_t>(row)]);
        QRgb* pixels = target.rows + static_cast<std::ptrdiff_t>(line) * target.stride;
        if (from <= to)
            std::fill(pixels + from, pixels + to + 1, target.color);
    }
}

void RoundTip::draw(QImage& picture, QRgb color, const QLine& line) const
{
    // Each pixel of the line is the nearest to it along the longer direction,
    // worked out for itself, so only the part where the tip can reach the
    // picture is walked.
    const int dx = line.dx();
    const int dy = line.dy();
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const int start = alongX ? line.x1() : line.y1();
    const int direction = (alongX ? dx : dy) < 0 ? -1 : 1;
    const int extent = alongX ? picture.width() : picture.height();
    // The steps t at which start + direction * t lies within the tip's reach of the picture.
    const int low = direction > 0 ? -width - start : start - extent - width;
    const int high = direction > 0 ? extent + width - start : start + width;
    const int first = std::max(0, low);
    const int last = std::min(steps, high);
    const double slope = steps == 0 ? 0.0 : static_cast<double>(alongX ? dy : dx) / steps;
    const Target target{reinterpret_cast<QRgb*>(picture.bits()),
                        picture.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb)),
                        picture.width(), picture.height(), color};
    for (int t = first; t <= last; ++t) {
        const int along = start + direction * t;
        const int across =
            (alongX ? line.y1() : line.x1()) + static_cast<int>(std::lround(t * slope));
        if (alongX)
            stamp(target, along, across);
        else
            stamp(target, across, along);
    }
}
