#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <optional>

// The first frame of a GIF file as Qt's GIF reader will decode it, read from the file's blocks
// without decoding anything. The reader's reported size can differ from the picture it makes:
// it reports a frame's size where the file's screen size looks odd to it, yet allocates the
// screen; and with no screen size it makes the picture as large as the first frame declares,
// filled with the background whatever the image data holds. So a file of a few dozen bytes can
// become a picture of hundreds of megabytes. The loader checks the picture's real size and
// whether the image data could draw such a frame at all before it lets the reader decode.
namespace GifFrame {

struct FirstFrame {
    QSize canvas;         // the picture the reader allocates
    QRect frame;          // the first frame, as declared
    qint64 dataBytes = 0; // its compressed image data, up to the end of the file
    int minimumCodeSize = 0;

    // The most pixels that dataBytes of image data can draw: every code takes at least
    // minimumCodeSize + 1 bits and gives at most 8192 pixels (the reader's string stack), and
    // interlaced rows may be copied eight times over. Far above any real picture's need.
    qint64 drawablePixels() const;
    // The frame's pixels on the canvas, which the data would have to draw.
    qint64 framePixels() const;
    // False for a file whose data could never draw its frame (beyond a million pixels of slack,
    // so small damaged files are still left to the reader).
    bool dataCanDrawFrame() const;
};

// Nothing when the file is not a GIF or has no complete image descriptor before its end (the
// reader then decides alone).
std::optional<FirstFrame> read(const QString& path);

} // namespace GifFrame
