#include "convert/AbortPollingGlyphs.h"

// One look per 16 glyph calls keeps the cost of a look negligible and the wait short.
void AbortPollingGlyphs::poll(size_t glyphs) const {
    const size_t before = m_calls;
    m_calls += glyphs;
    if (m_calls / 16 != before / 16 && m_services.abortRequested())
        throw RunAborted{};
}

double AbortPollingGlyphs::textHeight(const QString& text) const {
    poll();
    return m_glyphs.textHeight(text);
}

double AbortPollingGlyphs::textWidth(const QString& text) const {
    poll();
    return m_glyphs.textWidth(text);
}

double AbortPollingGlyphs::pointsToPixels(double points) const {
    return m_glyphs.pointsToPixels(points);
}

GlyphBitmap AbortPollingGlyphs::drawCharacter(const QString& character, int width,
                                              int height) const {
    poll();
    return m_glyphs.drawCharacter(character, width, height);
}

qint64 AbortPollingGlyphs::strokeCount(const QString& character, int width, int height) const {
    poll();
    return m_glyphs.strokeCount(character, width, height);
}

void AbortPollingGlyphs::strokeCounts(const std::vector<StrokeBox>& boxes,
                                      std::vector<qint64>& counts) const {
    poll(boxes.size());
    m_glyphs.strokeCounts(boxes, counts);
}

std::unique_ptr<GlyphSource> AbortPollingGlyphs::copyForThread() const {
    return m_glyphs.copyForThread();
}
