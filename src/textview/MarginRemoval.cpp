#include "textview/MarginRemoval.h"

#include <QStringList>

#include <algorithm>

static constexpr QChar Space = u' ';
static constexpr QChar WideSpace = QChar(0x3000);

static int indentColumns(const QString& line) {
    int columns = 0;
    for (const QChar c : line) {
        if (c == Space)
            columns += 1;
        else if (c == WideSpace)
            columns += 2;
        else
            break;
    }
    return columns;
}

static QString cutColumns(const QString& line, int margin) {
    qsizetype i = 0;
    int rest = margin;
    QString lead;
    while (rest > 0 && i < line.size()) {
        const QChar c = line[i];
        if (c == Space) {
            rest -= 1;
        } else if (c == WideSpace) {
            if (rest == 1)
                lead = QString(Space);
            rest -= std::min(rest, 2);
        } else {
            break;
        }
        ++i;
    }
    return lead + line.mid(i);
}

QString RemoveMargins(const QString& text) {
    QString source = text;
    while (source.endsWith(QChar(0x1A)))
        source.chop(1);
    const QString crlf = QStringLiteral("\r\n");
    const QStringList lines = source.split(crlf);

    int margin = 10000;
    for (const QString& line : lines) {
        if (line.isEmpty())
            continue;
        margin = std::min(margin, indentColumns(line));
        if (margin == 0)
            break;
    }

    QString result;
    for (const QString& piece : lines) {
        QString line = cutColumns(piece, margin);
        while (line.endsWith(Space) || line.endsWith(WideSpace))
            line.chop(1);
        result += line + crlf;
    }
    while (true) {
        if (result.startsWith(crlf))
            result.remove(0, 2);
        else if (result.endsWith(crlf + crlf))
            result.chop(2);
        else
            break;
    }
    if (result.endsWith(crlf))
        result.chop(2);
    return result;
}
