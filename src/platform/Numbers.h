#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Rounding, numeric text and number formats shared by every part of the program. Reals become
// integers by rounding halves to the even neighbour; numeric text is accepted the way users type
// it into the program's boxes (blanks around, a sign, a decimal point, an exponent).
namespace Numbers {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4). Values beyond the range of
// qint64 (a settings file may hold 1e308) give its nearest end, and NaN gives 0.
qint64 roundHalfEven(double value);

// The value of a numeric text, or nothing when the text is not a number.
std::optional<double> parseNumeric(const QString& text);

// A numeric text rounded (halves to even) into a 16-bit field; nothing when it is not numeric or
// does not fit.
std::optional<qint16> parseInt16(const QString& text);

// A numeric text rounded (halves to even) into a 32-bit field; nothing when it is not numeric or
// does not fit.
std::optional<qint32> parseInt32(const QString& text);

// The shortest text of a double with up to 15 significant digits: "0.2", "12", "10.5".
QString formatDouble(double value);

// The value with one decimal, at least one digit before the point ("##0.0").
QString formatOneDecimal(double value);

} // namespace Numbers
