#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The text view's files: text in code page 932 exactly as the text holds it (no byte-order mark,
// line ends untouched), and the rendered text as a 24-bit bitmap. Callers write the bytes with
// SafeFileWriter, so an old file is replaced only by complete new contents.
namespace TextFiles {

enum class ReadStatus { Ok, NotFound, Failed };

struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    QByteArray bytes;
};

ReadResult readBytes(const QString& path);

// The text of code page 932 bytes; bytes that are no character there show as U+FFFD.
QString decode(const QByteArray& bytes);

// A path whose last four characters are ".bmp" in any case is written as a bitmap.
bool isBitmapPath(const QString& path);

// The picture as a 24-bit Windows bitmap file.
QByteArray bitmapBytes(const QImage& picture);

} // namespace TextFiles
