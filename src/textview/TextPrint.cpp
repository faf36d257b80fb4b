#include "textview/TextPrint.h"

#include <QFontMetricsF>

float TextPrintPitch(const QFont& font, double lineSpace) {
    // The height of "M" is the font's line height, whatever the letter.
    const QFontMetricsF metrics(font);
    return static_cast<float>(lineSpace * 96.0 / 72.0 + metrics.height());
}

void TextPrint(QPainter& painter, const QPointF& position, const QString& text, double lineSpace) {
    const float pitch = TextPrintPitch(painter.font(), lineSpace);
    const double ascent = QFontMetricsF(painter.font()).ascent();
    // Pieces between CR LF; the rest after the last CR LF counts only when it is not empty.
    qsizetype start = 0;
    qint32 index = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u"\r\n", start);
        const QString piece = text.mid(start, end < 0 ? -1 : end - start);
        if (!piece.isEmpty()) {
            const double y = position.y() + static_cast<double>(static_cast<float>(index) * pitch);
            painter.drawText(QPointF(position.x(), y + ascent), piece);
        }
        if (end < 0)
            break;
        start = end + 2;
        ++index;
    }
}
