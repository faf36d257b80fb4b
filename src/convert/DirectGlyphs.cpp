#include "convert/DirectGlyphs.h"

#include <QGlyphRun>
#include <QPainter>

#include <cmath>

namespace {

// Font settings the layout applies on top of the face's own glyphs and advances.
bool layoutAddsNothing(const QFont& font) {
    const bool noLetterSpacing = font.letterSpacingType() == QFont::AbsoluteSpacing
                                     ? font.letterSpacing() == 0
                                     : font.letterSpacing() == 0 || font.letterSpacing() == 100;
    return noLetterSpacing && font.wordSpacing() == 0 &&
           font.capitalization() == QFont::MixedCase &&
           (font.stretch() == QFont::AnyStretch || font.stretch() == QFont::Unstretched) &&
           !font.overline();
}

// A face with any of these tables may have the shaper substitute or move even a lone glyph.
bool faceHasNoShapingTables(const QRawFont& face) {
    for (const char* table : {"GSUB", "GPOS", "morx", "mort", "kerx", "trak"})
        if (!face.fontTable(table).isEmpty())
            return false;
    return true;
}

// Characters the layout treats as plain glyphs in every script shaper: no marks, controls,
// format characters or special spaces, and only scripts whose shapers do nothing to a lone
// character of a face without shaping tables.
bool plainCharacter(QChar c) {
    if (c == QChar(0x0020) || c == QChar(0x3000))
        return true;
    if (c.isSurrogate() || c == QChar::ObjectReplacementCharacter)
        return false;
    switch (c.category()) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Punctuation_Connector:
    case QChar::Punctuation_Dash:
    case QChar::Punctuation_Open:
    case QChar::Punctuation_Close:
    case QChar::Punctuation_InitialQuote:
    case QChar::Punctuation_FinalQuote:
    case QChar::Punctuation_Other:
    case QChar::Symbol_Math:
    case QChar::Symbol_Currency:
    case QChar::Symbol_Modifier:
    case QChar::Symbol_Other:
        break;
    default:
        return false;
    }
    switch (c.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
        return true;
    default:
        return false;
    }
}

} // namespace

// With font merging on, Qt matches the first face for the common script whatever the text's
// script, and a character goes to that face whenever the face has a glyph for it; so the raw
// font of the common script is the face the layout would use for every character it holds.
DirectGlyphs::DirectGlyphs(const QFont& font)
    : m_face(QRawFont::fromFont(font)), m_underline(font.underline()),
      m_strikeOut(font.strikeOut()) {
    m_usable = m_face.isValid() && !(font.styleStrategy() & QFont::NoFontMerging) &&
               layoutAddsNothing(font) && faceHasNoShapingTables(m_face);
}

quint32 DirectGlyphs::glyphFor(const QString& character) const {
    if (!m_usable || character.size() != 1 || !plainCharacter(character.front()))
        return 0;
    quint32 glyph = 0;
    int count = 1;
    if (!m_face.glyphIndexesForChars(character.constData(), 1, &glyph, &count) || count != 1)
        return 0;
    return glyph;
}

std::optional<double> DirectGlyphs::advance(const QString& character) const {
    const quint32 glyph = glyphFor(character);
    if (glyph == 0)
        return std::nullopt;
    QPointF advance;
    if (!m_face.advancesForGlyphIndexes(&glyph, &advance, 1))
        return std::nullopt;
    // The layout rounds the advances of faces without sub-pixel positions; a whole number is
    // the same either way.
    if (advance.x() != std::floor(advance.x()))
        return std::nullopt;
    return advance.x();
}

bool DirectGlyphs::draw(QPainter& painter, const QPointF& baseline,
                        const QString& character) const {
    const quint32 glyph = glyphFor(character);
    if (glyph == 0)
        return false;
    static const QPointF origin(0, 0);
    QGlyphRun run;
    run.setRawFont(m_face);
    run.setRawData(&glyph, &origin, 1);
    run.setUnderline(m_underline);
    run.setStrikeOut(m_strikeOut);
    painter.drawGlyphRun(baseline, run);
    return true;
}

std::pair<int, int> DirectGlyphs::inkSpan(quint32 glyph) const {
    const QRectF bounds = m_face.boundingRect(glyph);
    return {static_cast<int>(std::floor(bounds.left())),
            static_cast<int>(std::ceil(bounds.right()))};
}

void DirectGlyphs::drawTogether(QPainter& painter, const QPointF& baseline,
                                const std::vector<quint32>& glyphs,
                                const std::vector<QPointF>& positions) const {
    QGlyphRun run;
    run.setRawFont(m_face);
    run.setRawData(glyphs.data(), positions.data(), static_cast<int>(glyphs.size()));
    painter.drawGlyphRun(baseline, run);
}
