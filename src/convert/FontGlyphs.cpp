#include "convert/FontGlyphs.h"

#include <QImage>
#include <QPainter>

FontGlyphs::FontGlyphs(const QFont& font) : m_font(font), m_metrics(font) {}

double FontGlyphs::textHeight(const QString&) const {
    return m_metrics.height();
}

double FontGlyphs::textWidth(const QString& text) const {
    return m_metrics.horizontalAdvance(text);
}

GlyphBitmap FontGlyphs::drawCharacter(const QString& character, int width, int height) const {
    GlyphBitmap glyph;
    glyph.width = qMax(width, 0);
    glyph.height = qMax(height, 0);
    glyph.stroke.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
    if (glyph.width == 0 || glyph.height == 0)
        return glyph;
    QImage box(glyph.width, glyph.height, QImage::Format_RGB32);
    box.fill(Qt::white);
    {
        QPainter painter(&box);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(m_font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, m_metrics.ascent()), character);
    }
    for (int y = 0; y < glyph.height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(box.constScanLine(y));
        for (int x = 0; x < glyph.width; ++x)
            glyph.stroke[static_cast<size_t>(y) * glyph.width + x] = qBlue(line[x]) < 128 ? 1 : 0;
    }
    return glyph;
}
