#include "platform/PictureLoader.h"

#include "platform/GifFrame.h"
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
    reader.setDecideFormatFromContent(format.isEmpty());
    reader.setAutoTransform(true);
    QImageReader::setAllocationLimit(static_cast<int>(MaxBytes / (1024 * 1024)));
    QSize declared = reader.size();
    // A GIF's reported size may not be the picture its reader makes; its blocks tell.
    if (const std::optional<GifFrame::FirstFrame> gif = GifFrame::read(path)) {
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
    QImage decoded = reader.read();
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
