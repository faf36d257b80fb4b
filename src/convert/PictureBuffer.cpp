#include "convert/PictureBuffer.h"

#include "convert/BandWork.h"

#include <algorithm>

PictureBuffer BufFromPic(const QImage& image, const AbortPoll& poll, int threads) {
    PictureBuffer buffer;
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        return buffer;
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    buffer.width = rgb.width();
    buffer.height = rgb.height();
    buffer.stride = PictureBuffer::strideFor(buffer.width);
    // Left uninitialised by its allocator and filled band by band: the memory is first touched
    // between two looks at the poll, rather than all at once before the first.
    buffer.bytes.resize(static_cast<size_t>(buffer.height) * static_cast<size_t>(buffer.stride));
    uchar* out = buffer.bytes.data();
    const int padding = buffer.stride - 3 * buffer.width;
    const auto fill = [&](qint64 first, qint64 last) {
        for (int py = static_cast<int>(first); py < last; ++py) {
            const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(py));
            uchar* row = out + buffer.offset(0, py);
            for (int px = 0; px < buffer.width; ++px) {
                row[3 * px] = static_cast<uchar>(qBlue(line[px]));
                row[3 * px + 1] = static_cast<uchar>(qGreen(line[px]));
                row[3 * px + 2] = static_cast<uchar>(qRed(line[px]));
            }
            std::fill_n(row + 3 * buffer.width, padding, uchar{0});
        }
    };
    if (!BandWork::run(buffer.height, AbortPolling::rowsPerLook(buffer.width), threads, poll, fill))
        return PictureBuffer();
    return buffer;
}
