#include "platform/PictureLoader.h"

#include "platform/GifFrame.h"
#include "platform/LargePageAllocator.h"
#include "platform/PathHelpers.h"
#include "platform/PictureFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace PictureLoader {

QString unsupportedMessage(const QString& path) {
    return PathHelpers::PathFile(path) + QStringLiteral(" ファイルの形式には対応しておりません。");
}

static QString tooLargeMessage(const QString& path) {
    return PathHelpers::PathFile(path) +
           QStringLiteral(" は大きすぎるため読み込めません（縦横とも 32767 画素まで）。");
}

// An image of that size and format whose pixels lie on huge pages (see LargePageAllocator), for
// the reader to decode into: a picture of millions of pixels is then first touched with a few
// page faults instead of thousands. A null image when the size or format is not known yet; the
// reader then makes its own.
static QImage blankOnLargePages(QSize size, QImage::Format format) {
    if (!size.isValid() || size.isEmpty() || format == QImage::Format_Invalid)
        return QImage();
    const qsizetype bytesPerLine =
        (static_cast<qsizetype>(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) /
        32 * 4;
    const size_t bytes = static_cast<size_t>(bytesPerLine) * static_cast<size_t>(size.height());
    LargePageAllocator<uchar> allocator;
    uchar* pixels = nullptr;
    try {
        pixels = allocator.allocate(bytes);
    } catch (const std::bad_alloc&) {
        return QImage();
    }
    struct Block {
        uchar* pixels;
        size_t bytes;
    };
    auto* block = new Block{pixels, bytes};
    return QImage(
        pixels, size.width(), size.height(), bytesPerLine, format,
        [](void* info) {
            auto* owned = static_cast<Block*>(info);
            LargePageAllocator<uchar>().deallocate(owned->pixels, owned->bytes);
            delete owned;
        },
        block);
}

Result load(const QString& path) {
    Result result;
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        result.message = unsupportedMessage(path);
        return result;
    }
    QFile file(path);
    const QByteArray format =
        file.open(QIODevice::ReadOnly)
            ? PictureFormat::fromSignature(file.read(PictureFormat::SignatureBytes))
            : QByteArray();
    file.close();
    QImageReader reader(path, format);
    // A known signature names its plugin; without this Qt would load every image plugin (and
    // their libraries) to ask each whether it reads that format.
    reader.setAutoDetectImageFormat(format.isEmpty());
    reader.setDecideFormatFromContent(format.isEmpty());
    reader.setAutoTransform(true);
    QImageReader::setAllocationLimit(static_cast<int>(MaxBytes / (1024 * 1024)));
    QSize declared = reader.size();
    // A GIF's reported size may not be the picture its reader makes; its blocks tell.
    if (const std::optional<GifFrame::FirstFrame> gif =
            format == "gif" ? GifFrame::read(path) : std::nullopt) {
        if (!gif->dataCanDrawFrame()) {
            result.message = unsupportedMessage(path);
            return result;
        }
        declared = gif->canvas;
    }
    if (declared.isValid() &&
        (declared.width() > MaxSide || declared.height() > MaxSide ||
         static_cast<qint64>(declared.width()) * declared.height() * 4 > MaxBytes)) {
        result.message = tooLargeMessage(path);
        return result;
    }
    QImage decoded = blankOnLargePages(declared, reader.imageFormat());
    if (!reader.read(&decoded))
        decoded = QImage();
    if (decoded.isNull() || decoded.width() < 1 || decoded.height() < 1) {
        result.message = unsupportedMessage(path);
        return result;
    }
    if (decoded.width() > MaxSide || decoded.height() > MaxSide) {
        result.message = tooLargeMessage(path);
        return result;
    }
    if (decoded.hasAlphaChannel()) {
        QImage flat(decoded.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, decoded);
        painter.end();
        result.image = flat;
    } else {
        result.image = decoded.convertToFormat(QImage::Format_RGB32);
    }
    return result;
}

} // namespace PictureLoader
