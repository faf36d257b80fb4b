#include "settings/FontDesc.h"

#include "platform/Numbers.h"

#include <cmath>

// A size as a currency amount is written: rounded to four decimals (halves to even), no
// trailing zeros, no exponent.
static QString formatFourDecimals(double value) {
    const double rounded = std::nearbyint(value * 10000.0) / 10000.0;
    QString text = QString::number(rounded, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    if (text == QStringLiteral("-0"))
        text = QStringLiteral("0");
    return text;
}

// A single-precision value is written with at most seven significant digits.
static QString formatSingle(double value) {
    const float single = static_cast<float>(value);
    if (single == 0.0f)
        return QStringLiteral("0");
    return Numbers::formatDouble(QString::number(single, 'g', 7).toDouble());
}

QString FontDesc(const FontChoice& font, double lineSpace) {
    QString text = font.name + formatFourDecimals(font.size) + QStringLiteral("pt");
    if (lineSpace != 0)
        text += QStringLiteral(" 行間") + formatSingle(lineSpace) + QStringLiteral("pt");
    if (font.italic)
        text += QStringLiteral(" 斜体");
    if (font.bold)
        text += QStringLiteral(" 太字");
    if (font.strikethrough)
        text += QStringLiteral(" 取消線");
    if (font.underline)
        text += QStringLiteral(" 下線");
    return text;
}
