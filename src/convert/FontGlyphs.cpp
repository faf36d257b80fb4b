#include "convert/FontGlyphs.h"

#include <QImage>
#include <QPainter>

// Qt keeps a font's engines for one thread at a time in the part that copies of a QFont share:
// a shared copy used on another thread makes each thread throw out the other's engines at every
// call. Changing and restoring a setting gives this source a part of its own.
static QFont ownCopy(const QFont& font) {
    QFont copy(font);
    copy.setKerning(!font.kerning());
    copy.setKerning(font.kerning());
    return copy;
}

FontGlyphs::FontGlyphs(const QFont& font)
    : m_font(ownCopy(font)), m_metrics(m_font), m_ascent(m_metrics.ascent()) {}

FontGlyphs::~FontGlyphs() = default;

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
    if (m_box.width() < glyph.width || m_box.height() < glyph.height) {
        m_painter.reset();
        m_box = QImage(qMax(glyph.width, m_box.width()), qMax(glyph.height, m_box.height()),
                       QImage::Format_RGB32);
        m_painter = std::make_unique<QPainter>(&m_box);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painter->setFont(m_font);
        m_painter->setPen(Qt::black);
    }
    const QRect corner(0, 0, glyph.width, glyph.height);
    m_painter->setClipRect(corner);
    m_painter->fillRect(corner, Qt::white);
    m_painter->drawText(QPointF(0, m_ascent), character);
    const QImage& box = m_box;
    for (int y = 0; y < glyph.height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(box.constScanLine(y));
        for (int x = 0; x < glyph.width; ++x)
            glyph.stroke[static_cast<size_t>(y) * glyph.width + x] = qBlue(line[x]) < 128 ? 1 : 0;
    }
    return glyph;
}

std::unique_ptr<GlyphSource> FontGlyphs::copyForThread() const {
    return std::make_unique<FontGlyphs>(m_font);
}
