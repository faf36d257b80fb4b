#include "textview/TextFiles.h"

#include "platform/Cp932.h"
#include "platform/FileTests.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

namespace TextFiles {

ReadResult readBytes(const QString& path) {
    ReadResult result;
    if (!FileTests::IsFile(path)) {
        result.status = ReadStatus::NotFound;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const qint64 size = file.size();
    if (size >= 1) {
        result.bytes = file.readAll();
        if (file.error() != QFileDevice::NoError || result.bytes.size() != size)
            return result;
    }
    result.status = ReadStatus::Ok;
    return result;
}

QString decode(const QByteArray& bytes) {
    const Cp932::Decoded whole = Cp932::decode(bytes);
    if (whole.ok)
        return whole.text;
    // Find the bad bytes character by character; a bad lead byte costs only itself, so the byte
    // after it is read again as the start of the next character.
    QString text;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int b = static_cast<unsigned char>(bytes[i]);
        if (Cp932::isLeadByte(b) && i + 1 < bytes.size()) {
            const Cp932::Decoded pair = Cp932::decode(bytes.mid(i, 2));
            if (pair.ok) {
                text += pair.text;
                i += 2;
                continue;
            }
            text += QChar(QChar::ReplacementCharacter);
            ++i;
            continue;
        }
        const Cp932::Decoded single = Cp932::decode(bytes.mid(i, 1));
        text += single.ok ? single.text : QString(QChar(QChar::ReplacementCharacter));
        ++i;
    }
    return text;
}

bool isBitmapPath(const QString& path) {
    return path.right(4).toLower() == QStringLiteral(".bmp");
}

QByteArray bitmapBytes(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB32)))
        return QByteArray();
    return bytes;
}

} // namespace TextFiles
