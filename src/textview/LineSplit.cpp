#include "textview/LineSplit.h"

qint32 LineSplit(const QString& text, QStringList& lines) {
    lines.clear();
    const QString crlf = QStringLiteral("\r\n");
    qsizetype pos = 0;
    while (true) {
        const qsizetype c = text.indexOf(crlf, pos);
        if (c < 0) {
            if (pos < text.size())
                lines.append(text.mid(pos));
            break;
        }
        lines.append(text.mid(pos, c - pos));
        pos = c + 2;
    }
    return static_cast<qint32>(qMin<qsizetype>(lines.size(), std::numeric_limits<qint32>::max()));
}
