#include "convert/TblExpand.h"

#include "platform/Cp932.h"

#include <optional>
#include <utility>

static QStringList codePoints(const QString& text) {
    QStringList result;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype len =
            (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                               : 1;
        result.append(text.mid(i, len));
        i += len;
    }
    return result;
}

static bool isSingleByteRangeCode(int c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xF7);
}

// Trail bytes of a double-byte code: 0x40-0x7E and 0x80-0xFC.
static bool isTrailByte(int low) {
    return (low >= 0x40 && low <= 0x7E) || (low >= 0x80 && low <= 0xFC);
}

static void appendRange(const QString& prev, const QString& next, QStringList& result) {
    const std::optional<int> prevCode = Cp932::codeOf(prev);
    const std::optional<int> nextCode = Cp932::codeOf(next);
    if (!prevCode || !nextCode)
        return;
    const bool prevDouble = *prevCode > 0xFF;
    const bool nextDouble = *nextCode > 0xFF;
    if (prevDouble != nextDouble)
        return;
    int a = *prevCode;
    int b = *nextCode;
    if (a > b)
        std::swap(a, b);
    for (int c = a + 1; c < b; ++c) {
        const bool wanted = prevDouble ? isTrailByte(c & 0xFF) : isSingleByteRangeCode(c);
        if (!wanted)
            continue;
        if (const std::optional<QString> ch = Cp932::characterOfCode(c))
            result.append(*ch);
    }
}

QStringList TblExpand(const QString& palette) {
    const QStringList src = codePoints(palette);
    const QString hyphen = QStringLiteral("-");
    QStringList result;
    QString prev = QStringLiteral(" ");
    qsizetype p = 0;
    while (p < src.size()) {
        const bool isRange = p + 1 < src.size() && src[p] == hyphen && src[p + 1] == hyphen;
        if (!isRange) {
            result.append(src[p]);
            prev = src[p];
            ++p;
            continue;
        }
        const QString next = p + 2 < src.size() ? src[p + 2] : QString();
        if (!next.isEmpty()) {
            appendRange(prev, next, result);
            result.append(next);
        }
        prev = next;
        p += 3;
    }
    return result;
}
