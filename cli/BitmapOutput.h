#pragma once

#include "convert/SettingsRecord.h"

#include <QImage>
#include <QString>

#include <optional>

// The text art as a picture for charloom-cli: rendered exactly as the text view renders it (font,
// line spacing, colours, picture colours from the run's selection copy) and written as a 24-bit
// BMP or a PNG, chosen by the output file's extension.
namespace BitmapOutput {

// True for an output path ending in ".bmp" or ".png" (any case).
bool isPicturePath(const QString& path);

// A colour option: "#rrggbb", a colour name ("red", "navy") or "image" (the picture's colours),
// as a colour reference; nothing when the text is none of these.
std::optional<qint32> parseColor(const QString& text);

// Renders text and writes it to path; an empty string on success, else the message to show.
QString write(const QString& path, const QString& text, const SettingsRecord& settings,
              const QImage& selectionCopy);

} // namespace BitmapOutput
