#include "convert/FontGlyphs.h"

#include "platform/VectorRegisters.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <utility>

// The most pixels a row of glyphs drawn together may take (4 MB of box).
constexpr qint64 largestRowPixels = qint64{1} << 20;

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

void FontGlyphs::ensureBox(int width, int height) const {
    if (m_box.width() < width || m_box.height() < height) {
        m_painter.reset();
        m_box =
            QImage(qMax(width, m_box.width()), qMax(height, m_box.height()), QImage::Format_RGB32);
        m_painter = std::make_unique<QPainter>(&m_box);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painter->setFont(m_font);
        m_painter->setPen(Qt::black);
    }
}

void FontGlyphs::drawIntoBox(const QString& character, int width, int height) const {
    ensureBox(width, height);
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

qint64 FontGlyphs::countStrokes(int left, int width, int height) const {
    qint64 count = 0;
    for (int y = 0; y < height; ++y) {
        const QRgb* line =
            reinterpret_cast<const QRgb*>(std::as_const(m_box).constScanLine(y)) + left;
        int inLine = 0;
        for (int x = 0; x < width; ++x)
            inLine += strokeAt(line, x) ? 1 : 0;
        count += inLine;
    }
    return count;
}

qint64 FontGlyphs::strokeCount(const QString& character, int width, int height) const {
    if (width <= 0 || height <= 0)
        return 0;
    drawIntoBox(character, width, height);
    return countStrokes(0, width, height);
}

void FontGlyphs::strokeCounts(const std::vector<StrokeBox>& boxes,
                              std::vector<qint64>& counts) const {
    counts.assign(boxes.size(), 0);
    m_together.clear();
    m_glyphs.clear();
    int widest = 0;
    int tallest = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const StrokeBox& box = boxes[i];
        if (box.width <= 0 || box.height <= 0)
            continue;
        const quint32 glyph = direct().drawsTogether() ? direct().glyphFor(*box.character) : 0;
        if (glyph == 0) {
            counts[i] = strokeCount(*box.character, box.width, box.height);
            continue;
        }
        m_together.push_back(i);
        m_glyphs.push_back(glyph);
        widest = std::max(widest, box.width);
        tallest = std::max(tallest, box.height);
    }

    // Each glyph gets a cell of the row: its box, as wide as the widest, with room either side
    // for ink that strays beyond it. A glyph whose ink, by the face's bounds with a safety
    // margin, could leave its cell is drawn alone instead.
    // Glyphs of a huge font would need a huge row: they are drawn one by one.
    const int room = std::max(8, tallest / 2);
    const int margin = 2;
    const qint64 pitch = widest + qint64{2} * room;
    const bool rowTooLarge =
        pitch * tallest * static_cast<qint64>(m_together.size()) > largestRowPixels;
    size_t kept = 0;
    for (size_t j = 0; j < m_together.size(); ++j) {
        const auto [left, right] = direct().inkSpan(m_glyphs[j]);
        const StrokeBox& box = boxes[m_together[j]];
        if (rowTooLarge || left < -room + margin || right > widest + room - margin) {
            counts[m_together[j]] = strokeCount(*box.character, box.width, box.height);
            continue;
        }
        m_together[kept] = m_together[j];
        m_glyphs[kept] = m_glyphs[j];
        ++kept;
    }
    m_together.resize(kept);
    m_glyphs.resize(kept);
    if (kept == 0)
        return;

    const int cell = static_cast<int>(pitch);
    const int rowWidth = cell * static_cast<int>(kept);
    ensureBox(rowWidth, tallest);
    m_painter->fillRect(QRect(0, 0, rowWidth, tallest), Qt::white);
    m_positions.clear();
    for (size_t j = 0; j < kept; ++j)
        m_positions.emplace_back(room + cell * static_cast<int>(j), 0);
    direct().drawTogether(*m_painter, QPointF(0, m_ascent), m_glyphs, m_positions);
    VectorRegisters::clearUpperHalves();
    for (size_t j = 0; j < kept; ++j) {
        const StrokeBox& box = boxes[m_together[j]];
        counts[m_together[j]] =
            countStrokes(room + cell * static_cast<int>(j), box.width, box.height);
    }
}

std::unique_ptr<GlyphSource> FontGlyphs::copyForThread() const {
    return std::make_unique<FontGlyphs>(m_font);
}
