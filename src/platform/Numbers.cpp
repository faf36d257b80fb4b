#include "platform/Numbers.h"

#include <cmath>
#include <limits>

namespace Numbers {

qint64 roundHalfEven(double value) {
    // 2^63 is exactly representable; converting it or anything beyond is undefined behaviour.
    constexpr double limit = 9223372036854775808.0;
    const double rounded = std::nearbyint(value);
    if (std::isnan(rounded))
        return 0;
    if (rounded >= limit)
        return std::numeric_limits<qint64>::max();
    if (rounded < -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(rounded);
}

std::optional<double> parseNumeric(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // Only plain decimal notation: digits, one point, an optional exponent. Reject "inf", "nan"
    // and hexadecimal forms that the C library would accept.
    qsizetype i = 0;
    const qsizetype n = trimmed.size();
    if (trimmed[i] == u'+' || trimmed[i] == u'-')
        ++i;
    qsizetype digits = 0;
    while (i < n && trimmed[i].isDigit() && trimmed[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && trimmed[i] == u'.') {
        ++i;
        while (i < n && trimmed[i].isDigit() && trimmed[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (trimmed[i] == u'e' || trimmed[i] == u'E')) {
        ++i;
        if (i < n && (trimmed[i] == u'+' || trimmed[i] == u'-'))
            ++i;
        qsizetype expDigits = 0;
        while (i < n && trimmed[i].isDigit() && trimmed[i].unicode() < 128) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

template <typename Int>
static std::optional<Int> parseInt(const QString& text) {
    const std::optional<double> value = parseNumeric(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

std::optional<qint16> parseInt16(const QString& text) {
    return parseInt<qint16>(text);
}

std::optional<qint32> parseInt32(const QString& text) {
    return parseInt<qint32>(text);
}

QString formatDouble(double value) {
    if (value == 0.0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    // Exponents as "1E+16" and "1E-05", the form the settings file has always held.
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        QString exponent = text.mid(e + 1);
        const QChar sign = exponent[0];
        exponent = exponent.mid(1);
        while (exponent.size() < 2)
            exponent.prepend(u'0');
        text = text.left(e) + u'E' + sign + exponent;
    }
    return text;
}

QString formatOneDecimal(double value) {
    return QString::number(value, 'f', 1);
}

} // namespace Numbers
