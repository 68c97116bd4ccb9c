#include "platform/Bmp.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstring>

#include "engine/Conversions.h"

namespace {

constexpr int kFileHeader = 14;
constexpr int kInfoHeader = 40;

void put16(char*& out, std::uint16_t value)
{
    for (int shift = 0; shift < 16; shift += 8)
        *out++ = static_cast<char>((value >> shift) & 0xFF);
}

void put32(char*& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        *out++ = static_cast<char>((value >> shift) & 0xFF);
}

} // namespace

std::string encodeBmp(const QImage& picture)
{
    if (picture.isNull())
        throw Exception(
            QCoreApplication::translate("Bmp", "There is no picture to save").toStdString());
    const QImage rgb = picture.format() == QImage::Format_RGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);
    // Sized in 64 bits: the file's own sizes are 32-bit, and a picture whose
    // file they cannot hold is refused rather than written wrapped.
    const auto width = static_cast<std::uint64_t>(rgb.width());
    const auto height = static_cast<std::uint64_t>(rgb.height());
    const std::uint64_t rowBytes = (width * 3 + 3) / 4 * 4;
    const std::uint64_t pixelBytes = rowBytes * height;
    const std::uint64_t offset = kFileHeader + kInfoHeader;
    if (offset + pixelBytes > UINT32_MAX || offset + pixelBytes >= SIZE_MAX)
        throw Exception(
            QCoreApplication::translate("Bmp", "The picture is too large for a BMP file")
                .toStdString());

    // One byte more than the file: each pixel is copied as four bytes, of
    // which the fourth is overwritten by the next pixel or is padding.
    std::string bytes(offset + pixelBytes + 1, '\0');
    char* out = bytes.data();
    *out++ = 'B';
    *out++ = 'M';
    put32(out, static_cast<std::uint32_t>(offset + pixelBytes));
    put32(out, 0); // reserved
    put32(out, static_cast<std::uint32_t>(offset));
    put32(out, kInfoHeader);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);  // planes
    put16(out, 24); // bits per pixel
    put32(out, 0);  // no compression
    put32(out, static_cast<std::uint32_t>(pixelBytes));
    put32(out, static_cast<std::uint32_t>(rgb.dotsPerMeterX()));
    put32(out, static_cast<std::uint32_t>(rgb.dotsPerMeterY()));
    put32(out, 0); // colours used
    put32(out, 0); // important colours
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "a pixel in memory is blue, green, red, alpha");
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar* pixel = rgb.constScanLine(y);
        char* row = out;
        for (std::uint64_t x = 0; x < width; ++x, pixel += 4, row += 3)
            std::memcpy(row, pixel, 4);
        std::memset(row, 0, rowBytes - width * 3 + 1); // the padding, and the last fourth byte
        out += rowBytes;
    }
    bytes.pop_back();
    return bytes;
}
