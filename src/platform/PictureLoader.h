#pragma once

#include <QImage>
#include <QString>

// Loads a picture file whatever its extension (the format is decided from the content), upright
// by its orientation tag, transparency composited on white, the first frame of an animation.
// Sizes beyond what the program can scroll or hold are refused before decoding.
namespace PictureLoader {

constexpr int MaxSide = 32767;
constexpr qint64 MaxBytes = 1024LL * 1024 * 1024;

struct Result {
    QImage image; // RGB32; null on failure
    QString message;
    bool ok() const { return !image.isNull(); }
};

Result load(const QString& path);

// "name ファイルの形式には対応しておりません。"
QString unsupportedMessage(const QString& path);

} // namespace PictureLoader
