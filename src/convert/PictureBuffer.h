#pragma once

#include "convert/AbortPoll.h"

#include "platform/LargePageAllocator.h"

#include <QImage>

#include <vector>

// The pixels of a picture as a 24-bit, bottom-up bitmap: rows padded to 4 bytes, each pixel
// blue, green, red. All sampling reads bytes from this one buffer.
struct PictureBuffer {
    std::vector<uchar, LargePageAllocator<uchar>> bytes;
    int width = 0;
    int height = 0;
    int stride = 0;

    qsizetype size() const { return static_cast<qsizetype>(bytes.size()); }
    // Byte offset of pixel (px, py), rows counted from the top.
    qsizetype offset(int px, int py) const {
        return static_cast<qsizetype>(height - 1 - py) * stride + 3 * static_cast<qsizetype>(px);
    }
    const uchar* data() const { return bytes.data(); }

    // ((3W + 3) div 4) * 4: 3W rounded up to a multiple of 4.
    static int strideFor(int width) { return (3 * width + 3) / 4 * 4; }
};

// Reads an image once into the 24-bit bottom-up buffer, with a look at poll before each band of
// rows, on up to threads threads (see BandWork::run). When the poll stops it, the buffer is
// empty.
PictureBuffer BufFromPic(const QImage& image, const AbortPoll& poll = {}, int threads = 1);
