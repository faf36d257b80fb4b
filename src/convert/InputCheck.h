#pragma once

#include <QString>

#include <optional>

// The checks before a conversion starts: the line count text and the palette text.
namespace InputCheck {

// The message of the first check that fails, or nothing when both are acceptable.
std::optional<QString> check(const QString& linesText, const QString& paletteText);

// The line count of a text that passed the check (rounded, halves to even).
qint16 linesValue(const QString& linesText);

} // namespace InputCheck
