#include "textview/TextPrint.h"

#include "textview/LineSplit.h"

#include <QFontMetricsF>

float TextPrintPitch(const QFont& font, double lineSpace) {
    // The height of "M" is the font's line height, whatever the letter.
    const QFontMetricsF metrics(font);
    return static_cast<float>(lineSpace * 96.0 / 72.0 + metrics.height());
}

void TextPrint(QPainter& painter, const QPointF& position, const QString& text, double lineSpace) {
    const float pitch = TextPrintPitch(painter.font(), lineSpace);
    const double ascent = QFontMetricsF(painter.font()).ascent();
    QStringList lines;
    const qint32 count = LineSplit(text, lines);
    for (qint32 k = 0; k < count; ++k) {
        const QString& piece = lines[k];
        if (piece.isEmpty())
            continue;
        const double y = position.y() + static_cast<double>(static_cast<float>(k) * pitch);
        painter.drawText(QPointF(position.x(), y + ascent), piece);
    }
}
