#include "platform/GifFrame.h"

#include <QFile>

namespace GifFrame {

namespace {

quint16 le16(const QByteArray& bytes, int at) {
    return static_cast<quint16>(static_cast<quint8>(bytes[at]) | static_cast<quint8>(bytes[at + 1])
                                                                     << 8);
}

// Skips a colour table of 2^(bits + 1) entries when flags say it is there.
bool skipColourTable(QFile& file, quint8 flags) {
    if ((flags & 0x80) == 0)
        return true;
    const qint64 size = 3 * (qint64{2} << (flags & 0x07));
    return file.skip(size) == size;
}

// Sums the sizes of a chain of data sub-blocks up to its terminator or the end of the file.
qint64 subBlockBytes(QFile& file, bool& ended) {
    qint64 total = 0;
    ended = false;
    char size = 0;
    while (file.getChar(&size)) {
        if (size == 0)
            return total;
        total += file.skip(static_cast<quint8>(size));
    }
    ended = true;
    return total;
}

} // namespace

qint64 FirstFrame::drawablePixels() const {
    const qint64 codes = dataBytes * 8 / (minimumCodeSize + 1);
    return codes * 8192 * 8;
}

qint64 FirstFrame::framePixels() const {
    const QRect drawn = frame.intersected(QRect(QPoint(0, 0), canvas));
    return static_cast<qint64>(drawn.width()) * drawn.height();
}

bool FirstFrame::dataCanDrawFrame() const {
    return framePixels() <= drawablePixels() + (qint64{1} << 20);
}

std::optional<FirstFrame> read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray header = file.read(13);
    if (header.size() < 13 || (!header.startsWith("GIF87a") && !header.startsWith("GIF89a")))
        return std::nullopt;
    const int screenWidth = le16(header, 6);
    const int screenHeight = le16(header, 8);
    if (!skipColourTable(file, static_cast<quint8>(header[10])))
        return std::nullopt;
    char introducer = 0;
    while (file.getChar(&introducer)) {
        if (introducer == 0x21) { // extension: a label, then sub-blocks
            bool ended = false;
            if (file.skip(1) != 1)
                return std::nullopt;
            subBlockBytes(file, ended);
            if (ended)
                return std::nullopt;
            continue;
        }
        if (introducer != 0x2C) // the trailer or something the reader stops at
            return std::nullopt;
        const QByteArray descriptor = file.read(9);
        if (descriptor.size() < 9)
            return std::nullopt;
        FirstFrame first;
        first.frame = QRect(le16(descriptor, 0), le16(descriptor, 2), le16(descriptor, 4),
                            le16(descriptor, 6));
        // The reader's rule: a screen side of 0 takes the first frame's far edge.
        first.canvas =
            QSize(screenWidth > 0 ? screenWidth : first.frame.x() + first.frame.width(),
                  screenHeight > 0 ? screenHeight : first.frame.y() + first.frame.height());
        if (!skipColourTable(file, static_cast<quint8>(descriptor[8])))
            return std::nullopt;
        char codeSize = 0;
        if (!file.getChar(&codeSize))
            return std::nullopt;
        first.minimumCodeSize = static_cast<quint8>(codeSize);
        bool ended = false;
        first.dataBytes = subBlockBytes(file, ended);
        return first;
    }
    return std::nullopt;
}

} // namespace GifFrame
