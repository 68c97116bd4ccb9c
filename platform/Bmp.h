#pragma once

#include <QImage>
#include <string>

// A picture as the bytes of a 24-bit BMP file, the same bytes Qt's BMP writer
// gives: a 54-byte header, then the rows from the bottom up, each pixel blue,
// green, red, each row padded to four bytes. Encoded in one pass into one
// buffer. Throws Exception for a picture with no pixels, or one too large for
// the format's 32-bit sizes.
std::string encodeBmp(const QImage& picture);
