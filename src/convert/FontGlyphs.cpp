#include "convert/FontGlyphs.h"

#include "platform/VectorRegisters.h"

#include <QImage>
#include <QPainter>

#include <utility>

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
    : m_font(ownCopy(font)), m_metrics(m_font), m_ascent(m_metrics.ascent()),
      m_height(m_metrics.height()) {}

FontGlyphs::~FontGlyphs() = default;

// The same for every text; kept from the start, since asking the metrics locks a lock that all
// threads share.
double FontGlyphs::textHeight(const QString&) const {
    return m_height;
}

double FontGlyphs::textWidth(const QString& text) const {
    if (const std::optional<double> advance = direct().advance(text))
        return *advance;
    return m_metrics.horizontalAdvance(text);
}

const DirectGlyphs& FontGlyphs::direct() const {
    if (!m_direct)
        m_direct.emplace(m_font);
    return *m_direct;
}

void FontGlyphs::drawIntoBox(const QString& character, int width, int height) const {
    if (m_box.width() < width || m_box.height() < height) {
        m_painter.reset();
        m_box =
            QImage(qMax(width, m_box.width()), qMax(height, m_box.height()), QImage::Format_RGB32);
        m_painter = std::make_unique<QPainter>(&m_box);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painter->setFont(m_font);
        m_painter->setPen(Qt::black);
    }
    // Only the corner is read back, and every pixel of it is whitened first, so ink that falls
    // outside it (this glyph's or an earlier one's) never counts: no clip is needed.
    m_painter->fillRect(QRect(0, 0, width, height), Qt::white);
    const QPointF baseline(0, m_ascent);
    if (!direct().draw(*m_painter, baseline, character))
        m_painter->drawText(baseline, character);
    // Qt's fills return with the AVX registers' upper halves in use; the counting that follows
    // is SSE code.
    VectorRegisters::clearUpperHalves();
}

GlyphBitmap FontGlyphs::drawCharacter(const QString& character, int width, int height) const {
    GlyphBitmap glyph;
    glyph.width = qMax(width, 0);
    glyph.height = qMax(height, 0);
    glyph.stroke.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
    if (glyph.width == 0 || glyph.height == 0)
        return glyph;
    drawIntoBox(character, glyph.width, glyph.height);
    for (int y = 0; y < glyph.height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(std::as_const(m_box).constScanLine(y));
        for (int x = 0; x < glyph.width; ++x)
            glyph.stroke[static_cast<size_t>(y) * glyph.width + x] = strokeAt(line, x) ? 1 : 0;
    }
    return glyph;
}

qint64 FontGlyphs::strokeCount(const QString& character, int width, int height) const {
    if (width <= 0 || height <= 0)
        return 0;
    drawIntoBox(character, width, height);
    qint64 count = 0;
    for (int y = 0; y < height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(std::as_const(m_box).constScanLine(y));
        int inLine = 0;
        for (int x = 0; x < width; ++x)
            inLine += strokeAt(line, x) ? 1 : 0;
        count += inLine;
    }
    return count;
}

std::unique_ptr<GlyphSource> FontGlyphs::copyForThread() const {
    return std::make_unique<FontGlyphs>(m_font);
}
